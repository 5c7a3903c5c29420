// Pages exported by real drawing programs (see tests/data/metafiles/README.md), checked
// by pixels against their source drawings as an independent SVG renderer drew them
// (the PNG beside each drawing, 400 by 300 pixels at 96 dpi), and by the text a PDF of
// them carries.
#include "platform/fonts.h"
#include "platform/metafile.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace velmora;

namespace {

constexpr double kTwipsPerPixel = 15; // the references are 96 dpi
const QRect kFill(20, 20, 360, 120); // the blue panel of saved-state.svg
const QColor kBlue(0x20, 0x50, 0xb0);
const QColor kYellow(0xff, 0xff, 0x00);
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kRed(0xc0, 0x00, 0x00);
const QColor kChequerA(200, 30, 30);
const QColor kChequerB(30, 30, 200);

QString fixture(const QString &name)
{
    return QStringLiteral(VELMORA_SOURCE_TESTDATA "/metafiles/") + name;
}

Picture loadFixture(const QString &name)
{
    QFile file(fixture(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const MetafileResult result = loadMetafile(file.readAll(), name);
    if (!result.error.isEmpty())
        qWarning("%s", qPrintable(result.error));
    return result.picture;
}

// LibreOffice's export leaves out a margin of 3.64 mm all round its page: the page's
// white background, which the file still draws, starts 364 of its 0.01 mm units before
// the picture's frame on every side.
QPointF originOf(const QString &file)
{
    const double margin = file.contains(QLatin1String("libreoffice")) ? 364 / 2540.0 * 96 : 0;
    return {margin, margin};
}

// The picture where the drawing has it, on a white page of the drawing's size.
QImage render(const Picture &picture, QPointF origin)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.draw(painter, origin, kTwipsPerPixel);
    return image;
}

QImage render(const QString &file)
{
    return render(loadFixture(file), originOf(file));
}

QImage reference(const QString &drawing)
{
    return QImage(fixture(drawing + QStringLiteral(".png"))).convertToFormat(QImage::Format_RGB32);
}

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// The box of the pixels close to `color` inside `area`, in pixels.
QRect inkOf(const QImage &image, QColor color, QRect area, int tolerance = 60)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (near(image.pixelColor(x, y), color, tolerance))
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// How much of a column's stretch a dark line covers, in pixels (anti-aliased edges
// count by their share of ink).
double coverage(const QImage &image, int x, int from, int to)
{
    double sum = 0;
    for (int y = from; y <= to; ++y)
        sum += (255 - image.pixelColor(x, y).red()) / 255.0;
    return sum;
}

// The PDF of a picture drawn `origin` pixels from the page's top-left corner.
QString writePdf(const QTemporaryDir &dir, const Picture &picture, QPointF origin = {})
{
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPdfWriter writer(pdf);
    writer.setResolution(1440);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    picture.draw(painter, origin * kTwipsPerPixel, 1);
    return pdf;
}

QString runTool(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestDrawingPrograms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void frames_data()
    {
        QTest::addColumn<QString>("file");
        for (const char *file :
             {"saved-state.libreoffice.wmf", "saved-state.inkscape.wmf", "pens.libreoffice.wmf", "pens.inkscape.wmf",
              "chequer.libreoffice.wmf", "chequer.inkscape.wmf", "symbol.libreoffice.wmf", "symbol.inkscape.wmf"})
            QTest::newRow(file) << QString::fromLatin1(file);
    }

    // Every export is the drawing's 400 by 300 pixels (less LibreOffice's margins),
    // within a pixel.
    void frames()
    {
        QFETCH(QString, file);
        const Picture picture = loadFixture(file);
        QVERIFY(!picture.isNull());
        const QPointF margin = originOf(file);
        QCOMPARE_LT(std::abs(picture.sizeTwips().width() / kTwipsPerPixel - (400 - 2 * margin.x())), 1.0);
        QCOMPARE_LT(std::abs(picture.sizeTwips().height() / kTwipsPerPixel - (300 - 2 * margin.y())), 1.0);
    }

    void textPlacement_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QRect>("area"); // where the text lies, pixels
        const QRect upper(20, 20, 360, 60);
        const QRect lower(20, 85, 360, 55);
        const QRect page(0, 150, 400, 80);
        for (const char *program : {"libreoffice", "inkscape"}) {
            const QString file = QStringLiteral("saved-state.%1.wmf").arg(QLatin1String(program));
            QTest::addRow("%s yellow on blue", program) << file << kYellow << upper;
            QTest::addRow("%s white on blue", program) << file << kWhite << lower;
            QTest::addRow("%s red on white", program) << file << kRed << page;
        }
    }

    // Text drawn inside saved and restored state sits where the drawing has it: its ink
    // within 2 pixels of the reference's on every side.
    void textPlacement()
    {
        QFETCH(QString, file);
        QFETCH(QColor, color);
        QFETCH(QRect, area);
        const QRect expected = inkOf(reference(QStringLiteral("saved-state")), color, area);
        const QRect got = inkOf(render(file), color, area);
        QVERIFY(!expected.isNull());
        const auto report = [&] {
            return qPrintable(QStringLiteral("ink (%1, %2)-(%3, %4), the drawing's (%5, %6)-(%7, %8)")
                                  .arg(got.left())
                                  .arg(got.top())
                                  .arg(got.right())
                                  .arg(got.bottom())
                                  .arg(expected.left())
                                  .arg(expected.top())
                                  .arg(expected.right())
                                  .arg(expected.bottom()));
        };
        QVERIFY2(std::abs(got.top() - expected.top()) <= 2 && std::abs(got.bottom() - expected.bottom()) <= 2,
                 report());
        QVERIFY2(std::abs(got.left() - expected.left()) <= 2 && std::abs(got.right() - expected.right()) <= 4,
                 report());
    }

    void transparentText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("libreoffice") << QStringLiteral("saved-state.libreoffice.wmf");
        QTest::newRow("inkscape") << QStringLiteral("saved-state.inkscape.wmf");
    }

