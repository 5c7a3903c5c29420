#include "testapp.h"

#include "app/screens.h"
#include "toolkit/checkbox.h"
#include "toolkit/form.h"
#include "toolkit/textbox.h"
#include "worksheets/wizard.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace velmora::test {

namespace {
QString makeDataCopy(const QTemporaryDir &dir, bool withSuppliedData)
{
    QString root = dir.path();
    for (const char *folder : {"Images", "logo", "wmf", "wmf2", "multiple"})
        QDir(root).mkpath(QString::fromLatin1(folder));
    if (!withSuppliedData)
        return root;
    const QString source = QStringLiteral(VELMORA_SOURCE_DATA);
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = root + from.mid(source.size());
        QDir().mkpath(QFileInfo(to).path());
        QFile::copy(from, to);
    }
    return root;
}
} // namespace

TestApp::TestApp(bool withSuppliedData, const QString &existingData)
    : root(existingData.isEmpty() ? makeDataCopy(dir, withSuppliedData) : existingData)
    , platform(root, messages, shell, screen, printer)
    , m(platform, forms)
{
    defineScreens(forms, m);
    forms.onEnd = [this] { ended = true; };
}

TestApp::~TestApp()
{
    settle();
}

QString TestApp::dataPath(const QString &relative) const
{
    return root + QLatin1Char('/') + relative;
}

void TestApp::writeDataFile(const QString &relative, const QByteArray &bytes) const
{
    QFile file(dataPath(relative));
    QDir().mkpath(QFileInfo(file).path());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test data");
}

void TestApp::removeDataFile(const QString &relative) const
{
    QFile::remove(dataPath(relative));
}

void TestApp::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QPoint at(double xTwips, double yTwips)
{
    return QPoint(qRound(xTwips / 15.0), qRound(yTwips / 15.0));
}

void moveTo(Form &form, double xTwips, double yTwips)
{
    QTest::mouseMove(form.windowHandle(), at(xTwips, yTwips));
}

void clickAt(Form &form, double xTwips, double yTwips)
{
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, at(xTwips, yTwips));
}

void fillWizard(wizard &w, const QString &title)
{
    w.Text1->setText(title);
    for (int j = 0; j < 10; ++j) {
        w.Text2[j].setText(QStringLiteral("Question %1 of %2").arg(j + 1).arg(title));
        for (int k = 0; k < 4; ++k) {
            w.Text3[4 * j + k].setText(QStringLiteral("answer %1%2").arg(j + 1).arg(QChar(u'A' + k)));
            w.Check1[4 * j + k].setValue(k == j % 4);
        }
    }
}

bool showAndExpose(Form &form)
{
    form.showForm();
    return QTest::qWaitForWindowExposed(&form);
}

} // namespace velmora::test
