// The metafile reader on pages the writer draws: sizes, mapping, shapes, clipping,
// bitmaps, what SaveDC keeps, pens and text, by their pixels; its character sets; the
// cost budget of a page; damaged files, refused with a reason. And the picture loader's
// bounded memory.
#include "metafiletesting.h"
#include "platform/datapaths.h"
#include "platform/fonts.h"
#include "platform/metafile/wmfcharsets.h"
#include "platform/pictureloader.h"
#include "wmfwriter/wmfwriter.h"

#include <QDir>
#include <QFontMetricsF>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

using namespace velmora;
using namespace velmora::test;
using namespace velmora::wmf;
using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A spot of a picture (in twips from its top-left corner) and the colour it must have.
struct Probe {
    double x, y;
    QColor color;
};

// The probes that an image drawn at `unitsPerPixel` of the probes' units a pixel fails,
// described; empty when it passes them all.
QString mismatches(const QImage &image, const QList<Probe> &probes, double unitsPerPixel)
{
    QString out;
    for (const Probe &probe : probes) {
        const QColor got = image.pixelColor(QPointF(probe.x / unitsPerPixel, probe.y / unitsPerPixel).toPoint());
        if (!nearColour(got, probe.color))
            out += QString::asprintf("at (%g, %g), %g a pixel: %s, not %s; ", probe.x, probe.y, unitsPerPixel,
                                     qPrintable(got.name()), qPrintable(probe.color.name()));
    }
    return out;
}

using W = MetafileWriter;
using Build = std::function<QByteArray()>;
using Draw = std::function<void(MetafileWriter &)>;
using Probes = QList<Probe>;

const QColor kWhite(255, 255, 255);
const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 200);
const QColor kGreen(0, 150, 0);
const QColor kYellow(255, 255, 0);
const QRect kPage(0, 0, 2880, 1440); // two inches by one

// Where the first record starts in a writer's file (placeable header and file header).
constexpr qsizetype kFirstRecord = 22 + 18;

// A page in `frame`, the window set equal to the frame unless `mapped` is false, text
// on a transparent background, shapes filled red without an outline.
MetafileWriter page(QRect frame = kPage, int unitsPerInch = 1440, bool mapped = true)
{
    MetafileWriter w(frame, unitsPerInch);
    if (mapped)
        w.mapFrameToWindow();
    w.setBackgroundMode(BackgroundMode::Transparent);
    w.selectNewPen(Qt::black, 0, PenStyle::Null);
    w.selectNewBrush(kRed);
    return w;
}

// The file of a page with what `draw` draws on it.
Build onPage(const Draw &draw, QRect frame = kPage, int unitsPerInch = 1440, bool mapped = true)
{
    return [=] {
        MetafileWriter w = page(frame, unitsPerInch, mapped);
        draw(w);
        return w.finish();
    };
}

// A page whose file sets no window of its own before `draw`.
Build unmapped(QRect frame, const Draw &draw)
{
    return onPage(draw, frame, 1440, false);
}

// The same file without its placeable header: a plain metafile.
Build plain(const Build &placeable)
{
    return [=] { return placeable().mid(22); };
}

void setWindow(MetafileWriter &w, MapMode mode, QPoint origin, QSize extent)
{
    w.setMapMode(mode);
    w.setWindowOrg(origin);
    w.setWindowExt(extent);
}

// The text metrics the program's fonts have, at an em of `em` twips.
QFontMetricsF metricsOf(const QString &face, double em, bool bold = false)
{
    QFont font(face);
    font.setPixelSize(int(std::lround(em)));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font);
}

// The bytes with a little-endian word (quint16) or double word (quint32) put at `at`.
template <class Word>
QByteArray with(QByteArray bytes, qsizetype at, Word value)
{
    qToLittleEndian<Word>(value, bytes.data() + at);
    return bytes;
}

// A page with `draw` done `times` times.
QByteArray repeated(int times, const Draw &draw)
{
    MetafileWriter w = page();
    for (int i = 0; i < times; ++i)
        draw(w);
    return w.finish();
}

enum PenMade { AfterTheWindow, BeforeTheWindow, KeptThroughSaveDC };

} // namespace

Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(QList<Probe>)

