// Telescope diagram: a cut-away drawing of Sevrani's telescope for the
// "label the diagram" activity.
//
// The activity draws yellow label boxes and leader lines on top of this
// picture, so the drawing is kept in light colours on the activity's deep
// blue, with the text areas left plain. The telescope is laid out along an
// axis running from the objective (upper left) to the eye hole (lower right);
// its parts are described in the tube's own frame: `s` runs along the axis
// from the front of the tube and `t` across it (positive below the axis).

#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QLineF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 520;

const QColor kBackground(9, 63, 137);
const QColor kOutline(250, 244, 226);
const QColor kWood(224, 192, 142);
const QColor kWoodHatch(160, 116, 66);
const QColor kBrass(238, 216, 146);
const QColor kBrassHatch(176, 140, 62);
const QColor kHorn(232, 228, 214);
const QColor kHornHatch(150, 146, 132);
const QColor kGlass(200, 232, 248);
const QColor kBoreEdge(4, 34, 84);
const QColor kBoreMiddle(14, 56, 118);
const QColor kRay(176, 226, 255);

// The optical axis, from the front of the tube to the eye hole.
constexpr QPointF kAxisStart(150.0, 110.0);
constexpr QPointF kAxisEnd(690.0, 300.0);

// Outer tube (wood), with a brass ring holding the objective at the front and
// a brass bush at the back through which the inner sleeve slides.
constexpr qreal kTubeFront = -2.0;
constexpr qreal kTubeBack = 339.0;
constexpr qreal kTubeInner = 48.0;
constexpr qreal kTubeOuter = 59.0;

// Inner sleeve (brass draw tube) carrying the eyepiece.
constexpr qreal kSleeveFront = 298.0;
constexpr qreal kSleeveBack = 566.0;
constexpr qreal kSleeveInner = 36.0;
constexpr qreal kSleeveOuter = 47.0;

// Objective: a convex lens near the front of the tube.
constexpr qreal kObjectiveCentre = 12.0;
constexpr qreal kObjectiveRadius = 46.0;
constexpr qreal kObjectiveHalfMiddle = 14.0;
constexpr qreal kObjectiveHalfEdge = 2.5;

// Eyepiece: a small concave lens just inside the back of the sleeve.
constexpr qreal kEyepieceCentre = 556.5;
constexpr qreal kEyepieceRadius = 33.0;
constexpr qreal kEyepieceHalfMiddle = 4.5;
constexpr qreal kEyepieceHalfEdge = 7.5;

// Eye cap closing the back of the sleeve, with the eye hole in the middle.
constexpr qreal kCapSkirtFront = 550.0;
constexpr qreal kCapFront = 566.0;
constexpr qreal kCapBack = 584.0;
constexpr qreal kCapRadius = 51.0;
// The hole is wide enough that the activity's leader line, which comes up from the
// label box below, ends inside it.
constexpr qreal kEyeHoleRadius = 16.0;

// Where the light from the objective would come to a focus.
constexpr qreal kFocusS = 630.0;

QTransform tubeFrame()
{
    const QLineF axis(kAxisStart, kAxisEnd);
    QTransform frame;
    frame.translate(kAxisStart.x(), kAxisStart.y());
    frame.rotate(-axis.angle()); // QLineF angles run counter-clockwise
    return frame;
}

// A ring seen in section: two bands, above and below the axis.
QPainterPath ringSection(qreal s0, qreal s1, qreal inner, qreal outer)
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(s0, -outer), QPointF(s1, -inner)));
    path.addRect(QRectF(QPointF(s0, inner), QPointF(s1, outer)));
    return path;
}

// Spherical surface sag at height t for a surface of curvature radius r.
qreal sag(qreal r, qreal t)
{
    return r - std::sqrt(std::max(0.0, r * r - t * t));
}

