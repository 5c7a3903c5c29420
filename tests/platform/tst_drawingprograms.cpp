// Pages exported by real drawing programs (see tests/data/metafiles/README.md), checked
// by pixels against their source drawings as an independent SVG renderer drew them
// (the PNG beside each drawing, 400 by 300 pixels at 96 dpi), and by the text a PDF of
// them carries.
#include "platform/fonts.h"
#include "support/pictureimages.h"

#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr double kTwipsPerPixel = 15; // the references are 96 dpi

// Both exports of a drawing: LibreOffice's and Inkscape's.
QStringList exportsOf(const char *drawing)
{
    return {QStringLiteral("%1.libreoffice.wmf").arg(QLatin1String(drawing)),
            QStringLiteral("%1.inkscape.wmf").arg(QLatin1String(drawing))};
}

// LibreOffice's export leaves out a margin of 3.64 mm all round its page: the page's
// white background, which the file still draws, starts 364 of its 0.01 mm units before
// the picture's frame on every side.
QPointF originOf(const QString &file)
{
    const double margin = file.contains(QLatin1String("libreoffice")) ? 364 / 2540.0 * 96 : 0;
    return {margin, margin};
}

Picture loadExport(const QString &file)
{
    return loadWmf(metafileFixture(file), file);
}

// The export where the drawing has it, on a white page of the drawing's size.
QImage render(const QString &file)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    loadExport(file).draw(painter, originOf(file), kTwipsPerPixel);
    return image;
}

// The drawing an export was made from, as the SVG renderer drew it.
QImage reference(const QString &file)
{
    const QString png =
        QStringLiteral(VELMORA_SOURCE_TESTDATA "/metafiles/%1.png").arg(file.section(QLatin1Char('.'), 0, 0));
    return QImage(png).convertToFormat(QImage::Format_RGB32);
}

// A PDF of the export, placed on the page as the drawing has it.
QString writePdf(const QTemporaryDir &dir, const QString &file)
{
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPdfWriter writer(pdf);
    writer.setResolution(1440);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    loadExport(file).draw(painter, originOf(file) * kTwipsPerPixel, 1);
    return pdf;
}

} // namespace

