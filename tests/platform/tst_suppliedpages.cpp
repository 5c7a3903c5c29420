// The page pictures supplied with the program: every one loads through the program's
// own metafile reader, fits where it is shown or printed, carries its text, and is a
// standard metafile that an independent reader (libwmf's wmf2svg) takes too.
#include "support/pictureimages.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page's title: the heading of its source text.
QString titleOf(const QString &page)
{
    const QString source = page.section(QLatin1Char('\\'), 1).replace(QStringLiteral(".wmf"), QStringLiteral(".txt"));
    const QString text = QString::fromUtf8(bytesOf(QStringLiteral(VELMORA_SOURCE_DIR "/tools/pages/text/") + source));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("# ")))
            return line.mid(2).trimmed();
    }
    return {};
}

} // namespace

class TestSuppliedPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pages_data()
    {
        QTest::addColumn<QString>("page"); // as a screen names it
        const QStringList names = QDir(QStringLiteral(VELMORA_SOURCE_DATA "/wmf")).entryList({QStringLiteral("*.wmf")});
        QCOMPARE(names.size(), 10);
        for (const char *folder : {"wmf", "wmf2"}) {
            for (const QString &name : names)
                QTest::addRow("%s/%s", folder, qPrintable(name)) << QLatin1String(folder) + QLatin1Char('\\') + name;
        }
    }

    void pages()
    {
        QFETCH(QString, page);
        const QString path =
            QStringLiteral(VELMORA_SOURCE_DATA "/") + QString(page).replace(QLatin1Char('\\'), QLatin1Char('/'));
        const MetafileResult loaded = loadMetafile(bytesOf(path), page);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        const QSizeF size = loaded.picture.sizeTwips();
        if (page.startsWith(QLatin1String("wmf\\"))) {
            // Above the viewer's buttons, left of "Print"; the acknowledgments leave the
            // logo's corner free.
            QVERIFY(size.height() <= 7800);
            QVERIFY(size.width() <= (page.endsWith(QLatin1String("acknowledgments.wmf")) ? 8400 : 10440));
        } else {
            // Drawn at (1000, 1000) on the printable area of A4 and of Letter paper.
            QVERIFY(size.width() + 1000 <= 11186 - 360);
            QVERIFY(size.height() + 1000 <= 15120);
        }
        // Drawn on screen, it carries dark text on its page.
        const QImage image = renderOnWhite(loaded.picture);
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                ink += qGray(image.pixel(x, y)) < 90 ? 1 : 0;
        }
        QVERIFY2(ink > 300, qPrintable(QStringLiteral("%1 dark pixels").arg(ink)));
        // A screen reader reads the page's heading first.
        const QString title = titleOf(page);
        QVERIFY(!title.isEmpty());
        const QString firstLine = loaded.picture.text().section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(firstLine.contains(title), qPrintable(firstLine));

        // An independent reader takes it too, with its words.
        const QString wmf2svg = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
        if (wmf2svg.isEmpty())
            QSKIP("wmf2svg (package libwmf-bin) is not installed");
        QTemporaryDir dir;
        const QString svg = dir.filePath(QStringLiteral("page.svg"));
        QProcess process;
        process.start(wmf2svg, {QStringLiteral("-o"), svg, path});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY2(QString::fromLatin1(bytesOf(svg)).contains(title), qPrintable(title));
    }
};

QTEST_MAIN(TestSuppliedPages)
#include "tst_suppliedpages.moc"
