#include "platform/datapaths.h"
#include "platform/fonts.h"
#include "platform/metafile.h"
#include "platform/pictureloader.h"
#include "support/pictureimages.h"
#include "wmfwriter/wmfwriter.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <functional>

using namespace velmora;
using namespace velmora::wmf;

namespace {

// A spot of the picture (in twips from its top-left corner) and the colour it must have.
struct Probe {
    QPointF twips;
    QColor color;
};

using Build = std::function<QByteArray()>;

const QColor kWhite(255, 255, 255);
const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 200);
const QColor kGreen(0, 150, 0);

QString testData(const QString &name)
{
    return QStringLiteral(VELMORA_SOURCE_TESTDATA "/metafiles/") + name;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Picture load(const QByteArray &bytes)
{
    const MetafileResult result = loadMetafile(bytes, QStringLiteral("test.wmf"));
    if (!result.error.isEmpty())
        qWarning("%s", qPrintable(result.error));
    return result.picture;
}

using test::nearColour;
using test::renderOnWhite;

QColor colorAt(const QImage &image, QPointF twips, double twipsPerUnit)
{
    return image.pixelColor((twips / twipsPerUnit).toPoint());
}

// The bounding box of the pixels close to `color`, in twips.
QRectF inkOf(const QImage &image, QColor color, double twipsPerUnit, int tolerance = 60)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (nearColour(image.pixelColor(x, y), color, tolerance)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    return QRectF(left * twipsPerUnit, top * twipsPerUnit, (right - left + 1) * twipsPerUnit,
                  (bottom - top + 1) * twipsPerUnit);
}

// A page two inches by one, 1440 units to the inch, the window equal to the frame.
MetafileWriter page(QRect frame = QRect(0, 0, 2880, 1440), int unitsPerInch = 1440)
{
    MetafileWriter w(frame, unitsPerInch);
    w.mapFrameToWindow();
    w.setBackgroundMode(BackgroundMode::Transparent);
    w.selectNewPen(Qt::black, 0, PenStyle::Null);
    return w;
}

// The same file without its placeable header: a plain metafile.
QByteArray plain(const QByteArray &placeable)
{
    return placeable.mid(22);
}

QByteArray filledRect(MetafileWriter w, QRect rect, QColor color)
{
    w.selectNewBrush(color);
    w.rectangle(rect);
    return w.finish();
}

// The text metrics the program's fonts have, at an em of `em` twips.
QFontMetricsF metricsOf(const QString &face, double em)
{
    QFont font(face);
    font.setPixelSize(int(std::lround(em)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return QFontMetricsF(font);
}

void setWord(QByteArray &bytes, qsizetype at, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + at);
}

void setDword(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

// Where the first record starts in a writer's file (placeable header and file header).
constexpr qsizetype kFirstRecord = 22 + 18;

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
        QTest::newRow("placeable, 1440 units an inch") << Build([] { return page().finish(); }) << QSizeF(2880, 1440);
        QTest::newRow("placeable, 1000 units an inch")
            << Build([] { return page(QRect(0, 0, 2000, 1000), 1000).finish(); }) << QSizeF(2880, 1440);
        QTest::newRow("placeable frame off the origin")
            << Build([] { return page(QRect(-100, -50, 576, 288), 576).finish(); }) << QSizeF(1440, 720);
        QTest::newRow("plain, large anisotropic window: a twip a unit")
            << Build([] { return plain(filledRect(page(QRect(0, 0, 4000, 3000)), QRect(0, 0, 10, 10), kRed)); })
            << QSizeF(4000, 3000);
        QTest::newRow("plain, small anisotropic window: a point a unit")
            << Build([] { return plain(filledRect(page(QRect(0, 0, 400, 300)), QRect(0, 0, 10, 10), kRed)); })
            << QSizeF(8000, 6000);
        QTest::newRow("plain without a window: framed by its drawing in pixels") << Build([] {
            MetafileWriter w(QRect(0, 0, 1, 1), 1440);
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(10, 20, 100, 50));
            return plain(w.finish());
        }) << QSizeF(1500, 750);
    }

    void size()
    {
        QFETCH(Build, build);
        QFETCH(QSizeF, twips);
        const Picture picture = load(build());
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.sizeTwips(), twips);
    }

    void pixels_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<QList<Probe>>("probes");
        QTest::newRow("window equals the frame")
            << Build([] { return filledRect(page(), QRect(1440, 0, 1440, 720), kRed); })
            << QList<Probe>{{{2000, 300}, kRed}, {{2000, 1100}, kWhite}, {{700, 300}, kWhite}};
        QTest::newRow("window off the origin") << Build([] {
            MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
            w.setMapMode(MapMode::Anisotropic);
            w.setWindowOrg(QPoint(-1000, -1000));
            w.setWindowExt(QSize(2880, 1440));
            w.selectNewBrush(kRed);
            w.rectangle(QRect(-1000, -1000, 500, 500));
            return w.finish();
        }) << QList<Probe>{{{250, 250}, kRed}, {{750, 250}, kWhite}};
        QTest::newRow("anisotropic, y flipped") << Build([] {
            MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
            w.setMapMode(MapMode::Anisotropic);
            w.setWindowOrg(QPoint(0, 1440));
            w.setWindowExt(QSize(2880, -1440));
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(0, 1040, 720, 400)); // the top of the page: y runs up
            w.selectNewBrush(kBlue);
            w.rectangle(QRect(2160, 0, 720, 400));
            return w.finish();
        }) << QList<Probe>{{{300, 150}, kRed}, {{300, 1300}, kWhite}, {{2500, 1300}, kBlue}, {{2500, 150}, kWhite}};
        QTest::newRow("anisotropic, window stretched onto the frame") << Build([] {
            MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
            w.setMapMode(MapMode::Anisotropic);
            w.setWindowOrg(QPoint(0, 0));
            w.setWindowExt(QSize(100, 100));
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(50, 50, 50, 50));
            return w.finish();
        }) << QList<Probe>{{{2000, 1000}, kRed}, {{1300, 1000}, kWhite}, {{2000, 600}, kWhite}};
        QTest::newRow("isotropic keeps the aspect") << Build([] {
            MetafileWriter w(QRect(0, 0, 1440, 1440), 1440);
            w.setMapMode(MapMode::Isotropic);
            w.setWindowOrg(QPoint(0, 0));
            w.setWindowExt(QSize(2000, 1000));
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(0, 0, 2000, 1000));
            return w.finish();
        }) << QList<Probe>{{{700, 300}, kRed}, {{700, 1100}, kWhite}};
        QTest::newRow("placeable without window: the header's frame") << Build([] {
            MetafileWriter w(QRect(500, 500, 2880, 1440), 1440);
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(500, 500, 720, 720));
            return w.finish();
        }) << QList<Probe>{{{300, 300}, kRed}, {{1000, 300}, kWhite}};
        QTest::newRow("placeable, header's window offset and scaled") << Build([] {
            MetafileWriter w(QRect(500, 500, 2880, 1440), 1440);
            w.offsetWindowOrg(QPoint(100, 0));
            w.scaleWindowExt(1, 2, 1, 2); // half the frame fills it
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(600, 500, 360, 360));
            return w.finish();
        }) << QList<Probe>{{{300, 300}, kRed}, {{650, 650}, kRed}, {{900, 300}, kWhite}, {{300, 900}, kWhite}};
        QTest::newRow("twips mode, window y running up") << Build([] {
            MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
            w.setMapMode(MapMode::Twips);
            w.setWindowOrg(QPoint(0, 0));
            w.setWindowExt(QSize(2880, -1440));
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(0, -400, 720, 400));
            return w.finish();
        }) << QList<Probe>{{{300, 200}, kRed}, {{300, 1200}, kWhite}};
        QTest::newRow("plain metafile in pixels") << Build([] {
            MetafileWriter w(QRect(0, 0, 1, 1), 1440);
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            w.rectangle(QRect(0, 0, 100, 50));
            w.selectNewBrush(kBlue);
            w.rectangle(QRect(100, 50, 100, 50));
            return plain(w.finish());
        }) << QList<Probe>{{{700, 300}, kRed}, {{2200, 1100}, kBlue}, {{2200, 300}, kWhite}};

        // Shapes, with a pen of no width so the probes see the fills.
        QTest::newRow("ellipse") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.ellipse(QRect(0, 0, 1440, 1440));
            return w.finish();
        }) << QList<Probe>{{{720, 720}, kRed}, {{100, 100}, kWhite}, {{720, 60}, kRed}};
        QTest::newRow("rounded rectangle") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.roundRect(QRect(0, 0, 1440, 1440), QSize(720, 720));
            return w.finish();
        }) << QList<Probe>{{{60, 60}, kWhite}, {{720, 60}, kRed}, {{60, 720}, kRed}};
        QTest::newRow("polygon") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.polygon(QPolygon({QPoint(0, 0), QPoint(1440, 0), QPoint(0, 1440)}));
            return w.finish();
        }) << QList<Probe>{{{300, 300}, kRed}, {{1200, 1200}, kWhite}};
        const QList<QPolygon> framed{QPolygon(QRect(0, 0, 1440, 1440)), QPolygon(QRect(360, 360, 720, 720))};
        QTest::newRow("polypolygon, alternate fill: a hole") << Build([framed] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.polyPolygon(framed);
            return w.finish();
        }) << QList<Probe>{{{180, 180}, kRed}, {{720, 720}, kWhite}};
        QTest::newRow("polypolygon, winding fill: no hole") << Build([framed] {
            MetafileWriter w = page();
            w.setPolyFillMode(FillMode::Winding);
            w.selectNewBrush(kRed);
            w.polyPolygon(framed);
            return w.finish();
        }) << QList<Probe>{{{180, 180}, kRed}, {{720, 720}, kRed}};
        QTest::newRow("pie from three to twelve o'clock") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.pie(QRect(0, 0, 1440, 1440), QPoint(1440, 720), QPoint(720, 0));
            return w.finish();
        }) << QList<Probe>{{{1000, 400}, kRed}, {{400, 400}, kWhite}, {{1000, 1000}, kWhite}};
        QTest::newRow("pie, start after end: three quarters") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.pie(QRect(0, 0, 1440, 1440), QPoint(720, 0), QPoint(1440, 720));
            return w.finish();
        }) << QList<Probe>{{{1000, 400}, kWhite}, {{400, 400}, kRed}, {{1000, 1000}, kRed}};
        QTest::newRow("chord") << Build([] {
            MetafileWriter w = page();
            w.selectNewBrush(kRed);
            w.chord(QRect(0, 0, 1440, 1440), QPoint(1440, 720), QPoint(0, 720));
            return w.finish();
        }) << QList<Probe>{{{720, 300}, kRed}, {{720, 1100}, kWhite}};
        QTest::newRow("arc and lines with a wide pen, no fill") << Build([] {
            MetafileWriter w = page();
            w.selectNewPen(kBlue, 144);
            w.selectNewBrush(kRed);
            w.arc(QRect(0, 0, 1440, 1440), QPoint(1440, 720), QPoint(0, 720));
            w.moveTo(QPoint(1600, 100));
            w.lineTo(QPoint(2800, 100));
            w.polyline(QPolygon({QPoint(1600, 1300), QPoint(2800, 1300)}));
            return w.finish();
        }) << QList<Probe>{{{720, 30}, kBlue},   {{720, 300}, kWhite},  {{720, 1400}, kWhite}, {{2200, 100}, kBlue},
                           {{2200, 150}, kBlue}, {{2200, 300}, kWhite}, {{2200, 1300}, kBlue}};
        QTest::newRow("null brush: only the outline") << Build([] {
            MetafileWriter w = page();
            w.selectNewPen(kBlue, 72);
            w.selectNewBrush(kRed, BrushStyle::Null);
            w.rectangle(QRect(100, 100, 1240, 1240));
            return w.finish();
        }) << QList<Probe>{{{720, 720}, kWhite}, {{100, 720}, kBlue}};

        // Clipping as libwmf hands it over.
        QTest::newRow("clip rectangle") << Build([] {
            MetafileWriter w = page();
            w.intersectClipRect(QRect(0, 0, 1440, 1440));
            return filledRect(w, QRect(0, 0, 2880, 1440), kRed);
        }) << QList<Probe>{{{700, 700}, kRed}, {{2200, 700}, kWhite}};
        QTest::newRow("clip with a hole") << Build([] {
            MetafileWriter w = page();
            w.intersectClipRect(QRect(0, 0, 2880, 1440));
            w.excludeClipRect(QRect(1000, 400, 800, 600));
            return filledRect(w, QRect(0, 0, 2880, 1440), kRed);
        }) << QList<Probe>{{{300, 300}, kRed}, {{1400, 700}, kWhite}};
        QTest::newRow("clip undone by RestoreDC") << Build([] {
            MetafileWriter w = page();
            w.saveDC();
            w.intersectClipRect(QRect(0, 0, 1440, 1440));
            w.restoreDC();
            return filledRect(w, QRect(0, 0, 2880, 1440), kRed);
        }) << QList<Probe>{{{700, 700}, kRed}, {{2200, 700}, kRed}};

        // Bitmaps: two by two pixels stretched over the left half of the page.
        QImage four(2, 2, QImage::Format_RGB32);
        four.setPixelColor(0, 0, kRed);
        four.setPixelColor(1, 0, kGreen);
        four.setPixelColor(0, 1, kBlue);
        four.setPixelColor(1, 1, kWhite);
        const QList<Probe> quarters{{{360, 360}, kRed},
                                    {{1080, 360}, kGreen},
                                    {{360, 1080}, kBlue},
                                    {{1080, 1080}, kWhite},
                                    {{2200, 700}, QColor(Qt::yellow)}};
        for (DibDepth depth : {DibDepth::Rgb24, DibDepth::Indexed8, DibDepth::Indexed4}) {
            QTest::addRow("%d-bit bitmap", int(depth)) << Build([four, depth] {
                MetafileWriter w = page();
                w.selectNewBrush(Qt::yellow);
                w.rectangle(QRect(1440, 0, 1440, 1440));
                w.stretchDib(QRect(0, 0, 1440, 1440), four, depth);
                return w.finish();
            }) << quarters;
        }
        QImage checker = four.convertToFormat(QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        QTest::newRow("1-bit bitmap") << Build([checker] {
            MetafileWriter w = page();
            w.stretchDib(QRect(0, 0, 1440, 1440), checker, DibDepth::Indexed1);
            return w.finish();
        }) << QList<Probe>{{{360, 360}, QColor(Qt::black)}, {{1080, 1080}, kWhite}};

        // Text backgrounds.
        QTest::newRow("opaque text background") << Build([] {
            MetafileWriter w = page();
            w.setBackgroundMode(BackgroundMode::Opaque);
            w.setBackgroundColor(kBlue);
            w.setTextColor(kRed);
            w.selectNewFont(Font{QStringLiteral("Arial"), -480});
            w.textOut(QPoint(100, 100), QStringLiteral("a a"));
            return w.finish();
        }) << QList<Probe>{{{130, 140}, kBlue}, {{130, 1000}, kWhite}};
        QTest::newRow("transparent text background") << Build([] {
            MetafileWriter w = page();
            w.setBackgroundColor(kBlue);
            w.setTextColor(kRed);
            w.selectNewFont(Font{QStringLiteral("Arial"), -480});
            w.textOut(QPoint(100, 100), QStringLiteral("a a"));
            return w.finish();
        }) << QList<Probe>{{{130, 140}, kWhite}};
        QTest::newRow("ExtTextOut's opaque rectangle") << Build([] {
            MetafileWriter w = page();
            w.setBackgroundColor(kBlue);
            w.setTextColor(kRed);
            w.selectNewFont(Font{QStringLiteral("Arial"), -240});
            w.extTextOut(QPoint(100, 100), QStringLiteral("x"), TextOption::Opaque, QRect(0, 0, 2000, 1000));
            return w.finish();
        }) << QList<Probe>{{{1500, 800}, kBlue}, {{2500, 1200}, kWhite}};
    }

    // Every row at the screen's scale and at a finer one: the picture must not move.
    void pixels()
    {
        QFETCH(Build, build);
        QFETCH(QList<Probe>, probes);
        const Picture picture = load(build());
        QVERIFY(!picture.isNull());
        for (double twipsPerUnit : {15.0, 3.0}) {
            const QImage image = renderOnWhite(picture, twipsPerUnit);
            for (const Probe &probe : probes) {
                const QColor got = colorAt(image, probe.twips, twipsPerUnit);
                QVERIFY2(nearColour(got, probe.color),
                         qPrintable(QStringLiteral("%1 twips/unit at (%2, %3): %4, not %5")
                                        .arg(twipsPerUnit)
                                        .arg(probe.twips.x())
                                        .arg(probe.twips.y())
                                        .arg(got.name(), probe.color.name())));
            }
        }
    }

    void textPlacement_data()
    {
        QTest::addColumn<quint16>("align");
        QTest::addColumn<int>("escapement");
        QTest::addColumn<bool>("fromCurrentPosition");
        QTest::addColumn<int>("advanceFactor"); // 0: no advances in the record
        QTest::addColumn<int>("characterExtra");
        const std::pair<const char *, quint16> horizontal[] = {{"left", Align::Left},
                                                               {"centre", Align::Center},
                                                               {"right", Align::Right}};
        const std::pair<const char *, quint16> vertical[] = {{"top", Align::Top},
                                                             {"baseline", Align::Baseline},
                                                             {"bottom", Align::Bottom}};
        for (const auto &[hName, h] : horizontal) {
            for (const auto &[vName, v] : vertical)
                QTest::addRow("%s %s", hName, vName) << quint16(h | v) << 0 << false << 0 << 0;
        }
        const quint16 leftTop = Align::Left | Align::Top;
        QTest::newRow("rotated a quarter turn") << quint16(Align::Left | Align::Baseline) << 900 << false << 0 << 0;
        QTest::newRow("rotated, centred") << quint16(Align::Center | Align::Top) << 900 << false << 0 << 0;
        QTest::newRow("from the current position") << quint16(Align::UpdateCurrentPosition) << 0 << true << 0 << 0;
        QTest::newRow("advances twice as wide") << leftTop << 0 << false << 2 << 0;
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
        const QPointF ref(1440, 720);
        const double em = 240;
        const QString text = QStringLiteral("HHHH");
        const QFontMetricsF fm = metricsOf(QStringLiteral("Arial"), em);
        const double advance = fm.horizontalAdvance(QLatin1Char('H'));

        MetafileWriter w = page();
        w.setTextColor(kRed);
        Font font{QStringLiteral("Arial"), -int(em)};
        font.escapement = escapement;
        w.selectNewFont(font);
        w.setTextAlign(align);
        if (characterExtra)
            w.setTextCharacterExtra(characterExtra);
        QList<int> dx;
        for (int i = 0; advanceFactor && i < text.size(); ++i)
            dx << int(std::lround(advance * advanceFactor));
        if (fromCurrentPosition) {
            w.moveTo(ref.toPoint());
            w.textOut(QPoint(0, 0), text);
        } else if (!dx.isEmpty()) {
            w.extTextOut(ref.toPoint(), text, 0, {}, dx);
        } else {
            w.textOut(ref.toPoint(), text);
        }
        const Picture picture = load(w.finish());
        QVERIFY(!picture.isNull());

        double width = fm.horizontalAdvance(text);
        double spacing = 0;
        if (!dx.isEmpty()) {
            spacing = dx[0] - advance;
            width = dx[0] * double(dx.size());
        } else if (characterExtra) {
            spacing = characterExtra;
            width += spacing * double(text.size());
        }
        double x = 0;
        if ((align & Align::Center) == Align::Center)
            x = -width / 2;
        else if ((align & Align::Center) == Align::Right)
            x = -width;
        double baseline = 0;
        if ((align & Align::Baseline) == Align::Top)
            baseline = fm.ascent();
        else if ((align & Align::Baseline) == Align::Bottom)
            baseline = -fm.descent();
        const QRectF inkInText(QPointF(x + fm.leftBearing(QLatin1Char('H')), baseline - fm.capHeight()),
                               QPointF(x + width - spacing - fm.rightBearing(QLatin1Char('H')), baseline));
        QTransform toPage;
        toPage.translate(ref.x(), ref.y());
        toPage.rotate(-escapement / 10.0);
        const QRectF expected = toPage.mapRect(inkInText);

        const double twipsPerUnit = 3;
        const QRectF ink = inkOf(renderOnWhite(picture, twipsPerUnit), kRed, twipsPerUnit, 100);
        const double tolerance = 3 * twipsPerUnit;
        const auto report = [&] {
            return QStringLiteral("ink (%1, %2)-(%3, %4), expected (%5, %6)-(%7, %8)")
                .arg(ink.left())
                .arg(ink.top())
                .arg(ink.right())
                .arg(ink.bottom())
                .arg(expected.left())
                .arg(expected.top())
                .arg(expected.right())
                .arg(expected.bottom());
        };
        QVERIFY2(std::abs(ink.left() - expected.left()) <= tolerance, qPrintable(report()));
        QVERIFY2(std::abs(ink.right() - expected.right()) <= tolerance, qPrintable(report()));
        QVERIFY2(std::abs(ink.top() - expected.top()) <= tolerance, qPrintable(report()));
        QVERIFY2(std::abs(ink.bottom() - expected.bottom()) <= tolerance, qPrintable(report()));
    }

    void fontSize_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Arial, character height") << QStringLiteral("Arial") << -240 << false;
        QTest::newRow("Arial, cell height") << QStringLiteral("Arial") << 240 << false;
        QTest::newRow("Times New Roman") << QStringLiteral("Times New Roman") << -300 << false;
        QTest::newRow("Tahoma, bold") << QStringLiteral("Tahoma") << -200 << true;
    }

    // The capital's height on the screen (15 twips a pixel) and on a 1440 dpi printer
    // (a twip a pixel) is the font's cap height at that em, and the text keeps its width.
    void fontSize()
    {
        QFETCH(QString, face);
        QFETCH(int, height);
        QFETCH(bool, bold);
        MetafileWriter w = page(QRect(0, 0, 1440, 720));
        w.setTextColor(kRed);
        Font font{face, height};
        font.weight = bold ? 700 : 400;
        w.selectNewFont(font);
        w.setTextAlign(Align::Baseline);
        w.textOut(QPoint(100, 500), QStringLiteral("HIH"));
        const Picture picture = load(w.finish());
        QVERIFY(!picture.isNull());

        QFont qfont(face);
        qfont.setWeight(bold ? QFont::Bold : QFont::Normal);
        qfont.setPixelSize(1000);
        qfont.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF unit(qfont);
        const double em = height < 0 ? -height : height * 1000 / (unit.ascent() + unit.descent());
        const double capHeight = unit.capHeight() * em / 1000;
        const double width = (unit.horizontalAdvance(QStringLiteral("HIH")) - unit.leftBearing(QLatin1Char('H'))
                              - unit.rightBearing(QLatin1Char('H')))
                             * em / 1000;
        for (double twipsPerUnit : {15.0, 1.0}) {
            const QRectF ink = inkOf(renderOnWhite(picture, twipsPerUnit), kRed, twipsPerUnit, 100);
            const double tolerance = std::max(1.5 * twipsPerUnit, capHeight * 0.03);
            QVERIFY2(std::abs(ink.height() - capHeight) <= tolerance,
                     qPrintable(QStringLiteral("%1 twips/unit: cap height %2, expected %3")
                                    .arg(twipsPerUnit)
                                    .arg(ink.height())
                                    .arg(capHeight)));
            QVERIFY2(std::abs(ink.width() - width) <= std::max(2 * twipsPerUnit, width * 0.02),
                     qPrintable(QStringLiteral("%1 twips/unit: width %2, expected %3")
                                    .arg(twipsPerUnit)
                                    .arg(ink.width())
                                    .arg(width)));
        }
    }

    void clippedText()
    {
        MetafileWriter w = page();
        w.setTextColor(kRed);
        w.selectNewFont(Font{QStringLiteral("Arial"), -480});
        w.extTextOut(QPoint(100, 100), QStringLiteral("HHHHHHHH"), TextOption::Clipped, QRect(0, 0, 1000, 1440));
        const QRectF ink = inkOf(renderOnWhite(load(w.finish()), 3), kRed, 3);
        QVERIFY(!ink.isNull());
        QVERIFY2(ink.right() <= 1003, qPrintable(QString::number(ink.right())));
    }

    // A drawing exported by Inkscape (see tests/data/metafiles/README.md): its frame, its
    // shapes' colours where the drawing has them, and both titles in their colours.
    void independentWriter()
    {
        const Picture picture = load(fileBytes(testData(QStringLiteral("inkscape-drawing.wmf"))));
        QVERIFY(!picture.isNull());
        // 160 mm by 100 mm.
        QCOMPARE_LT(std::abs(picture.sizeTwips().width() - 160 / 25.4 * 1440), 2.0);
        QCOMPARE_LT(std::abs(picture.sizeTwips().height() - 100 / 25.4 * 1440), 2.0);
        const double scale = picture.sizeTwips().width() / 1600; // twips per unit of the SVG
        const QList<Probe> probes{{{330, 420}, QColor(0x00, 0xa0, 0x00)},
                                  {{1000, 420}, QColor(0xff, 0xd0, 0x00)},
                                  {{1380, 520}, QColor(0x80, 0x00, 0xc0)},
                                  {{800, 829}, QColor(0xff, 0x60, 0x00)},
                                  {{1200, 700}, kWhite},
                                  {{80, 420}, QColor(Qt::black)}};
        for (double twipsPerUnit : {15.0, 4.0}) {
            const QImage image = renderOnWhite(picture, twipsPerUnit);
            for (const Probe &probe : probes) {
                const QColor got = colorAt(image, probe.twips * scale, twipsPerUnit);
                QVERIFY2(
                    nearColour(got, probe.color),
                    qPrintable(
                        QStringLiteral("at %1, %2: %3").arg(probe.twips.x()).arg(probe.twips.y()).arg(got.name())));
            }
            // The titles: 110 units high on a baseline at 150, from x 80 and x 880, as wide
            // as the faces make them.
            const QTransform toSvg = QTransform::fromScale(1 / scale, 1 / scale);
            const QRectF serif = toSvg.mapRect(inkOf(image, QColor(0xc0, 0, 0), twipsPerUnit));
            const QRectF sans = toSvg.mapRect(inkOf(image, QColor(0, 0, 0xc0), twipsPerUnit));
            const struct {
                QRectF ink;
                double left;
                QString face;
                QString text;
            } titles[] = {{serif, 80, QStringLiteral("Times New Roman"), QStringLiteral("Serif title")},
                          {sans, 880, QStringLiteral("Arial"), QStringLiteral("Sans title")}};
            for (const auto &title : titles) {
                const QFontMetricsF fm = metricsOf(title.face, 1000);
                const double width = (fm.horizontalAdvance(title.text) - fm.leftBearing(title.text.front())
                                      - fm.rightBearing(title.text.back()))
                                     * 110 / 1000;
                const QRectF &ink = title.ink;
                QVERIFY2(std::abs(ink.left() - title.left) < 15 && std::abs(ink.bottom() - 150) < 6 && ink.top() > 60
                             && ink.top() < 90 && std::abs(ink.width() - width) < width * 0.03,
                         qPrintable(QStringLiteral("%1: ink (%2, %3)-(%4, %5), %6 wide expected")
                                        .arg(title.text)
                                        .arg(ink.left())
                                        .arg(ink.top())
                                        .arg(ink.right())
                                        .arg(ink.bottom())
                                        .arg(width)));
            }
        }
    }

    // Printed to PDF the page keeps real text, which pdftotext reads back.
    void pdfHasText()
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setResolution(1440);
            QPainter painter(&writer);
            load(fileBytes(testData(QStringLiteral("inkscape-drawing.wmf")))).draw(painter, QPointF(0, 0), 1);
            MetafileWriter w = page();
            w.selectNewFont(Font{QStringLiteral("Tahoma"), -240});
            w.textOut(QPoint(100, 100), QStringLiteral("Ardovin Sevrani's telescope"));
            load(w.finish()).draw(painter, QPointF(0, 7000), 1);
        }
        QProcess process;
        process.start(pdftotext, {pdf, QStringLiteral("-")});
        QVERIFY(process.waitForFinished(30000));
        const QString text = QString::fromUtf8(process.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Serif title")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Sans title")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Ardovin Sevrani's telescope")), qPrintable(text));
    }

    // A re-shown page comes from the kept rendering; it must show what the vectors draw.
    void keptRenderingMatchesVectors()
    {
        const Picture picture = load(fileBytes(testData(QStringLiteral("inkscape-drawing.wmf"))));
        const QImage kept = renderOnWhite(picture, 15);
        QImage vectors(kept.size(), QImage::Format_RGB32);
        vectors.fill(kWhite);
        {
            QPainter painter(&vectors);
            painter.scale(2, 2); // not a plain translation: drawn from the vectors
            picture.draw(painter, QPointF(0, 0), 30);
        }
        int different = 0;
        for (int y = 0; y < kept.height(); ++y) {
            for (int x = 0; x < kept.width(); ++x)
                different += nearColour(kept.pixelColor(x, y), vectors.pixelColor(x, y), 60) ? 0 : 1;
        }
        QVERIFY2(different < kept.width() * kept.height() / 200, qPrintable(QString::number(different)));
    }

    void throughThePictureLoader()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("wmf"));
        QFile file(dir.filePath(QStringLiteral("wmf/page.wmf")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(filledRect(page(), QRect(0, 0, 2880, 1440), kRed));
        file.close();
        const DataPaths paths(dir.path());
        const PictureLoader::Result result = PictureLoader(paths).load(QStringLiteral("wmf\\page.wmf"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.picture.source(), QStringLiteral("wmf\\page.wmf"));
        QCOMPARE(result.picture.sizeTwips(), QSizeF(2880, 1440));
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = filledRect(page(), QRect(0, 0, 100, 100), kRed);
        // The writer's records: SetMapMode (4 words), SetWindowOrg (5), SetWindowExt (5), ...
        const qsizetype secondRecord = kFirstRecord + 8;

        QByteArray garbage(4096, '\0');
        QRandomGenerator random(7);
        for (char &c : garbage)
            c = char(random.bounded(256));
        QTest::newRow("garbage") << garbage << QStringLiteral("Not a metafile");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Not a metafile");
        QTest::newRow("cut in a record") << good.left(good.size() - 9) << QStringLiteral("past the end");
        QTest::newRow("cut between records") << good.left(secondRecord) << QStringLiteral("cut short");
        QByteArray pastEnd = good;
        setDword(pastEnd, secondRecord, 5000);
        QTest::newRow("size field past the end") << pastEnd << QStringLiteral("past the end");
        QByteArray huge = good;
        setDword(huge, secondRecord, 0x80000003); // doubled in 32 bits this would be six bytes
        QTest::newRow("huge record") << huge << QStringLiteral("past the end");
        QByteArray zero = good;
        setDword(zero, secondRecord, 0);
        QTest::newRow("zero-size record") << zero << QStringLiteral("impossible size");
        QByteArray unknown = good;
        setWord(unknown, secondRecord + 4, 0x7777);
        QTest::newRow("unknown record type") << unknown << QStringLiteral("unknown type");
        QByteArray shortRecord = good;
        setDword(shortRecord, kFirstRecord, 3); // SetMapMode without its parameter
        QTest::newRow("record too short for its type") << shortRecord << QStringLiteral("too short");
        QByteArray noInch = good;
        setWord(noInch, 14, 0);
        QTest::newRow("placeable header without units") << noInch << QStringLiteral("units per inch");

        MetafileWriter many = page();
        for (int i = 0; i < 260000; ++i)
            many.setBackgroundMode(BackgroundMode::Transparent);
        QTest::newRow("absurd record count") << many.finish() << QStringLiteral("more than 250000 records");
        MetafileWriter objects = page();
        for (int i = 0; i < 5000; ++i)
            objects.createBrush(kRed);
        QTest::newRow("absurd object count") << objects.finish() << QStringLiteral("objects at once");
        MetafileWriter nested = page();
        for (int i = 0; i < 100; ++i)
            nested.saveDC();
        QTest::newRow("saved states nested too deep") << nested.finish() << QStringLiteral("deep");
        MetafileWriter longPolygon = page();
        longPolygon.polygon(QPolygon({QPoint(0, 0), QPoint(10, 0), QPoint(10, 10), QPoint(0, 10)}));
        QByteArray polygon = longPolygon.finish();
        const qsizetype polygonRecord = polygon.size() - 6 - qsizetype(2) * (3 + 1 + 2 * 4); // the last one
        setWord(polygon, polygonRecord + 6, 200); // its point count
        QTest::newRow("polygon longer than its record") << polygon << QStringLiteral("longer than its record");
        QTest::newRow("larger than 16 MB")
            << good + QByteArray(qsizetype(16) * 1024 * 1024, '\0') << QStringLiteral("larger");
    }

    // Each is refused with a reason, never a crash or a hang (also run under the
    // sanitizers: ctest --preset asan -R metafile).
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const MetafileResult result = loadMetafile(bytes, QStringLiteral("wmf\\bad.wmf"));
        QVERIFY(result.picture.isNull());
        QVERIFY2(result.error.contains(QStringLiteral("wmf\\bad.wmf")), qPrintable(result.error));
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    }

    void tolerated_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = filledRect(page(), QRect(0, 0, 2880, 1440), kRed);
        QTest::newRow("as written") << good;
        QTest::newRow("no end record") << good.left(good.size() - 6);
        QByteArray wrongCounts = good;
        setWord(wrongCounts, 22 + 10, 0); // no objects
        setDword(wrongCounts, 22 + 12, 3); // largest record: three words
        QTest::newRow("header counts wrong") << wrongCounts;
        QByteArray checksum = good;
        setWord(checksum, 20, 0x1234);
        QTest::newRow("placeable checksum wrong") << checksum;
        QByteArray trailing = good + QByteArray("trailing bytes");
        QTest::newRow("bytes after the end record") << trailing;
        MetafileWriter odd = page();
        odd.restoreDC(); // nothing saved
        ObjectHandle gone = odd.createBrush(kBlue);
        odd.deleteObject(gone);
        QTest::newRow("restore without save") << filledRect(odd, QRect(0, 0, 2880, 1440), kRed);
        QByteArray missingObject = good;
        // The pen's SelectObject (after SetMapMode, SetWindowOrg, SetWindowExt, SetBkMode
        // and CreatePenIndirect) names a slot nothing was created in.
        setWord(missingObject, kFirstRecord + 8 + 10 + 10 + 8 + 16 + 6, 99);
        QTest::newRow("select of an object that was never made") << missingObject;
        // libwmf's objects share memory: what a DC still selects after its object was
        // deleted is whatever was created in the slot next.
        MetafileWriter reused = page();
        const ObjectHandle brush = reused.selectNewBrush(kBlue);
        reused.deleteObject(brush);
        reused.selectNewPen(kBlue, 10, PenStyle::Null); // now a "brush" of style 5, a bitmap pattern
        reused.rectangle(QRect(0, 0, 100, 100));
        const ObjectHandle font = reused.selectNewFont(Font{QStringLiteral("Arial"), -200});
        reused.deleteObject(font);
        reused.selectNewPen(kBlue); // the DC's font is now a pen
        reused.textOut(QPoint(100, 100), QStringLiteral("text in a font that is gone"));
        MetafileWriter controls = page();
        controls.textOut(QPoint(100, 100), QStringLiteral("bell\x07 tab\t end\x7f"));
        QTest::newRow("control characters in text") << filledRect(controls, QRect(0, 0, 2880, 1440), kRed);
        QTest::newRow("selected objects deleted, their slots reused")
            << filledRect(reused, QRect(0, 0, 2880, 1440), kRed);
    }

    // Quirks real files have: the page still comes out.
    void tolerated()
    {
        QFETCH(QByteArray, bytes);
        const Picture picture = load(bytes);
        QVERIFY(!picture.isNull());
        QVERIFY(nearColour(colorAt(renderOnWhite(picture, 15), QPointF(1440, 720), 15), kRed));
    }
};

QTEST_MAIN(TestMetafile)
#include "tst_metafile.moc"