    // Text over the blue panel leaves the panel blue around its letters: no white box.
    void transparentText()
    {
        QFETCH(QString, file);
        const QImage expected = reference(QStringLiteral("saved-state"));
        const QImage got = render(file);
        int boxed = 0;
        for (int y = kFill.top() + 2; y < kFill.bottom() - 2; ++y) {
            for (int x = kFill.left() + 2; x < kFill.right() - 2; ++x) {
                if (near(expected.pixelColor(x, y), kBlue, 10) && !near(got.pixelColor(x, y), kBlue, 60))
                    ++boxed;
            }
        }
        // Letters a pixel apart from the reference's differ at their edges; a box
        // behind a line of text is thousands of pixels.
        QVERIFY2(boxed < kFill.width() * kFill.height() / 50, qPrintable(QString::number(boxed)));
    }

    void penWidths_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("y"); // the line's centre in the drawing
        for (const char *program : {"libreoffice", "inkscape"}) {
            const QString file = QStringLiteral("pens.%1.wmf").arg(QLatin1String(program));
            for (int y : {50, 110, 170, 240})
                QTest::addRow("%s line at %d", program, y) << file << y;
        }
    }

    // Each pen is as wide as the drawing's stroke, within a pixel.
    void penWidths()
    {
        QFETCH(QString, file);
        QFETCH(int, y);
        const QImage expected = reference(QStringLiteral("pens"));
        const QImage got = render(file);
        for (int x : {100, 200, 300}) {
            const double want = coverage(expected, x, y - 20, y + 20);
            const double have = coverage(got, x, y - 20, y + 20);
            QVERIFY2(std::abs(have - want) <= 1.0,
                     qPrintable(QStringLiteral("at x %1: %2 px wide, the drawing's %3 px").arg(x).arg(have).arg(want)));
        }
    }

    void bitmapPixels_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("pdf");
        for (const char *program : {"libreoffice", "inkscape"}) {
            const QString file = QStringLiteral("chequer.%1.wmf").arg(QLatin1String(program));
            QTest::addRow("%s on screen", program) << file << false;
            QTest::addRow("%s in a PDF", program) << file << true;
        }
    }

    // The 8 by 8 chequer, 20 pixels a square, keeps its two colours exactly and its
    // sharp edges: every pixel but those next to a square's edge is the square's colour.
    void bitmapPixels()
    {
        QFETCH(QString, file);
        QFETCH(bool, pdf);
        const Picture picture = loadFixture(file);
        QImage got;
        if (!pdf) {
            got = render(picture, originOf(file));
        } else {
            if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
                QSKIP("pdftoppm (poppler-utils) is not installed");
            QTemporaryDir dir;
            const QString pdf = writePdf(dir, picture, originOf(file));
            const QString png = dir.filePath(QStringLiteral("page"));
            QProcess::execute(QStringLiteral("pdftoppm"),
                              {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                               QStringLiteral("-singlefile"), pdf, png});
            got = QImage(png + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
            QVERIFY(!got.isNull());
        }
        const QImage expected = reference(QStringLiteral("chequer"));
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 8; ++column) {
                const QColor want = (row + column) % 2 ? kChequerB : kChequerA;
                QCOMPARE(expected.pixelColor(40 + column * 20 + 10, 40 + row * 20 + 10), want);
                for (int dy = 2; dy < 18; dy += 3) {
                    for (int dx = 2; dx < 18; dx += 3) {
                        const QPoint at(40 + column * 20 + dx, 40 + row * 20 + dy);
                        QVERIFY2(got.pixelColor(at) == want,
                                 qPrintable(QStringLiteral("at %1, %2: %3, not %4")
                                                .arg(at.x())
                                                .arg(at.y())
                                                .arg(got.pixelColor(at).name(), want.name())));
                    }
                }
            }
        }
    }

    void pageText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("words");
        const QStringList savedState{QStringLiteral("Yellow on blue"), QStringLiteral("White on blue"),
                                     QStringLiteral("Red on white")};
        // The Greek is Symbol text in one export and Greek-alphabet text in the other.
        const QStringList symbol{QStringLiteral("Angles"), QStringLiteral("αβγδλπ")};
        QTest::newRow("libreoffice saved state") << QStringLiteral("saved-state.libreoffice.wmf") << savedState;
        QTest::newRow("inkscape saved state") << QStringLiteral("saved-state.inkscape.wmf") << savedState;
        QTest::newRow("libreoffice greek") << QStringLiteral("symbol.libreoffice.wmf") << symbol;
        QTest::newRow("inkscape symbol") << QStringLiteral("symbol.inkscape.wmf") << symbol;
    }

    // The words as written, for a screen reader and in a PDF's text.
    void pageText()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, words);
        const Picture picture = loadFixture(file);
        for (const QString &w : words)
            QVERIFY2(picture.text().contains(w), qPrintable(picture.text()));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString text = runTool(pdftotext, {writePdf(dir, picture), QStringLiteral("-")});
        for (const QString &w : words)
            QVERIFY2(text.contains(w), qPrintable(text));
    }

    // The Greek is drawn in a face that has it: the glyphs' ink is where the drawing's is.
    void greekGlyphs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("libreoffice") << QStringLiteral("symbol.libreoffice.wmf");
        QTest::newRow("inkscape") << QStringLiteral("symbol.inkscape.wmf");
    }

    void greekGlyphs()
    {
        QFETCH(QString, file);
        const QColor navy(0, 0, 0x80);
        const QRect area(0, 40, 400, 100);
        const QRect expected = inkOf(reference(QStringLiteral("symbol")), navy, area);
        const QRect got = inkOf(render(file), navy, area);
        QVERIFY(!expected.isNull());
        QVERIFY2(std::abs(got.left() - expected.left()) <= 3 && std::abs(got.right() - expected.right()) <= 6
                     && std::abs(got.top() - expected.top()) <= 3 && std::abs(got.bottom() - expected.bottom()) <= 3,
                 qPrintable(QStringLiteral("(%1, %2)-(%3, %4), the drawing's (%5, %6)-(%7, %8)")
                                .arg(got.left())
                                .arg(got.top())
                                .arg(got.right())
                                .arg(got.bottom())
                                .arg(expected.left())
                                .arg(expected.top())
                                .arg(expected.right())
                                .arg(expected.bottom())));
    }
};

QTEST_MAIN(TestDrawingPrograms)
#include "tst_drawingprograms.moc"
