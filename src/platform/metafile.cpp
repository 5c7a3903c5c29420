#include "metafile.h"

#include "metafilepicture.h"
#include "metafilescan.h"
#include "windows1252.h"

#include "toolkit/twips.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <numbers>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// libwmf's headers define U8, U16, S16, U32, S32 and GDI names (OPAQUE, TRANSPARENT,
// TA_CENTER, ...) as macros: they come after every other header and stay in this file.
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>

namespace velmora {

namespace {

using namespace metafile;

// Mapping modes as libwmf keeps them in the DC (MM_DPI: a placeable file that never
// set one).
enum MapModes : quint16 {
    kMapText = 1,
    kMapLoMetric = 2,
    kMapHiMetric = 3,
    kMapLoEnglish = 4,
    kMapHiEnglish = 5,
    kMapTwips = 6,
    kMapIsotropic = 7,
    kMapAnisotropic = 8,
    kMapDpi = 9,
};

constexpr double kCoordinateLimit = 4 * kMaxSideTwips;
constexpr double kDefaultEmTwips = 240; // a font of height zero: 12 points
constexpr double kMaxEmTwips = 20000;
constexpr qint64 kMaxBitmapPixels = qint64(4096) * 4096;
constexpr qint64 kMaxBitmapBytes = qint64(128) * 1024 * 1024; // decoded, for one file
constexpr qint64 kPlayBudgetMs = 5000;
constexpr int kUnitFontPixels = 1000; // string widths are measured at this size

double finiteOr0(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

double clampCoordinate(double v)
{
    return std::clamp(finiteOr0(v), -kCoordinateLimit, kCoordinateLimit);
}

QColor colorOf(const wmfRGB &c)
{
    return QColor(c.r, c.g, c.b);
}

// Twips per logical unit of the fixed mapping modes; y runs up in the metric ones.
double unitTwips(quint16 mode)
{
    switch (mode) {
    case kMapLoMetric:
        return 1440.0 / 254;
    case kMapHiMetric:
        return 1440.0 / 2540;
    case kMapLoEnglish:
        return 14.4;
    case kMapHiEnglish:
        return 1.44;
    case kMapTwips:
        return 1;
    default:
        return 15; // a screen pixel
    }
}

bool yRunsUp(quint16 mode)
{
    return mode >= kMapLoMetric && mode <= kMapTwips;
}

struct FontInfo {
    QFont base; // everything but the size
    QFont unit; // at kUnitFontPixels, for libwmf's string widths
    QFontMetricsF unitMetrics{QFont()};
    int signedHeight = 0;
    int width = 0;
    int escapement = 0;
};

struct Bitmap {
    std::unique_ptr<QImage> image;
    bool bottomUp = true;
};

// Device coordinates (as libwmf hands them over) to twips: t = a * d + b per axis.
struct Mapping {
    double ax = 0, bx = 0, ay = 0, by = 0;
    double pixelWidth = 1, pixelHeight = 1; // libwmf's device units per logical unit
    bool valid = false;

    QPointF point(double x, double y) const { return {clampCoordinate(ax * x + bx), clampCoordinate(ay * y + by)}; }
    QPointF point(const wmfD_Coord &d) const { return point(d.x, d.y); }
    QPointF vector(double dx, double dy) const { return {finiteOr0(ax * dx), finiteOr0(ay * dy)}; }
    QRectF rect(const wmfD_Coord &a, const wmfD_Coord &b) const { return QRectF(point(a), point(b)).normalized(); }
    // Twips per logical unit.
    double logicalX() const { return std::abs(ax * pixelWidth); }
    double logicalY() const { return std::abs(ay * pixelHeight); }
};

struct Player {
    const Scan &scan;
    DisplayList list;
    std::deque<FontInfo> fonts; // a font's user_data points into this
    std::unordered_set<const void *> fontInfos;
    std::unordered_map<const void *, Bitmap> bitmaps;
    qint64 bitmapBytes = 0;
    int lastTextRecord = -1;
    QSizeF frame; // twips; empty for a plain file framed by its drawing
    bool windowFrame = false; // the window maps onto the frame
    QElapsedTimer clock;

    explicit Player(const Scan &s)
        : scan(s)
    {
    }
};

Player &playerOf(wmfAPI *api)
{
    return *static_cast<Player *>(api->device_data);
}

int currentRecord(wmfAPI *api)
{
    const long position = api->bbuf.tell ? api->bbuf.tell(api->buffer_data) : -1;
    return position < 0 ? -1 : playerOf(api).scan.recordEndingAt(position);
}

// libwmf's own device units per logical unit, signs included.
double pixelWidth(const wmfDC *dc)
{
    if (dc->map_mode != kMapIsotropic && dc->map_mode != kMapAnisotropic && dc->Window.width < 0)
        return -dc->pixel_width;
    return dc->pixel_width;
}

double pixelHeight(const wmfDC *dc)
{
    if (dc->map_mode != kMapIsotropic && dc->map_mode != kMapAnisotropic && dc->Window.height < 0)
        return -dc->pixel_height;
    return dc->pixel_height;
}

// Back from device units to logical ones with the DC's pixel size and window origin,
// then onto the picture's frame: the window the file set (or, for a placeable file that
// sets none, the frame of its header) fills the frame, as when Windows plays a
// placeable file into its rectangle. A plain file that sets no window keeps the
// physical units of its mapping mode and is framed by its drawing afterwards.
Mapping mappingFor(wmfAPI *api, const wmfDC *dc)
{
    const Player &player = playerOf(api);
    const Scan &scan = player.scan;
    Mapping m;
    m.pixelWidth = pixelWidth(dc);
    m.pixelHeight = pixelHeight(dc);
    if (!std::isfinite(m.pixelWidth) || !std::isfinite(m.pixelHeight) || m.pixelWidth == 0 || m.pixelHeight == 0)
        return m;
    int index = currentRecord(api);
    if (index < 0)
        index = int(scan.records.size());
    const bool orgSet = scan.firstWindowOrgRecord >= 0 && index > scan.firstWindowOrgRecord;
    const bool extSet = scan.firstWindowExtRecord >= 0 && index > scan.firstWindowExtRecord;
    if (player.windowFrame) {
        QPointF org(dc->Window.Ox, dc->Window.Oy);
        QSizeF ext(dc->Window.width, dc->Window.height);
        // A placeable file starts with its header's frame as the window; libwmf starts
        // with an origin of 0 and an extent of 1024, which offsets and scalings then move.
        if (scan.placeable && !orgSet)
            org += QPointF(scan.left, scan.top);
        if (scan.placeable && !extSet)
            ext = QSizeF((scan.right - scan.left) * ext.width() / 1024, (scan.bottom - scan.top) * ext.height() / 1024);
        if (ext.width() == 0 || ext.height() == 0)
            return m;
        double kx = player.frame.width() / ext.width();
        double ky = player.frame.height() / ext.height();
        if (dc->map_mode == kMapIsotropic) {
            const double k = std::min(std::abs(kx), std::abs(ky));
            kx = std::copysign(k, kx);
            ky = std::copysign(k, ky);
        }
        m.ax = kx / m.pixelWidth;
        m.bx = (dc->Window.Ox - org.x()) * kx;
        m.ay = ky / m.pixelHeight;
        m.by = (dc->Window.Oy - org.y()) * ky;
    } else {
        const double unit = unitTwips(dc->map_mode);
        m.ax = unit / m.pixelWidth;
        m.ay = (yRunsUp(dc->map_mode) ? -unit : unit) / m.pixelHeight;
    }
    m.valid = std::isfinite(m.ax) && std::isfinite(m.ay) && std::isfinite(m.bx) && std::isfinite(m.by);
    return m;
}

// ---- Fonts -----------------------------------------------------------------------

// The family Qt is asked for: an installed one, one of the Windows names fontconfig
// has metric twins for, or else the closest of those by the font's family bits. Qt
// is never handed a made-up name: each one costs a fontconfig search and memory that
// is not given back, and a hostile file can hold thousands. The installed families
// are read once, after the program registered its own faces at start-up.
QString faceOf(const wmfFont *font)
{
    static const QHash<QString, QString> known = [] {
        QHash<QString, QString> names;
        const QStringList twins = {QStringLiteral("Arial"),       QStringLiteral("Times New Roman"),
                                   QStringLiteral("Courier New"), QStringLiteral("Helvetica"),
                                   QStringLiteral("Times"),       QStringLiteral("Courier"),
                                   QStringLiteral("Symbol")};
        for (const QStringList &list : {QFontDatabase::families(), twins}) {
            for (const QString &name : list)
                names.insert(name.toCaseFolded(), name);
        }
        return names;
    }();
    if (font->lfFaceName) {
        const QString face = fromWindows1252(QByteArray(font->lfFaceName)).trimmed().toCaseFolded();
        if (const auto found = known.constFind(face); found != known.constEnd())
            return found.value();
    }
    constexpr int kFamilyMask = 0xF0, kRoman = 0x10, kModern = 0x30, kPitchMask = 0x03, kFixedPitch = 1;
    if ((font->lfPitchAndFamily & kFamilyMask) == kRoman)
        return QStringLiteral("Times New Roman");
    if ((font->lfPitchAndFamily & kFamilyMask) == kModern || (font->lfPitchAndFamily & kPitchMask) == kFixedPitch)
        return QStringLiteral("Courier New");
    return QStringLiteral("Arial");
}

FontInfo fontInfoOf(const wmfFont *font, int signedHeight, int width)
{
    FontInfo info;
    info.base = QFont(faceOf(font));
    info.base.setWeight(QFont::Weight(font->lfWeight == 0 ? 400 : std::clamp<int>(font->lfWeight, 100, 900)));
    info.base.setItalic(font->lfItalic != 0);
    info.base.setUnderline(font->lfUnderline != 0);
    info.base.setStrikeOut(font->lfStrikeOut != 0);
    // Windows lays text out without kerning and with linear advances; the metric twins
    // then land where the original did, at any scale.
    info.base.setKerning(false);
    info.base.setHintingPreference(QFont::PreferNoHinting);
    info.unit = info.base;
    info.unit.setPixelSize(kUnitFontPixels);
    info.unitMetrics = QFontMetricsF(info.unit);
    info.signedHeight = signedHeight;
    info.width = width;
    info.escapement = font->lfEscapement;
    return info;
}

FontInfo &addFont(Player &player, FontInfo info)
{
    player.fonts.push_back(std::move(info));
    player.fontInfos.insert(&player.fonts.back());
    return player.fonts.back();
}

// libwmf's objects share their memory: after a file deletes the selected font and
// creates a pen or brush in its slot, the DC's font is that pen or brush. Only a
// user_data this player handed out is trusted, and a font that is no font is drawn in
// the default face (its name pointer is not touched).
const FontInfo &fontInfo(wmfAPI *api, wmfFont *font)
{
    Player &player = playerOf(api);
    if (!player.fontInfos.contains(font->user_data)) {
        wmfFont plain = *font;
        plain.lfFaceName = nullptr;
        plain.lfWeight = 400;
        plain.lfItalic = plain.lfUnderline = plain.lfStrikeOut = 0;
        plain.lfEscapement = 0;
        return addFont(player, fontInfoOf(&plain, font->lfHeight, 0));
    }
    return *static_cast<const FontInfo *>(font->user_data);
}

// libwmf calls this as each font is created; the record tells what libwmf leaves out:
// whether the height was the character height (negative) or the cell's.
void mapFont(wmfAPI *api, wmfFont *font)
{
    Player &player = playerOf(api);
    const int index = currentRecord(api);
    int signedHeight = font->lfHeight;
    int width = 0;
    if (index >= 0 && player.scan.records[index].function == kCreateFontIndirect) {
        signedHeight = player.scan.signedWord(player.scan.records[index], 0);
        width = player.scan.signedWord(player.scan.records[index], 1);
    }
    font->user_data = &addFont(player, fontInfoOf(font, signedHeight, width));
}

// Text as it prints. Control characters print nothing on a page; left in, they send
// Qt looking through every installed font for a glyph (and fontconfig keeps what it
// found for good).
QString printable(const QByteArray &bytes)
{
    QString text = fromWindows1252(bytes);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text;
}

// The width of `text` for a font one unit high, as libwmf wants it for its own
// alignment arithmetic.
float stringWidth(wmfAPI *api, wmfFont *font, char *text)
{
    if (!text)
        return 0;
    const FontInfo &info = fontInfo(api, font);
    return float(info.unitMetrics.horizontalAdvance(printable(QByteArray(text))) / kUnitFontPixels);
}

// ---- Pens and brushes ------------------------------------------------------------

std::optional<QColor> ropColor(const wmfDC *dc, QColor color)
{
    switch (dc->ROPmode) {
    case R2_NOP:
        return std::nullopt;
    case R2_BLACK:
        return QColor(Qt::black);
    case R2_WHITE:
        return QColor(Qt::white);
    case R2_NOTCOPYPEN:
        return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
    default:
        return color;
    }
}

std::optional<Stroke> strokeOf(const wmfDC *dc, const Mapping &m)
{
    const wmfPen *pen = dc->pen;
    if (!pen || (pen->lopnStyle & PS_STYLE_MASK) == PS_NULL)
        return std::nullopt;
    const std::optional<QColor> color = ropColor(dc, colorOf(pen->lopnColor));
    if (!color)
        return std::nullopt;
    Stroke s;
    s.color = *color;
    s.widthTwips = std::min(std::abs(finiteOr0(pen->width * m.ax)), kMaxSideTwips);
    // Windows draws styled pens dashed only while they are thin.
    if (s.widthTwips <= kTwipsPerPixel) {
        switch (pen->lopnStyle & PS_STYLE_MASK) {
        case PS_DASH:
            s.dashes = Dashes::Dash;
            break;
        case PS_DOT:
            s.dashes = Dashes::Dot;
            break;
        case PS_DASHDOT:
            s.dashes = Dashes::DashDot;
            break;
        case PS_DASHDOTDOT:
            s.dashes = Dashes::DashDotDot;
            break;
        default:
            break;
        }
    }
    switch (pen->lopnStyle & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE:
        s.cap = Qt::SquareCap;
        break;
    case PS_ENDCAP_FLAT:
        s.cap = Qt::FlatCap;
        break;
    default:
        s.cap = Qt::RoundCap;
        break;
    }
    switch (pen->lopnStyle & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
        s.join = Qt::BevelJoin;
        break;
    case PS_JOIN_MITER:
        s.join = Qt::MiterJoin;
        break;
    default:
        s.join = Qt::RoundJoin;
        break;
    }
    return s;
}

Qt::BrushStyle hatchStyle(quint16 hatch)
{
    switch (hatch) {
    case HS_VERTICAL:
        return Qt::VerPattern;
    case HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case HS_CROSS:
        return Qt::CrossPattern;
    case HS_DIAGCROSS:
        return Qt::DiagCrossPattern;
    default:
        return Qt::HorPattern;
    }
}

// A brush pattern is so many screen pixels, whatever the device.
QTransform patternScale()
{
    return QTransform::fromScale(kTwipsPerPixel, kTwipsPerPixel);
}

// The brush may be the remains of another object (see fontInfo): its bitmap is only
// used when it is one this player decoded and still holds.
void setFill(wmfAPI *api, ShapeItem &shape, const wmfDC *dc, const wmfBrush *brush)
{
    if (!brush || brush->lbStyle == BS_NULL)
        return;
    const std::optional<QColor> color = ropColor(dc, colorOf(brush->lbColor));
    if (!color)
        return;
    switch (brush->lbStyle) {
    case BS_HATCHED: {
        QBrush b(*color, hatchStyle(brush->lbHatch));
        b.setTransform(patternScale());
        shape.fill = b;
        if (dc->bgmode == OPAQUE)
            shape.hatchBackground = colorOf(dc->bgcolor);
        break;
    }
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (const auto found = playerOf(api).bitmaps.find(brush->bmp.data); found != playerOf(api).bitmaps.end()) {
            QBrush b(*found->second.image);
            b.setTransform(patternScale());
            shape.fill = b;
            break;
        }
        shape.fill = QBrush(*color);
        break;
    default:
        shape.fill = QBrush(*color);
        break;
    }
}

void addShape(wmfAPI *api, const wmfDC *dc, const Mapping &m, QPainterPath path, bool fill)
{
    ShapeItem shape;
    shape.stroke = strokeOf(dc, m);
    if (fill) {
        path.setFillRule(dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        setFill(api, shape, dc, dc->brush);
    }
    if (!shape.stroke && !shape.fill)
        return;
    if (shape.stroke && shape.stroke->dashes != Dashes::None)
        shape.dashedLength = path.length();
    shape.path = std::move(path);
    playerOf(api).list.items.emplace_back(std::move(shape));
}

// ---- Drawing callbacks -----------------------------------------------------------

void drawPixel(wmfAPI *api, wmfDrawPixel_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    const std::optional<QColor> color = ropColor(d->dc, colorOf(d->color));
    if (!m.valid || !color)
        return;
    wmfD_Coord far = d->pt;
    far.x = float(far.x + d->pixel_width);
    far.y = float(far.y + d->pixel_height);
    ShapeItem shape;
    shape.path.addRect(m.rect(d->pt, far));
    shape.fill = QBrush(*color);
    playerOf(api).list.items.emplace_back(std::move(shape));
}

// Where an arc's radial through `point` meets the ellipse, as the angle QPainterPath
// takes (degrees, counter-clockwise on the page, parametric for ellipses).
double radialAngle(QPointF radial, QRectF box)
{
    const double rx = box.width() / 2;
    const double ry = box.height() / 2;
    if (rx <= 0 || ry <= 0)
        return 0;
    return std::atan2(-radial.y() / ry, radial.x() / rx) * 180 / std::numbers::pi;
}

enum class ArcKind { Arc, Pie, Chord };

void drawArcLike(wmfAPI *api, wmfDrawArc_t *d, ArcKind kind)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid)
        return;
    const QRectF box = m.rect(d->TL, d->BR);
    // libwmf hands over the radials clamped to the box, one axis at a time, which turns
    // them; the record has them as written. (libwmf also names the record's start
    // point "end".)
    QPointF start = m.vector(d->end.x, d->end.y);
    QPointF end = m.vector(d->start.x, d->start.y);
    const Player &player = playerOf(api);
    const int index = currentRecord(api);
    if (index >= 0) {
        const Record &r = player.scan.records[index];
        const Scan &s = player.scan;
        const double cx = (double(s.signedWord(r, 7)) + s.signedWord(r, 5)) / 2;
        const double cy = (double(s.signedWord(r, 6)) + s.signedWord(r, 4)) / 2;
        start = m.vector((s.signedWord(r, 3) - cx) * m.pixelWidth, (s.signedWord(r, 2) - cy) * m.pixelHeight);
        end = m.vector((s.signedWord(r, 1) - cx) * m.pixelWidth, (s.signedWord(r, 0) - cy) * m.pixelHeight);
    }
    const double from = radialAngle(start, box);
    double sweep = radialAngle(end, box) - from;
    while (sweep <= 0) // Windows goes counter-clockwise; the same radial twice: all round
        sweep += 360;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(box.center());
        path.arcTo(box, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, from);
        path.arcTo(box, from, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    addShape(api, d->dc, m, path, kind != ArcKind::Arc);
}

void drawPie(wmfAPI *api, wmfDrawArc_t *d)
{
    drawArcLike(api, d, ArcKind::Pie);
}

void drawChord(wmfAPI *api, wmfDrawArc_t *d)
{
    drawArcLike(api, d, ArcKind::Chord);
}

void drawArc(wmfAPI *api, wmfDrawArc_t *d)
{
    drawArcLike(api, d, ArcKind::Arc);
}

void drawEllipse(wmfAPI *api, wmfDrawArc_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid)
        return;
    QPainterPath path;
    path.addEllipse(m.rect(d->TL, d->BR));
    addShape(api, d->dc, m, path, true);
}

void drawLine(wmfAPI *api, wmfDrawLine_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid)
        return;
    QPainterPath path(m.point(d->from));
    path.lineTo(m.point(d->to));
    addShape(api, d->dc, m, path, false);
}

QPainterPath pathOf(const Mapping &m, const wmfD_Coord *points, int count, bool closed)
{
    QPainterPath path;
    if (!points || count < 1)
        return path;
    path.moveTo(m.point(points[0]));
    for (int i = 1; i < count; ++i)
        path.lineTo(m.point(points[i]));
    if (closed)
        path.closeSubpath();
    return path;
}

void polyLine(wmfAPI *api, wmfPolyLine_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid || d->count < 2)
        return;
    addShape(api, d->dc, m, pathOf(m, d->pt, d->count, false), false);
}