// Lens in section, centred on the axis at `centre`. A convex lens is thickest
// in the middle; a concave lens is thinnest there.
QPainterPath lensSection(qreal centre, qreal radius, qreal halfMiddle, qreal halfEdge, bool convex)
{
    const qreal depth = std::abs(halfMiddle - halfEdge);
    const qreal curvature = (radius * radius + depth * depth) / (2.0 * depth);
    const auto half = [&](qreal t) { return convex ? halfMiddle - sag(curvature, t) : halfMiddle + sag(curvature, t); };

    constexpr int steps = 48;
    QPolygonF outline;
    for (int i = 0; i <= steps; ++i) {
        const qreal t = -radius + 2.0 * radius * i / steps;
        outline << QPointF(centre - half(t), t);
    }
    for (int i = steps; i >= 0; --i) {
        const qreal t = -radius + 2.0 * radius * i / steps;
        outline << QPointF(centre + half(t), t);
    }
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

// --- Parts, in the tube frame ------------------------------------------------

QPainterPath outerTube()
{
    return ringSection(kTubeFront, kTubeBack, kTubeInner, kTubeOuter);
}

QPainterPath objectiveCell()
{
    // Front ring in front of the lens, spacer ring behind it.
    QPainterPath path = ringSection(-10.0, 2.0, 38.0, kTubeOuter + 3.0);
    path.addPath(ringSection(18.0, 25.0, 41.0, kTubeInner));
    return path;
}

QPainterPath backBush()
{
    return ringSection(327.0, 341.0, kSleeveOuter, kTubeOuter + 4.0);
}

QPainterPath innerSleeve()
{
    return ringSection(kSleeveFront, kSleeveBack, kSleeveInner, kSleeveOuter);
}

QPainterPath objectiveLens()
{
    return lensSection(kObjectiveCentre, kObjectiveRadius, kObjectiveHalfMiddle, kObjectiveHalfEdge, true);
}

QPainterPath eyepieceLens()
{
    return lensSection(kEyepieceCentre, kEyepieceRadius, kEyepieceHalfMiddle, kEyepieceHalfEdge, false);
}

QPainterPath eyepieceSeat()
{
    // A thin shoulder inside the sleeve; the eye cap holds the lens from behind.
    return ringSection(kEyepieceCentre - 11.0, kEyepieceCentre - 8.0, kEyepieceRadius - 3.0, kSleeveInner);
}

QPainterPath eyeCap()
{
    QPainterPath path = ringSection(kCapSkirtFront, kCapFront, kSleeveOuter, kCapRadius);
    path.addPath(ringSection(kCapFront, kCapBack, kEyeHoleRadius, kCapRadius));
    return path.simplified();
}

QPainterPath bore()
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(kTubeFront, -kTubeInner), QPointF(kTubeBack, kTubeInner)));
    path.addRect(QRectF(QPointF(kTubeBack, -kSleeveInner), QPointF(kSleeveBack, kSleeveInner)));
    return path.simplified();
}

QPainterPath saddle()
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(258.0, kTubeOuter - 1.0), QPointF(312.0, 70.0)), 3.0, 3.0);
    return path;
}

// --- Mount, in picture coordinates ---------------------------------------------

constexpr QPointF kTripodHead(392.0, 434.0);

QPainterPath mountBlock()
{
    const QTransform frame = tubeFrame();
    const QPointF topLeft = frame.map(QPointF(262.0, 68.0));
    const QPointF topRight = frame.map(QPointF(308.0, 68.0));
    QPainterPath path;
    path.moveTo(topLeft);
    path.lineTo(topRight);
    path.lineTo(408.0, 306.0);
    path.lineTo(376.0, 306.0);
    path.closeSubpath();
    return path;
}

QPainterPath mountPillar()
{
    QPainterPath path;
    path.addRect(QRectF(QPointF(385.0, 304.0), QPointF(399.0, 316.0))); // neck
    path.addRoundedRect(QRectF(QPointF(372.0, 314.0), QPointF(412.0, 326.0)), 3, 3); // clamp
    path.addRect(QRectF(QPointF(385.0, 324.0), QPointF(399.0, 428.0))); // pillar
    path.addRoundedRect(QRectF(QPointF(368.0, 426.0), QPointF(416.0, 442.0)), 4, 4); // tripod head
    return path.simplified();
}

struct Leg {
    QPointF top;
    QPointF foot;
    qreal topWidth;
    qreal footWidth;
};

