// The shapes of the device layer: lines, curves, polygons, rectangles and regions,
// with their pens and brushes.
#include "wmfdevice.h"

#include "toolkit/twips.h"

#include <numbers>

namespace velmora::metafile {

namespace {

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

Dashes dashesOf(quint16 style)
{
    switch (style & PS_STYLE_MASK) {
    case PS_DASH:
        return Dashes::Dash;
    case PS_DOT:
        return Dashes::Dot;
    case PS_DASHDOT:
        return Dashes::DashDot;
    case PS_DASHDOTDOT:
        return Dashes::DashDotDot;
    default:
        return Dashes::None;
    }
}

Qt::PenCapStyle capOf(quint16 style)
{
    switch (style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE:
        return Qt::SquareCap;
    case PS_ENDCAP_FLAT:
        return Qt::FlatCap;
    default:
        return Qt::RoundCap;
    }
}

Qt::PenJoinStyle joinOf(quint16 style)
{
    switch (style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL:
        return Qt::BevelJoin;
    case PS_JOIN_MITER:
        return Qt::MiterJoin;
    default:
        return Qt::RoundJoin;
    }
}

// The selected pen as its record has it: its width is in the logical units in force
// now, as Windows draws it (libwmf converted it with the window of the moment the pen
// was made, and made a width of zero one whole unit).
std::optional<Stroke> strokeOf(wmfAPI *api, const wmfDC *dc, const Mapping &m)
{
    Player &player = playerOf(api);
    const PenRecord pen = player.dc.pen(stateOf(api));
    if ((pen.style & PS_STYLE_MASK) == PS_NULL)
        return std::nullopt;
    const std::optional<QColor> color = ropColor(dc, pen.color);
    if (!color)
        return std::nullopt;
    Stroke s;
    s.color = *color;
    s.widthTwips = std::min(finiteOr0(pen.width * m.logicalX()), kMaxSideTwips);
    // Windows draws styled pens dashed only while they are thin.
    if (s.widthTwips <= kTwipsPerPixel)
        s.dashes = dashesOf(pen.style);
    s.cap = capOf(pen.style);
    s.join = joinOf(pen.style);
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
} // namespace

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
        if (const DcState &state = stateOf(api); state.opaqueBackground)
            shape.hatchBackground = state.backgroundColor;
        break;
    }
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (const Bitmap *bitmap = bitmapOf(api, brush->bmp.data)) {
            QBrush b(*bitmap->image);
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

namespace {

void addShape(wmfAPI *api, const wmfDC *dc, const Mapping &m, QPainterPath path, bool fill)
{
    ShapeItem shape;
    shape.stroke = strokeOf(api, dc, m);
    if (fill) {
        path.setFillRule(stateOf(api).windingFill ? Qt::WindingFill : Qt::OddEvenFill);
        setFill(api, shape, dc, dc->brush);
    }
    if (!shape.stroke && !shape.fill)
        return;
    shape.path = std::move(path);
    if (shape.stroke && shape.stroke->dashes != Dashes::None)
        shape.dashedLength = shape.path.length();
    if (spend(api, shape))
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
    if (spend(api, shape))
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
    if (shape.fill && spend(api, shape))
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
    if (shape.fill && spend(api, shape))
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
    if (shape.fill && spend(api, shape))
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

} // namespace

void setUpShapes(wmfFunctionReference *f)
{
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
    f->region_frame = regionFrame;
    f->region_paint = regionPaint;
    f->region_clip = regionClip;
}

} // namespace velmora::metafile
