// Things planted in a shared data folder: links, folders and pipes under the names of
// the program's files. None is written through, read through or waited on; the
// teacher is told why; no file inside or outside the folder changes.
#include "app/intro0.h"
#include "pages/guide.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/label.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::test;

namespace {

// sha256 of every ordinary file under `root`, by relative name; links and pipes are
// listed by kind (and a link by its target), never opened.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = path.mid(root.size());
        struct stat info {
        };
        if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
            continue;
        if (S_ISLNK(info.st_mode)) {
            files[name] = "link to " + QFile::encodeName(QFile::symLinkTarget(path));
        } else if (S_ISFIFO(info.st_mode)) {
            files[name] = "fifo";
        } else if (S_ISREG(info.st_mode)) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                files[name] = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        }
    }
    return files;
}

} // namespace

class TestSharedFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plantedNames_data()
    {
        // What is planted at multiple/Sheet.txt (or at the list or a page), and what
        // the teacher meets: a save refused, a run refused, or a page left blank.
        QTest::addColumn<QString>("planted");
        QTest::addColumn<QString>("what");
        QTest::newRow("dangling link out of the folder")
            << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:OUTSIDE/new.txt");
        QTest::newRow("link to a file outside")
            << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:OUTSIDE/victim.txt");
        QTest::newRow("link to a picture")
            << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:../Images/globe.jpg");
        QTest::newRow("link to the list") << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:track.txt");
        QTest::newRow("link to a folder") << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:../Images");
        QTest::newRow("dangling link inside")
            << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("link:gone.txt");
        QTest::newRow("folder named like a worksheet")
            << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("folder");
        QTest::newRow("FIFO as a worksheet") << QStringLiteral("multiple/Sheet.txt") << QStringLiteral("fifo");
        QTest::newRow("FIFO as the list") << QStringLiteral("multiple/track.txt") << QStringLiteral("fifo");
        QTest::newRow("FIFO as a page") << QStringLiteral("wmf/guide1.wmf") << QStringLiteral("fifo");
    }

    void plantedNames()
    {
        QFETCH(QString, planted);
        QFETCH(QString, what);
        TestApp app;
        QTemporaryDir outside;
        QFile victim(outside.filePath(QStringLiteral("victim.txt")));
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("a teacher's own file\n") > 0);
        victim.close();
        const bool plantedWorksheet = planted == QLatin1String("multiple/Sheet.txt");
        if (plantedWorksheet)
            app.writeDataFile(QStringLiteral("multiple/track.txt"), " 1 \r\nSheet\r\n");
        const QByteArray path = QFile::encodeName(app.dataPath(planted));
        ::unlink(path.constData());
        if (what.startsWith(QLatin1String("link:"))) {
            QString target = what.mid(5);
            target.replace(QLatin1String("OUTSIDE"), outside.path());
            QVERIFY(::symlink(QFile::encodeName(target).constData(), path.constData()) == 0);
        } else if (what == QLatin1String("folder")) {
            QVERIFY(::mkdir(path.constData(), 0755) == 0);
        } else {
            QVERIFY(::mkfifo(path.constData(), 0644) == 0);
        }
        const auto insideBefore = snapshot(app.root);
        const auto outsideBefore = snapshot(outside.path());

        if (planted.startsWith(QLatin1String("wmf/"))) {
            // The teachers' guide opens; the page is left blank rather than waited on.
            intro0 &menu = app.forms.ref<intro0>();
            menu.Label2[20].onClick();
            QVERIFY(app.forms.loaded<guide>());
        } else {
            // The menu and the catalogue read the list silently...
            intro0 &menu = app.forms.ref<intro0>();
            menu.Timer1->fire();
            worksheets &catalogue = app.forms.ref<worksheets>();
            if (plantedWorksheet) {
                // ...running the planted worksheet is refused with the reason...
                catalogue.Label2[1].onClick();
                QCOMPARE(app.messages.shown.size(), 1);
                QVERIFY(app.messages.shown[0].text.startsWith(QStringLiteral("This worksheet seems to be corrupted.")));
                app.messages.shown.clear();
            }
            // ...and saving over it is refused with the reason before anything is written.
            wizard &w = app.forms.ref<wizard>();
            fillWizard(w, QStringLiteral("Sheet"));
            w.genwork();
            QCOMPARE(app.messages.shown.size(), 1);
            const QString message = app.messages.shown[0].text;
            QVERIFY2(message.startsWith(QStringLiteral("There was a problem saving your worksheet\n\n")),
                     qPrintable(message));
        }
        QVERIFY(!app.platform.file1().isOpen());
        auto insideAfter = snapshot(app.root);
        // With the list planted, the worksheet itself is saved before the list fails.
        if (!plantedWorksheet)
            insideAfter.remove(QStringLiteral("/multiple/Sheet.txt"));
        QCOMPARE(insideAfter, insideBefore);
        QCOMPARE(snapshot(outside.path()), outsideBefore);
    }
};

QTEST_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