const Leg kLegs[] = {
    {QPointF(394.0, 438.0), QPointF(404.0, 500.0), 10.0, 7.0}, // back leg, foreshortened
    {QPointF(378.0, 438.0), QPointF(316.0, 506.0), 12.0, 8.0},
    {QPointF(406.0, 438.0), QPointF(468.0, 506.0), 12.0, 8.0},
};

QPolygonF legPolygon(const Leg &leg)
{
    const QLineF line(leg.top, leg.foot);
    const QPointF d = (leg.foot - leg.top) / line.length();
    const QPointF n(-d.y(), d.x());
    QPolygonF poly;
    poly << leg.top + n * (leg.topWidth / 2) << leg.foot + n * (leg.footWidth / 2) << leg.foot - n * (leg.footWidth / 2)
         << leg.top - n * (leg.topWidth / 2);
    return poly;
}

QPainterPath mountLegs()
{
    QPainterPath path;
    for (const Leg &leg : kLegs)
        path.addPolygon(legPolygon(leg));
    return path.simplified();
}

// --- Painting ------------------------------------------------------------------

QPen outlinePen(qreal width = 1.6)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintSection(QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &hatchColour,
                  qreal hatchAngle, qreal spacing)
{
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    hatch(p, path, hatchAngle, spacing, QPen(hatchColour, 1.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(outlinePen());
    p.drawPath(path);
}

void paintStars(QPainter &p)
{
    // A few faint stars in the open sky, clear of the labels.
    const struct {
        QPointF pos;
        qreal size;
    } stars[] = {
        {QPointF(44.0, 56.0), 5.0},   {QPointF(82.0, 168.0), 3.0},  {QPointF(30.0, 250.0), 3.5},
        {QPointF(596.0, 470.0), 4.0}, {QPointF(760.0, 250.0), 3.0}, {QPointF(410.0, 40.0), 3.0},
    };
    p.setPen(Qt::NoPen);
    for (const auto &star : stars) {
        QRadialGradient glow(star.pos, star.size * 2.2);
        glow.setColorAt(0.0, QColor(230, 240, 255, 110));
        glow.setColorAt(1.0, QColor(230, 240, 255, 0));
        p.setBrush(glow);
        p.drawEllipse(star.pos, star.size * 2.2, star.size * 2.2);
        p.setBrush(QColor(236, 244, 255, 200));
        p.drawPolygon(starPolygon(star.pos, star.size, star.size * 0.22, 4));
    }
}

void paintMount(QPainter &p)
{
    // Tripod legs: back leg first, a little darker, then the two front legs.
    bool first = true;
    for (const Leg &leg : kLegs) {
        const QPolygonF poly = legPolygon(leg);
        QLinearGradient wood(poly.at(0), poly.at(3));
        const QColor base = first ? mixColours(kWood, kBackground, 0.25) : kWood;
        wood.setColorAt(0.0, base.lighter(108));
        wood.setColorAt(1.0, base.darker(112));
        p.setBrush(wood);
        p.setPen(outlinePen(1.4));
        p.drawPolygon(poly);

        // Grain along the leg.
        p.save();
        QPainterPath clip;
        clip.addPolygon(poly);
        p.setClipPath(clip);
        p.setPen(QPen(kWoodHatch, 0.8));
        const QPointF d = (leg.foot - leg.top) / QLineF(leg.top, leg.foot).length();
        const QPointF n(-d.y(), d.x());
        for (const qreal k : {-0.22, 0.12}) {
            p.drawLine(QLineF(leg.top + n * (leg.topWidth * k) + d * 6, leg.foot + n * (leg.footWidth * k) - d * 8));
        }
        p.restore();

        // Brass shoe.
        const QPointF shoeTop = leg.foot - d * 9.0;
        QPolygonF shoe;
        shoe << shoeTop + n * (leg.footWidth / 2 + 1) << leg.foot + n * (leg.footWidth / 2 + 1)
             << leg.foot - n * (leg.footWidth / 2 + 1) << shoeTop - n * (leg.footWidth / 2 + 1);
        p.setBrush(kBrass);
        p.setPen(outlinePen(1.2));
        p.drawPolygon(shoe);
        first = false;
    }

    // Pillar, clamp and tripod head.
    const QPainterPath pillar = mountPillar();
    QLinearGradient turned(372, 0, 412, 0);
    turned.setColorAt(0.0, kWood.darker(108));
    turned.setColorAt(0.4, kWood.lighter(112));
    turned.setColorAt(1.0, kWood.darker(115));
    p.setBrush(turned);
    p.setPen(outlinePen(1.4));
    p.drawPath(pillar);
    p.setPen(QPen(kWoodHatch, 0.8));
    p.drawLine(QLineF(389.0, 330.0, 389.0, 422.0));
    p.drawLine(QLineF(395.0, 334.0, 395.0, 418.0));

    // Clamp screw on the side of the clamp.
    p.setBrush(kBrass);
    p.setPen(outlinePen(1.2));
    p.drawRect(QRectF(QPointF(412.0, 317.0), QPointF(420.0, 323.0)));
    p.drawEllipse(QPointF(423.0, 320.0), 4.0, 6.0);

    // Block under the cradle, with the pivot the tube tilts on.
    const QPainterPath block = mountBlock();
    QLinearGradient brass(370, 0, 418, 0);
    brass.setColorAt(0.0, kBrass.darker(106));
    brass.setColorAt(0.35, kBrass.lighter(110));
    brass.setColorAt(1.0, kBrass.darker(118));
    p.setBrush(brass);
    p.setPen(outlinePen(1.5));
    p.drawPath(block);

    // The pivot is an iron bolt, so it stands out from the brass block.
    const QPointF pivot(392.0, 288.0);
    p.setBrush(QColor(212, 218, 226));
    p.drawEllipse(pivot, 7.5, 7.5);
    p.setPen(QPen(QColor(120, 128, 140), 1.2));
    p.drawLine(QLineF(pivot + QPointF(-4, 0), pivot + QPointF(4, 0)));
    p.setPen(Qt::NoPen);
    p.setBrush(kBrassHatch);
    for (const QPointF &bolt : {QPointF(381.0, 299.0), QPointF(403.0, 299.0)})
        p.drawEllipse(bolt, 1.8, 1.8);
}

void paintRays(QPainter &p)
{
    // Light from a distant star: brought toward a focus by the objective,
    // made parallel again by the eyepiece, and out through the eye hole.
    QPen pen(withAlpha(kRay, 170), 1.0, Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({5.0, 4.0});
    p.setPen(pen);
    const qreal lensBack = kObjectiveCentre + kObjectiveHalfMiddle;
    for (const qreal t0 : {-38.0, -20.0, 20.0, 38.0}) {
        const qreal start = lensBack + 2.0;
        const qreal stop = kEyepieceCentre - kEyepieceHalfMiddle - 1.0;
        const auto beam = [&](qreal s) { return t0 * (kFocusS - s) / (kFocusS - start); };
        p.drawLine(QLineF(start, beam(start), stop, beam(stop)));
        // Only the edge of the beam is drawn leaving the eye hole; it is
        // narrow there.
        if (std::abs(t0) > 30.0) {
            const qreal out = beam(stop);
            p.drawLine(QLineF(kEyepieceCentre + kEyepieceHalfMiddle + 1.0, out, kCapBack + 40.0, out));
        }
    }
}

void paintTelescope(QPainter &p)
{
    p.save();
    p.setTransform(tubeFrame(), true);

    // Saddle strap under the tube (part of the mount).
    QLinearGradient strap(0, kTubeOuter, 0, 70);
    strap.setColorAt(0.0, kBrass.lighter(108));
    strap.setColorAt(1.0, kBrass.darker(112));
    p.setBrush(strap);
    p.setPen(outlinePen(1.4));
    p.drawPath(saddle());

    // The hollow inside of the tube and sleeve, darker toward the walls.
    QLinearGradient inside(0, -kTubeInner, 0, kTubeInner);
    inside.setColorAt(0.0, kBoreEdge);
    inside.setColorAt(0.5, kBoreMiddle);
    inside.setColorAt(1.0, kBoreEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawPath(bore());

    paintRays(p);

    // Walls in section: wood hatched one way, brass the other.
    paintSection(p, outerTube(), kWood, kWoodHatch, 45.0, 5.0);
    paintSection(p, innerSleeve(), kBrass, kBrassHatch, -45.0, 4.0);
    paintSection(p, objectiveCell(), kBrass, kBrassHatch, -45.0, 4.0);
    paintSection(p, backBush(), kBrass, kBrassHatch, -45.0, 4.0);
    paintSection(p, eyepieceSeat(), kBrass, kBrassHatch, -45.0, 4.0);
    paintSection(p, eyeCap(), kHorn, kHornHatch, 45.0, 3.5);

    // Lenses: clear glass with a soft highlight.
    for (const QPainterPath &lens : {objectiveLens(), eyepieceLens()}) {
        const QRectF box = lens.boundingRect();
        QLinearGradient glass(box.left(), box.top(), box.right(), box.bottom());
        glass.setColorAt(0.0, kGlass.lighter(112));
        glass.setColorAt(0.5, kGlass);
        glass.setColorAt(1.0, kGlass.darker(112));
        p.setBrush(glass);
        p.setPen(outlinePen(1.6));
        p.drawPath(lens);

        p.save();
        p.setClipPath(lens);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.4, Qt::SolidLine, Qt::RoundCap));
        const qreal cx = box.center().x();
        const qreal r = box.height() / 2.0;
        p.drawLine(QLineF(cx - 1.5, -r * 0.75, cx - 1.5, -r * 0.35));
        p.drawLine(QLineF(cx - 1.5, -r * 0.25, cx - 1.5, -r * 0.18));
        p.restore();
    }

    // Centre line of the optics (dash-dot, as on a drawing board).
    QPen centre(withAlpha(kOutline, 120), 0.9, Qt::CustomDashLine, Qt::FlatCap);
    centre.setDashPattern({14.0, 3.0, 2.0, 3.0});
    p.setPen(centre);
    p.drawLine(QLineF(-34.0, 0.0, kObjectiveCentre - kObjectiveHalfMiddle - 3.0, 0.0));
    p.drawLine(QLineF(kObjectiveCentre + kObjectiveHalfMiddle + 3.0, 0.0, kEyepieceCentre - 8.0, 0.0));

    p.restore();
}

// --- Layout check ----------------------------------------------------------------

struct LabelledPoint {
    const char *part;
    QPointF point;
    QPointF boxEnd; // where the leader line leaves its label box
};

const LabelledPoint kLabelledPoints[] = {
    {"objective lens", QPointF(160, 96), QPointF(160, 32)},
    {"outer tube", QPointF(288, 104), QPointF(288, 32)},
    {"eyepiece", QPointF(680, 280), QPointF(680, 176)},
    {"mount", QPointF(392, 288), QPointF(344, 288)},
    {"inner sleeve", QPointF(504, 280), QPointF(504, 360)},
    {"eye hole", QPointF(688, 312), QPointF(688, 400)}, // the opening, not the cap

};

// Text and label areas that must stay plain background.
const QRect kPlainAreas[] = {
    QRect(103, 8, 115, 25),   QRect(231, 8, 115, 25),   QRect(623, 152, 115, 25),
    QRect(228, 276, 115, 25), QRect(447, 360, 115, 25), QRect(631, 400, 115, 25),
    QRect(472, 8, 241, 107),  QRect(16, 328, 237, 79),  QRect(16, 416, 234, 104),
};

QPainterPath partPath(const QString &part)
{
    const QTransform frame = tubeFrame();
    if (part == QLatin1String("objective lens"))
        return frame.map(objectiveLens());
    if (part == QLatin1String("outer tube"))
        return frame.map(outerTube());
    if (part == QLatin1String("eyepiece"))
        return frame.map(eyepieceLens());
    if (part == QLatin1String("mount")) {
        QPainterPath mount = mountBlock();
        mount.addPath(mountPillar());
        mount.addPath(mountLegs());
        mount.addPath(frame.map(saddle()));
        return mount;
    }
    if (part == QLatin1String("inner sleeve"))
        return frame.map(innerSleeve());
    if (part == QLatin1String("eye hole")) {
        QPainterPath opening;
        opening.addRect(QRectF(QPointF(kCapFront, -kEyeHoleRadius), QPointF(kCapBack, kEyeHoleRadius)));
        return frame.map(opening);
    }
    return {};
}

QPainterPath wholeDrawing()
{
    const QTransform frame = tubeFrame();
    QPainterPath all = frame.map(bore());
    for (const QPainterPath &part : {outerTube(), objectiveCell(), backBush(), innerSleeve(), eyeCap(), saddle()})
        all.addPath(frame.map(part));
    all.addPath(mountBlock());
    all.addPath(mountPillar());
    all.addPath(mountLegs());
    return all;
}

int colourDistance(QRgb a, const QColor &b)
{
    return std::max({std::abs(qRed(a) - b.red()), std::abs(qGreen(a) - b.green()), std::abs(qBlue(a) - b.blue())});
}

} // namespace

QImage paintTelescopeDiagram()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(kBackground);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    paintStars(p);
    paintMount(p);
    paintTelescope(p);

    p.end();
    return image;
}