class TestDrawingPrograms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void textInk_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QRect>("area"); // where the text lies, pixels
        QTest::addColumn<int>("tolerance"); // pixels, twice that at the right end of a line
        for (const QString &file : exportsOf("saved-state")) {
            QTest::addRow("%s yellow on blue", qPrintable(file))
                << file << QColor(Qt::yellow) << QRect(20, 20, 360, 60) << 2;
            QTest::addRow("%s white on blue", qPrintable(file))
                << file << QColor(Qt::white) << QRect(20, 85, 360, 55) << 2;
            QTest::addRow("%s red on white", qPrintable(file))
                << file << QColor(0xc0, 0, 0) << QRect(0, 150, 400, 80) << 2;
        }
        for (const QString &file : exportsOf("symbol"))
            QTest::addRow("%s Greek", qPrintable(file)) << file << QColor(0, 0, 0x80) << QRect(0, 40, 400, 100) << 3;
    }

    // Text sits where the drawing has it (saved-state's inside saved and restored state;
    // symbol's Greek in a face that has it), and over the blue panel it leaves the panel
    // blue around its letters: no box behind it.
    void textInk()
    {
        QFETCH(QString, file);
        QFETCH(QColor, color);
        QFETCH(QRect, area);
        QFETCH(int, tolerance);
        const QImage expected = reference(file);
        const QImage got = render(file);
        const QRectF want = inkOf(expected, color, 1, 60, area);
        const QRectF have = inkOf(got, color, 1, 60, area);
        QVERIFY(!want.isNull());
        QVERIFY2(edgesNear(have, want, tolerance, 2 * tolerance),
                 qPrintable(QStringLiteral("ink %1, the drawing's %2").arg(corners(have), corners(want))));
        const QColor blue(0x20, 0x50, 0xb0);
        const QRect inside = area.adjusted(2, 2, -2, -2);
        int boxed = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                boxed += nearColour(expected.pixelColor(x, y), blue, 10) && !nearColour(got.pixelColor(x, y), blue, 60);
        }
        // Letters a pixel apart from the drawing's differ at their edges; a box behind
        // the text is larger than the letters' own box.
        QVERIFY2(boxed < want.width() * want.height() / 2,
                 qPrintable(QStringLiteral("%1 of %2").arg(boxed).arg(want.width() * want.height())));
    }

    void penWidths_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("y"); // the line's centre in the drawing
        for (const QString &file : exportsOf("pens")) {
            for (int y : {50, 110, 170, 240})
                QTest::addRow("%s line at %d", qPrintable(file), y) << file << y;
        }
    }

    // Each pen is as wide as the drawing's stroke, within a pixel.
    void penWidths()
    {
        QFETCH(QString, file);
        QFETCH(int, y);
        const QImage expected = reference(file);
        const QImage got = render(file);
        for (int x : {100, 200, 300}) {
            const double want = darkRows(expected, x, y - 20, y + 20);
            const double have = darkRows(got, x, y - 20, y + 20);
            QVERIFY2(std::abs(have - want) <= 1.0,
                     qPrintable(QStringLiteral("at x %1: %2 px wide, the drawing's %3 px").arg(x).arg(have).arg(want)));
        }
    }

    void bitmapPixels_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("pdf");
        for (const QString &file : exportsOf("chequer")) {
            QTest::addRow("%s on screen", qPrintable(file)) << file << false;
            QTest::addRow("%s in a PDF", qPrintable(file)) << file << true;
        }
    }

    // The 8 by 8 chequer, 20 pixels a square, keeps its two colours exactly and its
    // sharp edges: every pixel but those next to a square's edge is the square's colour.
    void bitmapPixels()
    {
        QFETCH(QString, file);
        QFETCH(bool, pdf);
        QImage got = render(file);
        if (pdf) {
            if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
                QSKIP("pdftoppm (poppler-utils) is not installed");
            QTemporaryDir dir;
            const QString png = dir.filePath(QStringLiteral("page"));
            QProcess::execute(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                               QStringLiteral("-singlefile"), writePdf(dir, file), png});
            got = QImage(png + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
            QVERIFY(!got.isNull());
        }
        const QImage expected = reference(file);
        for (int y = 40; y < 200; ++y) {
            for (int x = 40; x < 200; ++x) {
                const int dx = (x - 40) % 20, dy = (y - 40) % 20;
                const QColor want = ((x - 40) / 20 + (y - 40) / 20) % 2 ? QColor(30, 30, 200) : QColor(200, 30, 30);
                if (dx == 10 && dy == 10)
                    QCOMPARE(expected.pixelColor(x, y), want);
                if (dx >= 2 && dx <= 17 && dy >= 2 && dy <= 17)
                    QVERIFY2(got.pixelColor(x, y) == want,
                             qPrintable(
                                 QString::asprintf("at %d, %d: %s", x, y, qPrintable(got.pixelColor(x, y).name()))));
            }
        }
    }

    void exports_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("words");
        const QStringList savedState{QStringLiteral("Yellow on blue"), QStringLiteral("White on blue"),
                                     QStringLiteral("Red on white")};
        // The Greek is Symbol text in Inkscape's export and Greek-alphabet text in
        // LibreOffice's.
        const QStringList symbol{QStringLiteral("Angles"), QStringLiteral("αβγδλπ")};
        for (const auto &[drawing, words] : {std::pair{"saved-state", savedState},
                                             {"pens", QStringList()},
                                             {"chequer", QStringList()},
                                             {"symbol", symbol}}) {
            for (const QString &file : exportsOf(drawing))
                QTest::newRow(qPrintable(file)) << file << words;
        }
    }

    // Every export is the drawing's 400 by 300 pixels (less LibreOffice's margins), within
    // a pixel, and carries its words as written, for a screen reader and in a PDF's text.
    void exports()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, words);
        const Picture picture = loadExport(file);
        const QSizeF size = picture.sizeTwips() / kTwipsPerPixel;
        const double margins = 2 * originOf(file).x();
        QCOMPARE_LT(std::abs(size.width() + margins - 400), 1.0);
        QCOMPARE_LT(std::abs(size.height() + margins - 300), 1.0);
        for (const QString &w : words)
            QVERIFY2(picture.text().contains(w), qPrintable(picture.text()));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (words.isEmpty())
            return;
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QProcess process;
        process.start(pdftotext, {writePdf(dir, file), QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString pdfText = QString::fromUtf8(process.readAllStandardOutput());
        for (const QString &w : words)
            QVERIFY2(pdfText.contains(w), qPrintable(pdfText));
    }
};

QTEST_MAIN(TestDrawingPrograms)
#include "tst_drawingprograms.moc"