void drawPolygon(wmfAPI *api, wmfPolyLine_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid || d->count < 2)
        return;
    addShape(api, d->dc, m, pathOf(m, d->pt, d->count, true), true);
}

void drawPolyPolygon(wmfAPI *api, wmfPolyPoly_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid || !d->pt || !d->count)
        return;
    QPainterPath path;
    for (int i = 0; i < d->npoly; ++i)
        path.addPath(pathOf(m, d->pt[i], d->count[i], true));
    if (!path.isEmpty())
        addShape(api, d->dc, m, path, true);
}

void drawRectangle(wmfAPI *api, wmfDrawRectangle_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid)
        return;
    QPainterPath path;
    const QRectF rect = m.rect(d->TL, d->BR);
    const QPointF corner = m.vector(d->width, d->height);
    if (corner.x() != 0 && corner.y() != 0)
        path.addRoundedRect(rect, std::abs(corner.x()) / 2, std::abs(corner.y()) / 2);
    else
        path.addRect(rect);
    addShape(api, d->dc, m, path, true);
}

void ropDraw(wmfAPI *api, wmfROP_Draw_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid)
        return;
    ShapeItem shape;
    shape.path.addRect(m.rect(d->TL, d->BR));
    switch (d->ROP) {
    case PATCOPY:
        setFill(api, shape, d->dc, d->dc->brush);
        break;
    case BLACKNESS:
        shape.fill = QBrush(Qt::black);
        break;
    case WHITENESS:
        shape.fill = QBrush(Qt::white);
        break;
    default: // raster operations that need the pixels underneath
        break;
    }
    if (shape.fill)
        playerOf(api).list.items.emplace_back(std::move(shape));
}