class TestMetafile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void size_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<QSizeF>("twips");
        const Draw square = [](W &w) { w.rectangle({0, 0, 10, 10}); };
        QTest::newRow("placeable, 1440 units an inch") << onPage(square) << QSizeF(2880, 1440);
        QTest::newRow("placeable, 1000 units an inch")
            << onPage(square, {0, 0, 2000, 1000}, 1000) << QSizeF(2880, 1440);
        QTest::newRow("placeable frame off the origin")
            << onPage(square, {-100, -50, 576, 288}, 576) << QSizeF(1440, 720);
        QTest::newRow("plain, large anisotropic window: a twip a unit")
            << plain(onPage(square, {0, 0, 4000, 3000})) << QSizeF(4000, 3000);
        QTest::newRow("plain, small anisotropic window: a point a unit")
            << plain(onPage(square, {0, 0, 400, 300})) << QSizeF(8000, 6000);
        const Draw offTheOrigin = [](W &w) { w.rectangle({10, 20, 100, 50}); };
        QTest::newRow("plain without a window: framed by its drawing in pixels")
            << plain(unmapped({0, 0, 1, 1}, offTheOrigin)) << QSizeF(1500, 750);
    }

    void size()
    {
        QFETCH(Build, build);
        QFETCH(QSizeF, twips);
        QCOMPARE(loadWmf(build()).sizeTwips(), twips);
    }

    void pixels_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<Probes>("probes");
        // Mapping: where the window and the frame put a red rectangle.
        QTest::newRow("window off the origin") << unmapped(kPage, [](W &w) {
            setWindow(w, MapMode::Anisotropic, {-1000, -1000}, {2880, 1440});
            w.rectangle({-1000, -1000, 500, 500});
        }) << Probes{{250, 250, kRed}, {750, 250, kWhite}};
        QTest::newRow("anisotropic, y flipped") << unmapped(kPage, [](W &w) {
            setWindow(w, MapMode::Anisotropic, {0, 1440}, {2880, -1440});
            w.rectangle({0, 1040, 720, 400}); // the top of the page: y runs up
            w.selectNewBrush(kBlue);
            w.rectangle({2160, 0, 720, 400});
        }) << Probes{{300, 150, kRed}, {300, 1300, kWhite}, {2500, 1300, kBlue}, {2500, 150, kWhite}};
        QTest::newRow("anisotropic, window stretched onto the frame") << unmapped(kPage, [](W &w) {
            setWindow(w, MapMode::Anisotropic, {0, 0}, {100, 100});
            w.rectangle({50, 50, 50, 50});
        }) << Probes{{2000, 1000, kRed}, {1300, 1000, kWhite}, {2000, 600, kWhite}};
        QTest::newRow("isotropic keeps the aspect") << unmapped({0, 0, 1440, 1440}, [](W &w) {
            setWindow(w, MapMode::Isotropic, {0, 0}, {2000, 1000});
            w.rectangle({0, 0, 2000, 1000});
        }) << Probes{{700, 300, kRed}, {700, 1100, kWhite}};
        QTest::newRow("placeable, header's window offset and scaled") << unmapped({500, 500, 2880, 1440}, [](W &w) {
            w.offsetWindowOrg({100, 0});
            w.scaleWindowExt(1, 2, 1, 2); // half the frame fills it
            w.rectangle({600, 500, 360, 360});
        }) << Probes{{300, 300, kRed}, {650, 650, kRed}, {900, 300, kWhite}, {300, 900, kWhite}};
        QTest::newRow("twips mode, window y running up") << unmapped(kPage, [](W &w) {
            setWindow(w, MapMode::Twips, {0, 0}, {2880, -1440});
            w.rectangle({0, -400, 720, 400});
        }) << Probes{{300, 200, kRed}, {300, 1200, kWhite}};
        QTest::newRow("plain metafile in pixels") << plain(unmapped({0, 0, 1, 1}, [](W &w) {
            w.rectangle({0, 0, 100, 50});
            w.selectNewBrush(kBlue);
            w.rectangle({100, 50, 100, 50});
        })) << Probes{{700, 300, kRed}, {2200, 1100, kBlue}, {2200, 300, kWhite}};

        // Shapes, filled red with a pen of no width so the probes see the fills.
        QTest::newRow("ellipse") << onPage([](W &w) {
            w.ellipse({0, 0, 1440, 1440});
        }) << Probes{{720, 720, kRed}, {100, 100, kWhite}, {720, 60, kRed}};
        QTest::newRow("rounded rectangle") << onPage([](W &w) {
            w.roundRect({0, 0, 1440, 1440}, {720, 720});
        }) << Probes{{60, 60, kWhite}, {720, 60, kRed}, {60, 720, kRed}};
        QTest::newRow("polygon") << onPage([](W &w) {
            w.polygon(QList<QPoint>{{0, 0}, {1440, 0}, {0, 1440}});
        }) << Probes{{300, 300, kRed}, {1200, 1200, kWhite}};
        QTest::newRow("polypolygon, alternate fill: a hole") << onPage([](W &w) {
            w.polyPolygon({QPolygon(QRect(0, 0, 1440, 1440)), QPolygon(QRect(360, 360, 720, 720))});
        }) << Probes{{180, 180, kRed}, {720, 720, kWhite}};
        QTest::newRow("pie from three to twelve o'clock") << onPage([](W &w) {
            w.pie({0, 0, 1440, 1440}, {1440, 720}, {720, 0});
        }) << Probes{{1000, 400, kRed}, {400, 400, kWhite}, {1000, 1000, kWhite}};
        QTest::newRow("pie, start after end: three quarters") << onPage([](W &w) {
            w.pie({0, 0, 1440, 1440}, {720, 0}, {1440, 720});
        }) << Probes{{1000, 400, kWhite}, {400, 400, kRed}, {1000, 1000, kRed}};
        QTest::newRow("chord") << onPage([](W &w) {
            w.chord({0, 0, 1440, 1440}, {1440, 720}, {0, 720});
        }) << Probes{{720, 300, kRed}, {720, 1100, kWhite}};
        QTest::newRow("arc and lines with a wide pen, no fill") << onPage([](W &w) {
            w.selectNewPen(kBlue, 144);
            w.arc({0, 0, 1440, 1440}, {1440, 720}, {0, 720});
            w.moveTo({1600, 100});
            w.lineTo({2800, 100});
            w.polyline(QList<QPoint>{{1600, 1300}, {2800, 1300}});
        }) << Probes{{720, 30, kBlue},   {720, 300, kWhite},  {720, 1400, kWhite}, {2200, 100, kBlue},
                     {2200, 150, kBlue}, {2200, 300, kWhite}, {2200, 1300, kBlue}};
        QTest::newRow("null brush: only the outline") << onPage([](W &w) {
            w.selectNewPen(kBlue, 72);
            w.selectNewBrush(kRed, BrushStyle::Null);
            w.rectangle({100, 100, 1240, 1240});
        }) << Probes{{720, 720, kWhite}, {100, 720, kBlue}};

        // Clipping as libwmf hands it over, the whole page filled red through it.
        QTest::newRow("clip rectangle with a hole") << onPage([](W &w) {
            w.intersectClipRect({0, 0, 1440, 1440});
            w.excludeClipRect({400, 400, 600, 600});
            w.rectangle(kPage);
        }) << Probes{{200, 200, kRed}, {700, 700, kWhite}, {2200, 700, kWhite}};
        QTest::newRow("clip undone by RestoreDC") << onPage([](W &w) {
            w.saveDC();
            w.intersectClipRect({0, 0, 1440, 1440});
            w.restoreDC();
            w.rectangle(kPage);
        }) << Probes{{700, 700, kRed}, {2200, 700, kRed}};

        // Bitmaps: two by two pixels stretched over the left half of a yellow page.
        QImage four(2, 2, QImage::Format_RGB32);
        four.setPixelColor(0, 0, kRed);
        four.setPixelColor(1, 0, kGreen);
        four.setPixelColor(0, 1, kBlue);
        four.setPixelColor(1, 1, kWhite);
        const auto stretched = [](const QImage &image, DibDepth depth) {
            return onPage([=](W &w) {
                w.selectNewBrush(kYellow);
                w.rectangle({1440, 0, 1440, 1440});
                w.stretchDib({0, 0, 1440, 1440}, image, depth);
            });
        };
        const Probes quarters{{360, 360, kRed}, {1080, 360, kGreen}, {360, 1080, kBlue}, {1080, 1080, kWhite}};
        for (DibDepth depth : {DibDepth::Rgb24, DibDepth::Indexed8, DibDepth::Indexed4})
            QTest::addRow("%d-bit bitmap", int(depth))
                << stretched(four, depth) << quarters + Probes{{2200, 700, kYellow}};
        const QImage checker = four.convertToFormat(QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        QTest::newRow("1-bit bitmap") << stretched(checker, DibDepth::Indexed1)
                                      << Probes{{360, 360, Qt::black}, {1080, 1080, kWhite}};

        // Text backgrounds: blue behind the text.
        QTest::newRow("opaque text background") << onPage([](W &w) {
            w.setBackgroundMode(BackgroundMode::Opaque);
            w.setBackgroundColor(kBlue);
            w.setTextColor(kRed);
            w.selectNewFont(Font{u"Arial"_s, -480});
            w.textOut({100, 100}, u"a a"_s);
        }) << Probes{{130, 140, kBlue}, {130, 1000, kWhite}};
        QTest::newRow("ExtTextOut's opaque rectangle") << onPage([](W &w) {
            w.setBackgroundColor(kBlue);
            w.setTextColor(kRed);
            w.selectNewFont(Font{u"Arial"_s, -240});
            w.extTextOut({100, 100}, u"x"_s, TextOption::Opaque, {0, 0, 2000, 1000});
        }) << Probes{{1500, 800, kBlue}, {2500, 1200, kWhite}};
        // The text's cell, blue above its capitals, cut at the rectangle's right edge; the
        // rest of the rectangle is not filled (that is ExtTextOut's opaque option).
        QTest::newRow("ExtTextOut clipped to its rectangle") << onPage([](W &w) {
            w.setBackgroundMode(BackgroundMode::Opaque);
            w.setBackgroundColor(kBlue);
            w.selectNewFont(Font{u"Arial"_s, -480});
            w.extTextOut({100, 100}, u"HHHHHHHH"_s, TextOption::Clipped, {0, 0, 1000, 1440});
        }) << Probes{{900, 130, kBlue}, {1100, 130, kWhite}, {500, 1200, kWhite}};

        // What SaveDC keeps: yellow text at its baseline on a transparent background over
        // a blue panel, as set before saving and brought back by a restore (the state set
        // between the two must not stay), then kept by a second SaveDC. Above the baseline
        // at 900 the letters are yellow, below it the panel is blue; opaque text would
        // have a white cell, top-aligned text would hang below.
        QTest::newRow("text after RestoreDC, inside SaveDC") << onPage([](W &w) {
            w.selectNewBrush(kBlue);
            w.rectangle(kPage);
            w.setTextAlign(Align::Left | Align::Baseline);
            w.setTextColor(kYellow);
            w.selectNewFont(Font{u"Arial"_s, -720});
            w.saveDC();
            w.setTextAlign(Align::Left | Align::Top);
            w.setBackgroundMode(BackgroundMode::Opaque);
            w.setTextColor(kRed);
            w.restoreDC();
            w.saveDC();
            w.textOut({100, 900}, u"HHHH"_s);
            w.restoreDC();
        }) << Probes{{190, 600, kYellow}, {190, 1100, kBlue}, {150, 250, kBlue}, {1200, 1000, kBlue}};
        // Two overlapping squares drawn the same way round: winding fills their overlap.
        QTest::newRow("winding fill inside SaveDC") << onPage([](W &w) {
            w.setPolyFillMode(FillMode::Winding);
            w.saveDC();
            w.polyPolygon({QPolygon(QRect(100, 100, 800, 800)), QPolygon(QRect(500, 500, 800, 800))});
            w.restoreDC();
        }) << Probes{{700, 700, kRed}, {300, 300, kRed}};
    }

    // Every row at the screen's scale and at a finer one: the picture must not move.
    void pixels()
    {
        QFETCH(Build, build);
        QFETCH(Probes, probes);
        const Picture picture = loadWmf(build());
        for (double twipsPerUnit : {15.0, 3.0})
            VERIFY_NOTHING_WRONG(mismatches(renderOnWhite(picture, twipsPerUnit), probes, twipsPerUnit));
    }

    void textPlacement_data()
    {
        QTest::addColumn<quint16>("align");
        QTest::addColumn<int>("escapement");
        QTest::addColumn<bool>("fromCurrentPosition");
        QTest::addColumn<int>("advanceFactor"); // 0: no advances in the record
        QTest::addColumn<int>("characterExtra");
        using Named = std::pair<const char *, quint16>;
        const Named horizontal[] = {{"left", Align::Left}, {"centre", Align::Center}, {"right", Align::Right}};
        const Named vertical[] = {{"top", Align::Top}, {"baseline", Align::Baseline}, {"bottom", Align::Bottom}};
        for (const auto &[hName, h] : horizontal) {
            for (const auto &[vName, v] : vertical)
                QTest::addRow("%s %s", hName, vName) << quint16(h | v) << 0 << false << 0 << 0;
        }
        QTest::newRow("rotated a quarter turn") << quint16(Align::Left | Align::Baseline) << 900 << false << 0 << 0;
        QTest::newRow("rotated, centred") << quint16(Align::Center | Align::Top) << 900 << false << 0 << 0;
        QTest::newRow("from the current position") << quint16(Align::UpdateCurrentPosition) << 0 << true << 0 << 0;
        QTest::newRow("advances twice as wide") << quint16(Align::Left | Align::Top) << 0 << false << 2 << 0;
        QTest::newRow("advances twice as wide, right") << quint16(Align::Right | Align::Top) << 0 << false << 2 << 0;
        QTest::newRow("advances twice as wide, centred") << quint16(Align::Center) << 0 << false << 2 << 0;
        QTest::newRow("character extra") << quint16(Align::Right | Align::Top) << 0 << false << 0 << 60;
    }

    // "HHHH" at a reference point: the ink must sit where Windows puts it, by the font's
    // own metrics (the glyph H stands on the baseline and reaches the cap height).
    void textPlacement()
    {
        QFETCH(quint16, align);
        QFETCH(int, escapement);
        QFETCH(bool, fromCurrentPosition);
        QFETCH(int, advanceFactor);
        QFETCH(int, characterExtra);
        const QPoint ref(1440, 720);
        const QString text = u"HHHH"_s;
        const QFontMetricsF fm = metricsOf(u"Arial"_s, 240);
        const double advance = fm.horizontalAdvance(u'H');
        const QList<int> dx(advanceFactor ? text.size() : 0, int(std::lround(advance * advanceFactor)));

        MetafileWriter w = page();
        w.setTextColor(kRed);
        w.selectNewFont(Font{u"Arial"_s, -240, 0, escapement});
        w.setTextAlign(align);
        if (characterExtra)
            w.setTextCharacterExtra(characterExtra);
        if (fromCurrentPosition) {
            w.moveTo(ref);
            w.textOut({0, 0}, text);
        } else if (!dx.isEmpty()) {
            w.extTextOut(ref, text, 0, {}, dx);
        } else {
            w.textOut(ref, text);
        }

        const double spacing = dx.isEmpty() ? characterExtra : dx[0] - advance;
        const double width =
            dx.isEmpty() ? fm.horizontalAdvance(text) + spacing * text.size() : dx[0] * double(dx.size());
        const int horizontal = align & Align::Center, vertical = align & Align::Baseline;
        const double x = horizontal == Align::Center ? -width / 2 : horizontal == Align::Right ? -width : 0;
        const double baseline = vertical == Align::Top ? fm.ascent() : vertical == Align::Bottom ? -fm.descent() : 0;
        const QRectF inText(QPointF(x + fm.leftBearing(u'H'), baseline - fm.capHeight()),
                            QPointF(x + width - spacing - fm.rightBearing(u'H'), baseline));
        const QRectF expected = QTransform().translate(ref.x(), ref.y()).rotate(-escapement / 10.0).mapRect(inText);
        const QRectF ink = inkOf(renderOnWhite(loadWmf(w.finish()), 3), kRed, 3, 100);
        VERIFY_NOTHING_WRONG(edgesOff(ink, expected, 9));
    }

    void fontSize_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Arial, character height") << "Arial" << -240 << false;
        QTest::newRow("Arial, cell height") << "Arial" << 240 << false;
        QTest::newRow("Times New Roman") << "Times New Roman" << -300 << false;
        QTest::newRow("Tahoma, bold") << "Tahoma" << -200 << true;
    }

    // The capital's height on the screen (15 twips a pixel) and on a 1440 dpi printer
    // (a twip a pixel) is the font's cap height at that em, and the text keeps its width.
    void fontSize()
    {
        QFETCH(QString, face);
        QFETCH(int, height);
        QFETCH(bool, bold);
        MetafileWriter w = page({0, 0, 1440, 720});
        w.setTextColor(kRed);
        w.selectNewFont(Font{face, height, 0, 0, bold ? 700 : 400});
        w.setTextAlign(Align::Baseline);
        w.textOut({100, 500}, u"HIH"_s);
        const Picture picture = loadWmf(w.finish());

        const QFontMetricsF unit = metricsOf(face, 1000, bold);
        const double em = height < 0 ? -height : height * 1000 / (unit.ascent() + unit.descent());
        const double capHeight = unit.capHeight() * em / 1000;
        const double width =
            (unit.horizontalAdvance(u"HIH"_s) - unit.leftBearing(u'H') - unit.rightBearing(u'H')) * em / 1000;
        for (double twipsPerUnit : {15.0, 1.0}) {
            const QRectF ink = inkOf(renderOnWhite(picture, twipsPerUnit), kRed, twipsPerUnit, 100);
            QVERIFY2(std::abs(ink.height() - capHeight) <= std::max(1.5 * twipsPerUnit, capHeight * 0.03)
                         && std::abs(ink.width() - width) <= std::max(2 * twipsPerUnit, width * 0.02),
                     qPrintable(QString::asprintf("%g twips a pixel: %g by %g, expected %g by %g", twipsPerUnit,
                                                  ink.width(), ink.height(), width, capHeight)));
        }
    }

    // A re-shown page comes from the kept rendering; it must show what the vectors draw
    // (a drawing exported by Inkscape, see tests/data/metafiles/README.md).
    void keptRenderingMatchesVectors()
    {
        const Picture picture = exported(u"inkscape-drawing.wmf"_s);
        const QImage kept = renderOnWhite(picture, 15);
        const QImage vectors = renderOnWhite(picture, 15, true);
        int different = 0;
        for (int y = 0; y < kept.height(); ++y) {
            for (int x = 0; x < kept.width(); ++x)
                different += nearColour(kept.pixelColor(x, y), vectors.pixelColor(x, y), 60) ? 0 : 1;
        }
        QVERIFY2(different < kept.width() * kept.height() / 200, qPrintable(QString::number(different)));
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason"); // empty: a quirk real files have, the page still comes out
        const QByteArray good = onPage([](W &w) { w.rectangle(kPage); })();
        // The writer's records: SetMapMode (4 words), SetWindowOrg (5), SetWindowExt (5), ...
        const qsizetype secondRecord = kFirstRecord + 8;
        QByteArray garbage(4096, '\0');
        QRandomGenerator random(7);
        for (char &c : garbage)
            c = char(random.bounded(256));
        QTest::newRow("garbage") << garbage << "Not a metafile";
        QTest::newRow("empty") << QByteArray() << "Not a metafile";
        QTest::newRow("cut in a record") << good.left(good.size() - 9) << "past the end";
        QTest::newRow("cut between records") << good.left(secondRecord) << "cut short";
        // Doubled in 32 bits this size would be six bytes.
        QTest::newRow("huge record") << with<quint32>(good, secondRecord, 0x80000003) << "past the end";
        QTest::newRow("zero-size record") << with<quint32>(good, secondRecord, 0) << "impossible size";
        QTest::newRow("unknown record type") << with<quint16>(good, secondRecord + 4, 0x7777) << "unknown type";
        // SetMapMode without its parameter.
        QTest::newRow("record too short for its type") << with<quint32>(good, kFirstRecord, 3) << "too short";
        QTest::newRow("placeable header without units") << with<quint16>(good, 14, 0) << "units per inch";
        QTest::newRow("absurd record count")
            << repeated(260000, [](W &w) { w.setBackgroundMode(BackgroundMode::Transparent); })
            << "more than 250000 records";
        QTest::newRow("absurd object count") << repeated(5000, [](W &w) { w.createBrush(kRed); }) << "objects at once";
        QTest::newRow("saved states nested too deep") << repeated(100, [](W &w) { w.saveDC(); }) << "deep";
        const QByteArray square = onPage([](W &w) { w.polygon(QPolygon(QRect(0, 0, 10, 10))); })();
        // The point count of the polygon, the last record before the end record.
        const qsizetype pointCount = square.size() - 6 - qsizetype(2) * (3 + 1 + 2 * 4) + 6;
        QTest::newRow("polygon longer than its record")
            << with<quint16>(square, pointCount, 200) << "longer than its record";
        QTest::newRow("larger than 16 MB") << good + QByteArray(qsizetype(16) * 1024 * 1024, '\0') << "larger";
        // Quirks real files have.
        QTest::newRow("as written") << good << QString();
        QTest::newRow("no end record") << good.left(good.size() - 6) << QString();
        // No objects, the largest record three words.
        QTest::newRow("header counts wrong") << with<quint32>(with<quint16>(good, 22 + 10, 0), 22 + 12, 3) << QString();
        QTest::newRow("placeable checksum wrong") << with<quint16>(good, 20, 0x1234) << QString();
        QTest::newRow("bytes after the end record") << good + QByteArray("trailing bytes") << QString();
        // The pen's SelectObject (after SetMapMode, SetWindowOrg, SetWindowExt, SetBkMode
        // and CreatePenIndirect) names a slot nothing was created in.
        QTest::newRow("select of an object that was never made")
            << with<quint16>(good, kFirstRecord + 8 + 10 + 10 + 8 + 16 + 6, 99) << QString();
        QTest::newRow("restore without save") << onPage([](W &w) {
            w.restoreDC(); // nothing saved
            w.deleteObject(w.createBrush(kBlue));
            w.selectNewBrush(kRed);
            w.rectangle(kPage);
        })() << QString();
        QTest::newRow("control characters in text") << onPage([](W &w) {
            w.textOut({100, 100}, u"bell\x07 tab\t end\x7f"_s);
            w.rectangle(kPage);
        })() << QString();
        // libwmf's objects share memory: what a DC still selects after its object was
        // deleted is whatever was created in the slot next.
        QTest::newRow("selected objects deleted, their slots reused") << onPage([](W &w) {
            w.deleteObject(w.selectNewBrush(kBlue));
            w.selectNewPen(kBlue, 10, PenStyle::Null); // now a "brush" of style 5, a bitmap pattern
            w.rectangle({0, 0, 100, 100});
            w.deleteObject(w.selectNewFont(Font{u"Arial"_s, -200}));
            w.selectNewPen(kBlue); // the DC's font is now a pen
            w.textOut({100, 100}, u"text in a font that is gone"_s);
            w.selectNewBrush(kRed);
            w.rectangle(kPage);
        })() << QString();
    }

    // Each damaged file is refused with a reason, never a crash or a hang (also run under
    // the sanitizers: ctest --preset asan -R metafile); of the quirks real files have, the
    // page still comes out.
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const MetafileResult result = loadMetafile(bytes, u"wmf\\bad.wmf"_s);
        if (reason.isEmpty()) {
            QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
            VERIFY_NOTHING_WRONG(mismatches(renderOnWhite(result.picture), {{1440, 720, kRed}}, 15));
            return;
        }
        QVERIFY(result.picture.isNull());
        QVERIFY2(result.error.contains(u"wmf\\bad.wmf"_s), qPrintable(result.error));
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    }

    void penWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("made");
        QTest::addColumn<double>("pixels"); // at 15 twips a pixel
        QTest::newRow("pen made after the window") << 1500 << int(AfterTheWindow) << 10.0;
        QTest::newRow("pen made before the window") << 1500 << int(BeforeTheWindow) << 10.0;
        QTest::newRow("thin pen made before the window") << 450 << int(BeforeTheWindow) << 3.0;
        QTest::newRow("width zero: one pixel") << 0 << int(BeforeTheWindow) << 1.0;
        QTest::newRow("pen kept through SaveDC") << 1200 << int(KeptThroughSaveDC) << 8.0;
    }

    // A line across the page, its pen's width in the units of the window that is set
    // when the line is drawn: ten times the frame, so 150 units are 15 twips.
    void penWidths()
    {
        QFETCH(int, width);
        QFETCH(int, made);
        QFETCH(double, pixels);
        MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
        w.setMapMode(MapMode::Anisotropic);
        const ObjectHandle pen = made != AfterTheWindow ? w.createPen(Qt::black, width) : ObjectHandle{};
        w.setWindowOrg(QPoint(0, 0));
        w.setWindowExt(QSize(28800, 14400));
        if (made == AfterTheWindow)
            w.selectNewPen(Qt::black, width);
        else
            w.selectObject(pen);
        if (made == KeptThroughSaveDC) {
            w.saveDC();
            w.selectNewPen(Qt::black, 150);
            w.restoreDC();
        }
        w.moveTo(QPoint(0, 7200));
        w.lineTo(QPoint(28800, 7200));
        const QImage image = renderOnWhite(loadWmf(w.finish()));
        const double got = darkRows(image, image.width() / 2, 0, image.height() - 1);
        QVERIFY2(std::abs(got - pixels) <= 1.0, qPrintable(u"%1 pixels wide"_s.arg(got)));
    }

    void decoding_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Symbol by character set") << "Standard Symbols" << 2 << QByteArray("p=3") << "π=3";
        QTest::newRow("Symbol capitals and signs")
            << "symbol" << 0 << QByteArray("\x44\x57\xA3\xB1\xA5\xD6\xE5\xFE") << "ΔΩ≤±∞√∑⎭";
        QTest::newRow("Symbol holes print nothing") << "Symbol" << 0 << QByteArray("a\x80\xF0z") << "αζ";
        QTest::newRow("Greek code page") << "Arial" << 161 << QByteArray("\xE1\xE2\xE3 \xC1\xD3\xFE") << "αβγ ΑΣώ";
        QTest::newRow("Greek keeps Latin and Western signs")
            << "Arial" << 161 << QByteArray("Pi \x80 \xA3") << "Pi € £";
        QTest::newRow("Western") << "Arial" << 0 << QByteArray("caf\xE9 \x80") << "café €";
    }

    void decoding()
    {
        QFETCH(QString, face);
        QFETCH(int, charset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(metafile::decodeText(bytes, metafile::charsetOf(face, charset)), text);
    }

    // A page that would take seconds to draw keeps what it draws first, within its
    // budget, and leaves the rest out.
    void pageBudget()
    {
        MetafileWriter w = page({0, 0, 14400, 14400});
        w.rectangle({0, 0, 14400, 1440}); // the first thing drawn
        w.selectNewBrush(kBlue);
        // A hundred many-sided polygons over the whole page, each as dear as a page.
        QPolygon zigzag;
        for (int k = 0; k < 4000; ++k)
            zigzag << QPoint((k * 7919) % 14400, 1440 + (k * 104729) % 12960);
        for (int i = 0; i < 100; ++i)
            w.polygon(zigzag);
        w.selectNewBrush(kRed);
        w.rectangle({0, 13000, 14400, 1400}); // past the budget
        VERIFY_NOTHING_WRONG(
            mismatches(renderOnWhite(loadWmf(w.finish())), {{7200, 720, kRed}, {7200, 13950, kWhite}}, 15));
    }

    // The loader finds a page by the name a screen gives, keeps pictures within its
    // memory bound, lets them all go on request, and keeps no failure once the page is
    // mended. (Whether a failed page was found: the page viewer's printing, in tst_metafilepages.)
    void pictureLoader()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(u"wmf"_s);
        // An A4 page: 4 MB on screen.
        const QByteArray bytes = onPage([](W &w) { w.rectangle({100, 100, 1000, 1000}); }, {0, 0, 11906, 16838})();
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeFile(dir.filePath(u"wmf/page%1.wmf"_s.arg(i)), bytes));
        QVERIFY(writeFile(dir.filePath(u"wmf/damaged.wmf"_s), bytes.left(60)));
        const DataPaths paths(dir.path());
        const PictureLoader loader(paths);
        for (int i = 0; i < 40; ++i) {
            const QString name = u"wmf\\page%1.wmf"_s.arg(i);
            const Picture picture = loader.load(name).picture;
            QCOMPARE(std::pair(picture.source(), picture.sizeTwips()), std::pair(name, QSizeF(11906, 16838)));
            QCOMPARE_LE(loader.cachedBytes(), PictureLoader::kMaxCachedBytes);
        }
        QCOMPARE_GT(loader.cachedBytes(), PictureLoader::kMaxCachedBytes / 2);
        loader.release();
        QCOMPARE(loader.cachedBytes(), 0);

        QVERIFY(!loader.load(u"wmf\\damaged.wmf"_s).ok());
        QVERIFY(writeFile(dir.filePath(u"wmf/damaged.wmf"_s), bytes));
        QVERIFY(loader.load(u"wmf\\damaged.wmf"_s).ok());
    }
};

QTEST_MAIN(TestMetafile)
#include "tst_metafile.moc"
