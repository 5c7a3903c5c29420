// The page pictures supplied with the program: every one loads through the program's
// own metafile reader, fits where it is shown or printed, carries its text, and is a
// standard metafile that an independent reader (libwmf's wmf2svg) takes too.
#include "platform/metafile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

const QString kData = QStringLiteral(VELMORA_SOURCE_DATA);
const QString kTexts = QStringLiteral(VELMORA_SOURCE_DIR "/tools/pages/text");

// The page's title, from its source text.
QString titleOf(const QString &fileName)
{
    QFile source(kTexts + QLatin1Char('/') + QString(fileName).replace(QStringLiteral(".wmf"), QStringLiteral(".txt")));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    for (const QString &line : QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("# ")))
            return line.mid(2).trimmed();
    }
    return {};
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSuppliedPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        const QStringList names = QDir(kData + QStringLiteral("/wmf")).entryList({QStringLiteral("*.wmf")});
        QCOMPARE(names.size(), 10);
        for (const QString &folder : {QStringLiteral("wmf"), QStringLiteral("wmf2")}) {
            for (const QString &name : names)
                QTest::newRow(qPrintable(folder + QLatin1Char('/') + name)) << folder << name;
        }
    }

    void pages()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        const MetafileResult loaded = loadMetafile(bytesOf(kData + QLatin1Char('/') + folder + QLatin1Char('/') + name),
                                                   folder + QLatin1Char('\\') + name);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        const QSizeF size = loaded.picture.sizeTwips();
        if (folder == QLatin1String("wmf")) {
            // Above the viewer's buttons, left of "Print"; the acknowledgments leave the
            // logo's corner free.
            QVERIFY(size.height() <= 7800);
            QVERIFY(size.width() <= (name == QLatin1String("acknowledgments.wmf") ? 8400 : 10440));
        } else {
            // Drawn at (1000, 1000) on the printable area of A4 and of Letter paper.
            QVERIFY(size.width() + 1000 <= 11186 - 360);
            QVERIFY(size.height() + 1000 <= 15120);
        }
        // Drawn on screen, it carries dark text on its page.
        QImage image(qCeil(size.width() / 15), qCeil(size.height() / 15), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        loaded.picture.draw(painter, QPointF(0, 0), 15);
        painter.end();
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                ink += qGray(image.pixel(x, y)) < 90 ? 1 : 0;
        }
        QVERIFY2(ink > 300, qPrintable(QStringLiteral("%1 dark pixels").arg(ink)));
        // A screen reader reads the page's heading first.
        const QString firstLine = loaded.picture.text().section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(firstLine.contains(titleOf(name)), qPrintable(firstLine));
    }

    void anIndependentReaderTakesThem()
    {
        const QString wmf2svg = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
        if (wmf2svg.isEmpty())
            QSKIP("wmf2svg (package libwmf-bin) is not installed");
        QTemporaryDir dir;
        for (const QString &folder : {QStringLiteral("wmf"), QStringLiteral("wmf2")}) {
            for (const QString &name : QDir(kData + QLatin1Char('/') + folder).entryList({QStringLiteral("*.wmf")})) {
                const QString svg = dir.filePath(QStringLiteral("page.svg"));
                QProcess process;
                process.start(wmf2svg,
                              {QStringLiteral("-o"), svg, kData + QLatin1Char('/') + folder + QLatin1Char('/') + name});
                QVERIFY(process.waitForFinished(30000));
                QVERIFY2(process.exitCode() == 0, qPrintable(folder + QLatin1Char('/') + name));
                const QString title = titleOf(name);
                QVERIFY(!title.isEmpty());
                QVERIFY2(QString::fromLatin1(bytesOf(svg)).contains(title),
                         qPrintable(name + QStringLiteral(": ") + title));
            }
        }
    }
};

QTEST_MAIN(TestSuppliedPages)
#include "tst_suppliedpages.moc"