bool checkTelescopeDiagram(const QImage &picture, QStringList &report)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    bool ok = image.width() == kWidth && image.height() == kHeight;
    if (!ok) {
        report << QStringLiteral("wrong size %1 x %2").arg(image.width()).arg(image.height());
        return false;
    }

    // 1. Each labelled point lies well inside its part, and the pixel there
    //    is clearly not background.
    const QPainterPath drawing = wholeDrawing();
    for (const LabelledPoint &label : kLabelledPoints) {
        const QString part = QString::fromLatin1(label.part);
        const QPainterPath path = partPath(part);
        int insideCount = 0;
        constexpr int probes = 12;
        constexpr qreal margin = 2.5;
        for (int i = 0; i < probes; ++i) {
            const qreal a = 2.0 * M_PI * i / probes;
            if (path.contains(label.point + QPointF(margin * std::cos(a), margin * std::sin(a))))
                ++insideCount;
        }
        const bool inside = path.contains(label.point) && insideCount == probes;
        const QRgb pixel = image.pixel(label.point.toPoint());
        const int distance = colourDistance(pixel, kBackground);
        // A hole is seen through: only its place is checked.
        const bool visible = part == QLatin1String("eye hole") || distance > 48;
        const bool good = inside && visible;
        ok = ok && good;
        report << QStringLiteral("%1 at (%2,%3): %4, pixel rgb(%5,%6,%7) %8 from background -> %9")
                      .arg(part)
                      .arg(label.point.x())
                      .arg(label.point.y())
                      .arg(inside ? QStringLiteral("inside the part") : QStringLiteral("NOT inside the part"))
                      .arg(qRed(pixel))
                      .arg(qGreen(pixel))
                      .arg(qBlue(pixel))
                      .arg(distance)
                      .arg(good ? QStringLiteral("ok") : QStringLiteral("FAILED"));

        // The leader line from the label box must cross plain background
        // until it reaches the drawing.
        const QLineF leader(label.boxEnd, label.point);
        int cluttered = 0;
        for (qreal d = 0.0; d <= leader.length(); d += 1.0) {
            const QPointF pt = leader.pointAt(d / leader.length());
            if (drawing.intersects(QRectF(pt - QPointF(3, 3), QSizeF(6, 6))))
                break;
            if (colourDistance(image.pixel(pt.toPoint()), kBackground) > 24)
                ++cluttered;
        }
        if (cluttered > 0) {
            ok = false;
            report << QStringLiteral("leader to %1 crosses %2 busy pixel(s) -> FAILED").arg(part).arg(cluttered);
        }
    }

    // 2. Text areas are plain background (a JPEG may ripple a little).
    for (const QRect &area : kPlainAreas) {
        int busy = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (colourDistance(image.pixel(x, y), kBackground) > 12)
                    ++busy;
        const bool good = busy == 0;
        ok = ok && good;
        report << QStringLiteral("plain area (%1,%2,%3,%4): %5 busy pixel(s) -> %6")
                      .arg(area.x())
                      .arg(area.y())
                      .arg(area.width())
                      .arg(area.height())
                      .arg(busy)
                      .arg(good ? QStringLiteral("ok") : QStringLiteral("FAILED"));
    }
    return ok;
}

} // namespace artwork