QPainterPath regionPath(const Mapping &m, const wmfPolyRectangle_t *d)
{
    QPainterPath path;
    if (!d->TL || !d->BR)
        return path;
    if (d->count > unsigned(kMaxRegionRectangles)) {
        // More pieces than any page has: the region's extent stands in.
        QRectF extent;
        for (unsigned i = 0; i < d->count; ++i)
            extent = extent.united(m.rect(d->TL[i], d->BR[i]));
        path.addRect(extent);
        return path;
    }
    for (unsigned i = 0; i < d->count; ++i)
        path.addRect(m.rect(d->TL[i], d->BR[i]));
    return path;
}

void regionPaint(wmfAPI *api, wmfPolyRectangle_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid || d->count == 0)
        return;
    ShapeItem shape;
    shape.path = regionPath(m, d);
    shape.path.setFillRule(Qt::WindingFill);
    setFill(api, shape, d->dc, d->dc->brush);
    if (shape.fill)
        playerOf(api).list.items.emplace_back(std::move(shape));
}

void regionFrame(wmfAPI *api, wmfPolyRectangle_t *d)
{
    const Mapping m = mappingFor(api, d->dc);
    if (!m.valid || d->count == 0 || !d->TL || !d->BR)
        return;
    const QPointF border = m.vector(d->width, d->height);
    ShapeItem shape;
    const unsigned count = std::min(d->count, unsigned(kMaxRegionRectangles));
    for (unsigned i = 0; i < count; ++i) {
        const QRectF outer = m.rect(d->TL[i], d->BR[i]);
        shape.path.addRect(outer);
        shape.path.addRect(
            outer.adjusted(std::abs(border.x()), std::abs(border.y()), -std::abs(border.x()), -std::abs(border.y())));
    }
    shape.path.setFillRule(Qt::OddEvenFill);
    setFill(api, shape, d->dc, d->dc->brush);
    if (shape.fill)
        playerOf(api).list.items.emplace_back(std::move(shape));
}

void regionClip(wmfAPI *api, wmfPolyRectangle_t *d)
{
    ClipItem clip;
    if (d->count > 0) {
        const Mapping m = mappingFor(api, d->dc);
        if (!m.valid)
            return;
        clip.region = regionPath(m, d);
        clip.region->setFillRule(Qt::WindingFill);
    }
    playerOf(api).list.items.emplace_back(std::move(clip));
}

// ---- Bitmaps ---------------------------------------------------------------------

quint32 dword(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 word(const uchar *p)
{
    return qFromLittleEndian<quint16>(p);
}

// A packed DIB: info header (or the old core header), colour table, pixel rows padded
// to four bytes. Uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel (16 and 32 also
// with bit masks). Anything else, or anything cut short, gives a null image.
QImage decodeDib(const uchar *data, qint64 length, bool &bottomUp)
{
    if (!data || length < 12)
        return {};
    const quint32 headerSize = dword(data);
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    int quadSize = 4;
    if (headerSize == 12) {
        width = word(data + 4);
        height = qint16(word(data + 6));
        bits = word(data + 10);
        quadSize = 3;
    } else if (headerSize >= 40 && qint64(headerSize) <= length) {
        width = qint32(dword(data + 4));
        height = qint32(dword(data + 8));
        bits = word(data + 14);
        compression = dword(data + 16);
        colorsUsed = dword(data + 32);
    } else {
        return {};
    }
    bottomUp = height > 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || width * height > kMaxBitmapPixels)
        return {};
    qint64 offset = headerSize;
    quint32 masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (compression == 3 && (bits == 16 || bits == 32)) { // BI_BITFIELDS
        const qint64 at = headerSize == 40 ? headerSize : 40;
        if (at + 12 > length)
            return {};
        for (qint64 i = 0; i < 3; ++i)
            masks[i] = dword(data + at + 4 * i);
        if (headerSize == 40)
            offset += 12;
    } else if (compression != 0) {
        return {};
    } else if (bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    QList<QRgb> table;
    if (bits == 1 || bits == 4 || bits == 8) {
        const qint64 colors = colorsUsed ? std::min<qint64>(colorsUsed, 1 << bits) : (1 << bits);
        if (offset + colors * quadSize > length)
            return {};
        for (qint64 i = 0; i < colors; ++i) {
            const uchar *q = data + offset + i * quadSize;
            table.append(qRgb(q[2], q[1], q[0]));
        }
        offset += (colorsUsed ? qint64(colorsUsed) : colors) * quadSize;
        while (table.size() < 256) // every byte value a pixel can hold has a colour
            table.append(qRgb(0, 0, 0));
    } else if (bits == 16 || bits == 24 || bits == 32) {
        offset += qint64(colorsUsed) * quadSize; // an optional table for palette devices
    } else {
        return {};
    }
    const qint64 stride = ((width * bits + 31) / 32) * 4;
    if (offset < 0 || offset > length || stride * height > length - offset)
        return {};

    QImage image(int(width), int(height), table.isEmpty() ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    if (!table.isEmpty())
        image.setColorTable(table);
    const auto channel = [](quint32 value, quint32 mask) -> int {
        if (mask == 0)
            return 0;
        int shift = 0;
        while (!(mask & 1)) {
            mask >>= 1;
            value >>= 1;
            ++shift;
        }
        value &= mask;
        return mask == 0 ? 0 : int(value * 255 / mask);
    };
    for (qint64 y = 0; y < height; ++y) {
        const uchar *row = data + offset + (bottomUp ? height - 1 - y : y) * stride;
        uchar *out = image.scanLine(int(y));
        for (qint64 x = 0; x < width; ++x) {
            switch (bits) {
            case 1:
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1;
                break;
            case 4:
                out[x] = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
                break;
            case 8:
                out[x] = row[x];
                break;
            case 24:
                reinterpret_cast<QRgb *>(out)[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default: { // 16 and 32
                const quint32 v = bits == 16 ? word(row + 2 * x) : dword(row + 4 * x);
                reinterpret_cast<QRgb *>(out)[x] =
                    qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            }
        }
    }
    return image;
}

void bmpRead(wmfAPI *api, wmfBMP_Read_t *r)
{
    Player &player = playerOf(api);
    r->bmp.data = nullptr;
    bool bottomUp = true;
    QImage image = decodeDib(r->buffer, r->length, bottomUp);
    if (image.isNull() || player.bitmapBytes + image.sizeInBytes() > kMaxBitmapBytes)
        return;
    player.bitmapBytes += image.sizeInBytes();
    Bitmap bitmap{std::make_unique<QImage>(std::move(image)), bottomUp};
    r->bmp.width = quint16(bitmap.image->width());
    r->bmp.height = quint16(bitmap.image->height());
    r->bmp.data = bitmap.image.get();
    player.bitmaps.emplace(r->bmp.data, std::move(bitmap));
}

void bmpFree(wmfAPI *api, wmfBMP *bmp)
{
    if (bmp && bmp->data) {
        playerOf(api).bitmaps.erase(bmp->data);
        bmp->data = nullptr;
    }
}

void bmpDraw(wmfAPI *api, wmfBMP_Draw_t *d)
{
    Player &player = playerOf(api);
    const auto found = player.bitmaps.find(d->bmp.data);
    const Mapping m = mappingFor(api, d->dc);
    if (found == player.bitmaps.end() || !m.valid)
        return;
    const QImage &image = *found->second.image;
    const double w = d->crop.w;
    const double h = d->crop.h;
    // The crop counts rows from the bottom in a bottom-up bitmap.
    const double y = found->second.bottomUp ? image.height() - d->crop.y - h : d->crop.y;
    wmfD_Coord far = d->pt;
    far.x = float(far.x + w * d->pixel_width);
    far.y = float(far.y + h * d->pixel_height);
    ImageItem item;
    item.target = m.rect(d->pt, far);
    item.image = image;
    item.source = QRectF(d->crop.x, y, w, h);
    player.list.items.emplace_back(std::move(item));
}

// ---- Text ------------------------------------------------------------------------

struct RawText {
    QByteArray bytes;
    quint16 options = 0;
    qint64 advances = 0; // sum of the per-character advances, logical units
    int libwmfAdvances = 0; // the same, as libwmf adds them up (16 bits)
    bool hasAdvances = false;
};

std::optional<RawText> rawText(const Scan &scan, const Record &r)
{
    RawText t;
    qsizetype first = 0;
    qsizetype length = 0;
    if (r.function == kTextOut) {
        length = scan.word(r, 0);
        first = 1;
    } else if (r.function == kExtTextOut) {
        length = scan.word(r, 2);
        t.options = scan.word(r, 3);
        first = t.options ? 8 : 4;
    } else {
        return std::nullopt;
    }
    const qsizetype at = r.offset + 6 + first * 2;
    if (first + (length + 1) / 2 > r.params() || at + length > scan.bytes.size())
        return std::nullopt;
    t.bytes = scan.bytes.mid(at, length);
    const qsizetype dx = first + (length + 1) / 2;
    if (r.function == kExtTextOut && r.params() - dx >= length) {
        t.hasAdvances = true;
        quint16 sum = 0;
        for (qsizetype i = 0; i < length; ++i) {
            sum = quint16(sum + scan.word(r, dx + i));
            t.advances += scan.signedWord(r, dx + i);
        }
        t.libwmfAdvances = qint16(sum);
    }
    return t;
}

void drawText(wmfAPI *api, wmfDrawText_t *d)
{
    Player &player = playerOf(api);
    const int index = currentRecord(api);
    // With per-character advances libwmf calls once per character: the first call
    // carries the whole string's position, the rest are drawn from the record.
    if (index < 0 || index == player.lastTextRecord)
        return;
    player.lastTextRecord = index;
    const Record &record = player.scan.records[index];
    const std::optional<RawText> raw = rawText(player.scan, record);
    const Mapping m = mappingFor(api, d->dc);
    if (!raw || !m.valid || !d->dc->font)
        return;
    const wmfDC *dc = d->dc;
    const FontInfo &info = fontInfo(api, dc->font);
    const QString text = printable(raw->bytes);
    if (text.isEmpty())
        return;
    const quint16 align = dc->textalign;

    // libwmf moved the reference point by its own estimate of the alignment; undo it.
    const double theta = -info.escapement * std::numbers::pi / 1800;
    const double cosT = std::cos(theta);
    const double sinT = std::sin(theta);
    const double fontHeight = d->font_height;
    double px = d->pt.x;
    double py = d->pt.y;
    if (!(align & TA_BASELINE)) { // top
        px += fontHeight * sinT;
        py -= fontHeight * cosT;
    }
    if (align & TA_CENTER) { // libwmf centres right-aligned text too
        double width = 0;
        if (raw->hasAdvances)
            width = raw->libwmfAdvances * m.pixelWidth;
        else
            width = double(stringWidth(api, dc->font, d->str)) * fontHeight * d->font_ratio;
        px += width / 2 * cosT;
        py += width / 2 * sinT;
    }
    if (!std::isfinite(px) || !std::isfinite(py)) { // a font of height zero
        const Record &r = record;
        const qsizetype at = r.function == kTextOut ? r.params() - 2 : 0;
        px = (player.scan.signedWord(r, at + 1) - dc->Window.Ox) * m.pixelWidth;
        py = (player.scan.signedWord(r, at) - dc->Window.Oy) * m.pixelHeight;
    }

    TextItem item;
    item.anchor = m.point(px, py);
    item.angle = -info.escapement / 10.0;
    item.text = text;
    item.color = colorOf(dc->textcolor);
    item.font = info.base;
    double em = kDefaultEmTwips;
    if (info.signedHeight < 0) {
        em = -info.signedHeight * m.logicalY();
    } else if (info.signedHeight > 0) { // the cell's height: the em is smaller by the leading
        const QFontMetricsF &unit = info.unitMetrics;
        em = info.signedHeight * m.logicalY() * kUnitFontPixels / (unit.ascent() + unit.descent());
    }
    item.font.setPixelSize(std::max(1, int(std::lround(std::clamp(finiteOr0(em), 1.0, kMaxEmTwips)))));
    if (info.width != 0) {
        const double average = QFontMetricsF(item.font).averageCharWidth();
        const double wanted = std::abs(info.width) * m.logicalX();
        if (average > 0 && wanted > 0)
            item.font.setStretch(std::clamp(int(std::lround(100 * wanted / average)), 1, 4000));
    }
    QFontMetricsF metrics(item.font);
    double width = metrics.horizontalAdvance(text);
    double spacing = 0;
    if (raw->hasAdvances) {
        // The writer's own advances say how wide the string was; spread the difference.
        const double wanted = std::abs(double(raw->advances) * m.logicalX());
        if (std::abs(wanted - width) > width / 100)
            spacing = (wanted - width) / double(text.size());
    } else {
        spacing = qint16(dc->charextra) * m.logicalX(); // SetTextCharacterExtra
    }
    if (spacing != 0) {
        item.font.setLetterSpacing(QFont::AbsoluteSpacing, std::clamp(spacing, -em, em));
        metrics = QFontMetricsF(item.font);
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if ((align & TA_CENTER) == TA_RIGHT)
        x = -width;
    double y = 0;
    if ((align & TA_BASELINE) == 0)
        y = metrics.ascent();
    else if ((align & TA_BASELINE) == TA_BOTTOM)
        y = -metrics.descent();
    item.baselineStart = QPointF(x, y);
    if (dc->bgmode == OPAQUE) {
        item.background = colorOf(dc->bgcolor);
        item.backgroundRect = QRectF(x, y - metrics.ascent(), width, metrics.ascent() + metrics.descent());
    }
    if (raw->options & (ETO_OPAQUE | ETO_CLIPPED)) {
        item.box = m.rect(d->TL, d->BR);
        if (raw->options & ETO_OPAQUE)
            item.boxColor = colorOf(dc->bgcolor);
        item.clipToBox = raw->options & ETO_CLIPPED;
    }
    player.list.items.emplace_back(std::move(item));
}

// ---- The player ------------------------------------------------------------------

void setUpDevice(wmfAPI *api)
{
    auto *f = static_cast<wmfFunctionReference *>(api->function_reference);
    f->draw_pixel = drawPixel;
    f->draw_pie = drawPie;
    f->draw_chord = drawChord;
    f->draw_arc = drawArc;
    f->draw_ellipse = drawEllipse;
    f->draw_line = drawLine;
    f->poly_line = polyLine;
    f->draw_polygon = drawPolygon;
    f->draw_polypolygon = drawPolyPolygon;
    f->draw_rectangle = drawRectangle;
    f->rop_draw = ropDraw;
    f->bmp_draw = bmpDraw;
    f->bmp_read = bmpRead;
    f->bmp_free = bmpFree;
    f->draw_text = drawText;
    f->region_frame = regionFrame;
    f->region_paint = regionPaint;
    f->region_clip = regionClip;
}

// Called after every record while playing: a page that takes this long is not one.
int keepPlaying(void *context, float)
{
    return static_cast<Player *>(context)->clock.elapsed() > kPlayBudgetMs ? 1 : 0;
}

QString reasonOf(wmf_error_t error)
{
    switch (error) {
    case wmf_E_InsMem:
        return QStringLiteral("not enough memory to play it");
    case wmf_E_EOF:
        return QStringLiteral("the metafile is cut short");
    case wmf_E_UserExit:
        return QStringLiteral("the metafile takes too long to play");
    case wmf_E_BadFormat:
        return QStringLiteral("the metafile is damaged");
    default:
        return QStringLiteral("the metafile player failed (error %1)").arg(int(error));
    }
}

// Every path out of here ends the player and frees what it allocated.
struct ApiGuard {
    wmfAPI *api = nullptr;
    ApiGuard() = default;
    ApiGuard(const ApiGuard &) = delete;
    ApiGuard &operator=(const ApiGuard &) = delete;
    ~ApiGuard()
    {
        if (api)
            wmf_lite_destroy(api);
    }
};

// Plays the file into `player.list`; an empty text on success.
QString play(Scan &scan, Player &player)
{
    wmfAPI_Options options{};
    options.function = setUpDevice;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    ApiGuard guard;
    if (wmf_lite_create(&guard.api, flags, &options) != wmf_E_None || !guard.api)
        return QStringLiteral("the metafile player could not start");
    wmfAPI *api = guard.api;
    api->device_data = &player;
    auto *fonts = static_cast<wmfFontData *>(wmf_malloc(api, sizeof(wmfFontData)));
    if (!fonts)
        return reasonOf(api->err);
    fonts->map = mapFont;
    fonts->stringwidth = stringWidth;
    fonts->user_data = &player;
    api->font_data = fonts;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(scan.bytes.data()), long(scan.bytes.size())) != wmf_E_None)
        return reasonOf(api->err);
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return reasonOf(api->err);
    player.clock.start();
    wmf_status_function(api, &player, keepPlaying);
    player.list.items.clear(); // the scan draws nothing, but be sure
    if (wmf_play(api, 0, &bounds) != wmf_E_None)
        return reasonOf(api->err);
    wmf_mem_close(api);
    return {};
}

} // namespace

MetafileResult loadMetafile(const QByteArray &bytes, const QString &source)
{
    const auto failure = [&source](const QString &reason) {
        return MetafileResult{Picture(), QStringLiteral("Unreadable picture %1: %2").arg(source, reason)};
    };
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return failure(QStringLiteral("metafiles need the application's fonts, and there is no application"));
    Scan scan = scanMetafile(bytes);
    if (!scan.error.isEmpty())
        return failure(scan.error);

    Player player(scan);
    if (scan.placeable) {
        player.windowFrame = true;
        player.frame =
            QSizeF(std::abs(scan.right - scan.left), std::abs(scan.bottom - scan.top)) * 1440.0 / scan.unitsPerInch;
    } else if (scan.windowExtBeforeDrawing) {
        const QSize ext = scan.pageExtent;
        double unit = unitTwips(scan.pageMapMode);
        if (scan.pageMapMode == kMapIsotropic || scan.pageMapMode == kMapAnisotropic)
            unit = std::abs(qint64(ext.width()) * ext.height()) >= qint64(1024) * 1024 ? 1 : 20;
        player.windowFrame = true;
        player.frame = QSizeF(std::abs(ext.width()), std::abs(ext.height())) * unit;
    }
    const QString problem = play(scan, player);
    if (!problem.isEmpty())
        return failure(problem);

    auto list = std::make_shared<DisplayList>(std::move(player.list));
    if (player.windowFrame) {
        list->size = player.frame;
    } else {
        const QRectF drawn = list->bounds();
        list->translate(-drawn.topLeft());
        list->size = drawn.size();
    }
    if (!(list->size.width() > 0 && list->size.height() > 0))
        return failure(QStringLiteral("the picture has no size"));
    if (list->size.width() > kMaxSideTwips || list->size.height() > kMaxSideTwips)
        return failure(QStringLiteral("the picture is larger than any page"));
    const QSizeF size = list->size;
    const QString words = list->readingText();
    Picture picture = Picture::fromDrawer(size, drawerFor(std::move(list)), source);
    picture.setText(words);
    return {picture, QString()};
}

} // namespace velmora
