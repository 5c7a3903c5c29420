// Title picture: Ardovin Sevrani's brass refractor under a starry sky.

#include "artwork.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Where the moon sits; the telescope is aimed just below it.
constexpr QPointF kMoonCentre(262.0, 46.0);
constexpr qreal kMoonRadius = 19.0;

// Pivot of the telescope on top of the tripod, and the tube's elevation.
constexpr QPointF kPivot(118.0, 150.0);
constexpr qreal kElevationDegrees = 31.0;

qreal gaussian(QRandomGenerator &rng)
{
    // Box-Muller; good enough for scattering stars.
    const qreal u1 = std::max(rng.generateDouble(), 1e-9);
    const qreal u2 = rng.generateDouble();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(std::clamp(alpha, 0, 255));
    return c;
}

// The skyline: distant hills, used both to fill the land and to keep stars
// from being scattered where the ground will be.
QPainterPath farHills()
{
    QPainterPath path;
    path.moveTo(0, 196);
    path.cubicTo(40, 184, 70, 182, 110, 192);
    path.cubicTo(150, 202, 175, 200, 205, 188);
    path.cubicTo(235, 176, 275, 174, 320, 186);
    path.lineTo(320, 240);
    path.lineTo(0, 240);
    path.closeSubpath();
    return path;
}

QPainterPath nearGround()
{
    QPainterPath path;
    path.moveTo(0, 214);
    path.cubicTo(60, 206, 120, 208, 170, 214);
    path.cubicTo(220, 220, 270, 214, 320, 208);
    path.lineTo(320, 240);
    path.lineTo(0, 240);
    path.closeSubpath();
    return path;
}

void paintSky(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.00, QColor(4, 8, 30));
    sky.setColorAt(0.45, QColor(12, 26, 78));
    sky.setColorAt(0.78, QColor(28, 52, 120));
    sky.setColorAt(1.00, QColor(52, 80, 150));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), sky);

    // A faint band of the galaxy running diagonally across the sky.
    p.save();
    p.translate(150, 95);
    p.rotate(-28);
    QRadialGradient band(QPointF(0, 0), 1.0);
    band.setCoordinateMode(QGradient::ObjectMode);
    band.setCenter(0.5, 0.5);
    band.setFocalPoint(0.5, 0.5);
    band.setRadius(0.5);
    band.setColorAt(0.0, QColor(150, 170, 230, 40));
    band.setColorAt(0.6, QColor(120, 140, 210, 16));
    band.setColorAt(1.0, QColor(100, 120, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawEllipse(QRectF(-260, -38, 520, 76));
    p.restore();

    // Soft glow above the horizon.
    QLinearGradient glow(0, 150, 0, 205);
    glow.setColorAt(0.0, QColor(90, 110, 170, 0));
    glow.setColorAt(1.0, QColor(110, 125, 175, 70));
    p.fillRect(QRectF(0, 150, kWidth, 60), glow);
}

void paintStar(QPainter &p, const QPointF &centre, qreal size, const QColor &colour, bool spikes)
{
    // Halo.
    QRadialGradient halo(centre, size * 3.2);
    halo.setColorAt(0.0, withAlpha(colour, 150));
    halo.setColorAt(0.3, withAlpha(colour, 45));
    halo.setColorAt(1.0, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, size * 3.2, size * 3.2);

    if (spikes) {
        QLinearGradient horizontal(centre.x() - size * 5, 0, centre.x() + size * 5, 0);
        horizontal.setColorAt(0.0, withAlpha(colour, 0));
        horizontal.setColorAt(0.5, withAlpha(colour, 220));
        horizontal.setColorAt(1.0, withAlpha(colour, 0));
        p.setPen(QPen(QBrush(horizontal), 0.7));
        p.drawLine(QPointF(centre.x() - size * 5, centre.y()), QPointF(centre.x() + size * 5, centre.y()));

        QLinearGradient vertical(0, centre.y() - size * 5, 0, centre.y() + size * 5);
        vertical.setColorAt(0.0, withAlpha(colour, 0));
        vertical.setColorAt(0.5, withAlpha(colour, 220));
        vertical.setColorAt(1.0, withAlpha(colour, 0));
        p.setPen(QPen(QBrush(vertical), 0.7));
        p.drawLine(QPointF(centre.x(), centre.y() - size * 5), QPointF(centre.x(), centre.y() + size * 5));
        p.setPen(Qt::NoPen);
    }

    // Core.
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawEllipse(centre, size * 0.55, size * 0.55);
}

QColor starColour(QRandomGenerator &rng)
{
    const int kind = rng.bounded(10);
    if (kind < 2)
        return QColor(255, 230, 180); // warm
    if (kind < 4)
        return QColor(190, 210, 255); // blue-white
    return QColor(240, 244, 255);
}

void paintStars(QPainter &p, QRandomGenerator &rng)
{
    const QPainterPath ground = farHills();
    const auto keepOut = [&](const QPointF &pt) {
        if (ground.contains(pt) || pt.y() > 196)
            return true;
        const QPointF d = pt - kMoonCentre;
        return QPointF::dotProduct(d, d) < (kMoonRadius + 6) * (kMoonRadius + 6);
    };

    p.setPen(Qt::NoPen);

    // Dust of tiny stars along the galactic band.
    for (int i = 0; i < 260; ++i) {
        const qreal along = (rng.generateDouble() - 0.5) * 520.0;
        const qreal across = gaussian(rng) * 13.0;
        const qreal angle = qDegreesToRadians(-28.0);
        const QPointF pt(150 + along * std::cos(angle) - across * std::sin(angle),
                         95 + along * std::sin(angle) + across * std::cos(angle));
        if (pt.x() < 0 || pt.x() > kWidth || pt.y() < 0 || keepOut(pt))
            continue;
        const int alpha = 40 + rng.bounded(90);
        p.setBrush(QColor(220, 228, 255, alpha));
        const qreal r = 0.35 + rng.generateDouble() * 0.35;
        p.drawEllipse(pt, r, r);
    }

    // Field stars: many faint, a few bright.
    for (int i = 0; i < 230; ++i) {
        const QPointF pt(rng.generateDouble() * kWidth, rng.generateDouble() * 200.0);
        if (keepOut(pt))
            continue;
        const qreal magnitude = rng.generateDouble();
        const qreal fade = 1.0 - std::clamp((pt.y() - 120.0) / 90.0, 0.0, 0.6);
        const QColor colour = starColour(rng);
        if (magnitude < 0.80) {
            const int alpha = int((70 + 150 * magnitude / 0.8) * fade);
            p.setBrush(withAlpha(colour, alpha));
            const qreal r = 0.4 + magnitude * 0.6;
            p.drawEllipse(pt, r, r);
        } else {
            const qreal size = 0.9 + (magnitude - 0.8) * 5.0;
            paintStar(p, pt, size, colour, false);
        }
    }

    // A handful of prominent stars with diffraction spikes, placed by hand so
    // they frame the scene nicely.
    const struct {
        QPointF pos;
        qreal size;
        QColor colour;
    } bright[] = {
        {QPointF(38, 30), 2.0, QColor(235, 240, 255)},   {QPointF(172, 22), 1.7, QColor(255, 236, 200)},
        {QPointF(300, 118), 1.6, QColor(200, 220, 255)}, {QPointF(88, 92), 1.5, QColor(245, 245, 255)},
        {QPointF(214, 132), 1.3, QColor(255, 225, 190)}, {QPointF(20, 150), 1.2, QColor(210, 225, 255)},
    };
    for (const auto &star : bright)
        paintStar(p, star.pos, star.size, star.colour, true);
}

void paintMoon(QPainter &p)
{
    // Glow around the moon.
    QRadialGradient glow(kMoonCentre, kMoonRadius * 3.0);
    glow.setColorAt(0.0, QColor(255, 248, 215, 90));
    glow.setColorAt(0.35, QColor(220, 225, 255, 35));
    glow.setColorAt(1.0, QColor(180, 200, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(kMoonCentre, kMoonRadius * 3.0, kMoonRadius * 3.0);

    // Crescent: the full disc minus an offset disc. The unlit part is faintly
    // visible (earthshine).
    QPainterPath disc;
    disc.addEllipse(kMoonCentre, kMoonRadius, kMoonRadius);
    QPainterPath shadow;
    shadow.addEllipse(kMoonCentre + QPointF(-8.5, -5.0), kMoonRadius * 0.96, kMoonRadius * 0.96);
    const QPainterPath crescent = disc.subtracted(shadow);

    p.setBrush(QColor(40, 55, 100, 120));
    p.drawPath(disc);

    QRadialGradient lit(kMoonCentre + QPointF(8, 6), kMoonRadius * 1.6);
    lit.setColorAt(0.0, QColor(255, 252, 230));
    lit.setColorAt(0.6, QColor(250, 238, 190));
    lit.setColorAt(1.0, QColor(225, 205, 150));
    p.setBrush(lit);
    p.drawPath(crescent);

    // A few soft maria on the lit limb.
    p.save();
    p.setClipPath(crescent);
    p.setBrush(QColor(200, 180, 130, 70));
    p.drawEllipse(kMoonCentre + QPointF(11, 5), 3.2, 2.6);
    p.drawEllipse(kMoonCentre + QPointF(6, 13), 2.4, 2.0);
    p.drawEllipse(kMoonCentre + QPointF(15, -4), 1.8, 2.4);
    p.restore();
}

void paintLand(QPainter &p)
{
    p.setPen(Qt::NoPen);

    QLinearGradient far(0, 175, 0, 240);
    far.setColorAt(0.0, QColor(22, 32, 62));
    far.setColorAt(1.0, QColor(10, 16, 34));
    p.setBrush(far);
    p.drawPath(farHills());

    // A cottage on the far hill, with a lit window.
    p.save();
    p.translate(268, 179);
    QPainterPath house;
    house.moveTo(0, 8);
    house.lineTo(0, 0);
    house.lineTo(9, -8);
    house.lineTo(18, 0);
    house.lineTo(18, 8);
    house.closeSubpath();
    p.setBrush(QColor(14, 20, 42));
    p.drawPath(house);
    p.drawRect(QRectF(12, -9, 2.5, 6)); // chimney
    QRadialGradient lamp(QPointF(6, 3), 5);
    lamp.setColorAt(0.0, QColor(255, 210, 120, 140));
    lamp.setColorAt(1.0, QColor(255, 190, 90, 0));
    p.setBrush(lamp);
    p.drawEllipse(QPointF(6, 3), 5, 5);
    p.setBrush(QColor(255, 214, 130));
    p.drawRect(QRectF(4.5, 1.5, 3, 3));
    p.restore();

    QLinearGradient nearFill(0, 205, 0, 240);
    nearFill.setColorAt(0.0, QColor(16, 24, 30));
    nearFill.setColorAt(1.0, QColor(6, 9, 14));
    p.setBrush(nearFill);
    p.drawPath(nearGround());

    // Moonlit rim along the top of the near ground.
    QPainterPath rim = nearGround();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(90, 110, 150, 90), 0.8));
    p.drawPath(rim);
    p.setPen(Qt::NoPen);

    // Tufts of grass.
    QRandomGenerator rng(0x6A55u);
    p.setPen(QPen(QColor(30, 44, 48), 0.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 70; ++i) {
        const qreal x = rng.generateDouble() * kWidth;
        const qreal base = 226 + rng.generateDouble() * 14;
        const qreal h = 2.0 + rng.generateDouble() * 3.0;
        const qreal lean = (rng.generateDouble() - 0.5) * 2.5;
        p.drawLine(QPointF(x, base), QPointF(x + lean, base - h));
    }
    p.setPen(Qt::NoPen);
}

QLinearGradient woodGradient(const QPointF &a, const QPointF &b)
{
    QLinearGradient g(a, b);
    g.setColorAt(0.0, QColor(70, 38, 18));
    g.setColorAt(0.4, QColor(150, 92, 48));
    g.setColorAt(0.6, QColor(128, 76, 38));
    g.setColorAt(1.0, QColor(58, 30, 14));
    return g;
}

// A tripod leg as a slightly tapering quad with grain shading across it.
void paintLeg(QPainter &p, const QPointF &top, const QPointF &foot, qreal topWidth, qreal footWidth)
{
    const QPointF dir = foot - top;
    const qreal len = std::hypot(dir.x(), dir.y());
    const QPointF n(-dir.y() / len, dir.x() / len);

    QPolygonF leg;
    leg << top + n * (topWidth / 2) << foot + n * (footWidth / 2) << foot - n * (footWidth / 2)
        << top - n * (topWidth / 2);

    const QPointF mid = (top + foot) / 2;
    p.setPen(QPen(QColor(40, 20, 8), 0.6));
    p.setBrush(woodGradient(mid - n * (topWidth / 2), mid + n * (topWidth / 2)));
    p.drawPolygon(leg);

    // Brass ferrule at the foot.
    const QPointF ferruleTop = foot - dir * (7.0 / len);
    QPolygonF ferrule;
    ferrule << ferruleTop + n * (footWidth / 2 + 0.4) << foot + n * (footWidth / 2 + 0.4)
            << foot - n * (footWidth / 2 + 0.4) << ferruleTop - n * (footWidth / 2 + 0.4);
    QLinearGradient brass(mid - n * footWidth, mid + n * footWidth);
    brass.setColorAt(0.0, QColor(110, 72, 20));
    brass.setColorAt(0.5, QColor(235, 196, 100));
    brass.setColorAt(1.0, QColor(110, 72, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(brass);
    p.drawPolygon(ferrule);
}

// Gradient across the tube (local y axis) that gives polished brass its shine.
QLinearGradient brassAcross(qreal top, qreal bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.00, QColor(96, 62, 14));
    g.setColorAt(0.18, QColor(200, 150, 56));
    g.setColorAt(0.32, QColor(255, 236, 160));
    g.setColorAt(0.45, QColor(222, 172, 72));
    g.setColorAt(0.80, QColor(150, 100, 30));
    g.setColorAt(1.00, QColor(78, 48, 10));
    return g;
}

QLinearGradient darkBrassAcross(qreal top, qreal bottom)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0.00, QColor(70, 44, 10));
    g.setColorAt(0.30, QColor(210, 165, 80));
    g.setColorAt(0.55, QColor(150, 102, 34));
    g.setColorAt(1.00, QColor(56, 34, 8));
    return g;
}

// Draws a band (collar) around the tube between x0 and x1 with radius r.
void paintCollar(QPainter &p, qreal x0, qreal x1, qreal r)
{
    p.setPen(QPen(QColor(60, 36, 8), 0.5));
    p.setBrush(darkBrassAcross(-r, r));
    p.drawRoundedRect(QRectF(x0, -r, x1 - x0, 2 * r), 1.0, 1.0);
}

// The wooden tripod and the mount head with its brass fork.
void paintTripod(QPainter &p)
{
    // Back leg first so the front legs overlap it.
    paintLeg(p, kPivot + QPointF(4, 8), QPointF(150, 218), 4.5, 3.2);
    paintLeg(p, kPivot + QPointF(-3, 8), QPointF(80, 232), 5.5, 3.8);
    paintLeg(p, kPivot + QPointF(3, 8), QPointF(136, 236), 5.5, 3.8);

    // Spreader cord tying the legs together.
    p.setPen(QPen(QColor(60, 34, 16), 1.2));
    p.drawLine(QPointF(97, 196), QPointF(128, 199));
    p.drawLine(QPointF(128, 199), QPointF(138, 190));

    // Mount head: a wooden block with a brass fork.
    QRectF head(kPivot.x() - 9, kPivot.y() + 4, 18, 8);
    p.setPen(QPen(QColor(40, 20, 8), 0.6));
    p.setBrush(woodGradient(head.topLeft(), head.bottomLeft()));
    p.drawRoundedRect(head, 1.5, 1.5);

    QLinearGradient forkBrass(kPivot.x() - 5, 0, kPivot.x() + 5, 0);
    forkBrass.setColorAt(0.0, QColor(110, 70, 18));
    forkBrass.setColorAt(0.45, QColor(245, 210, 120));
    forkBrass.setColorAt(1.0, QColor(110, 70, 18));
    p.setBrush(forkBrass);
    p.setPen(QPen(QColor(70, 44, 10), 0.5));
    QPolygonF fork;
    fork << QPointF(kPivot.x() - 4, kPivot.y() + 5) << QPointF(kPivot.x() - 3, kPivot.y() - 2)
         << QPointF(kPivot.x() + 3, kPivot.y() - 2) << QPointF(kPivot.x() + 4, kPivot.y() + 5);
    p.drawPolygon(fork);
}

// The tube is drawn in its own frame: x along the optical axis toward the
// sky, the pivot at the origin.
constexpr qreal kBackX = -62.0; // end of main tube at the eyepiece side
constexpr qreal kFrontX = 104.0; // start of the dew shield
constexpr qreal kShieldX = 128.0; // open end of the dew shield
constexpr qreal kBackRadius = 5.5;
constexpr qreal kFrontRadius = 8.5;
constexpr qreal kShieldRadius = 9.6;

// The main tube's radius at x: it widens toward the objective.
qreal tubeRadiusAt(qreal x)
{
    return kBackRadius + (kFrontRadius - kBackRadius) * (x - kBackX) / (kFrontX - kBackX);
}

// Black wood across the tube, for the eyepiece and the finder's eye end.
QLinearGradient ebonyAcross()
{
    QLinearGradient ebony(0, -3.2, 0, 3.2);
    ebony.setColorAt(0.0, QColor(10, 10, 12));
    ebony.setColorAt(0.35, QColor(90, 90, 100));
    ebony.setColorAt(1.0, QColor(8, 8, 10));
    return ebony;
}

// The drawtube sliding out of the back of the tube, with its eyepiece and
// focusing knob.
void paintEyepieceEnd(QPainter &p)
{
    // Drawtube (narrow sliding tube) and eyepiece at the back.
    p.setPen(QPen(QColor(60, 38, 8), 0.5));
    p.setBrush(brassAcross(-3.6, 3.6));
    p.drawRect(QRectF(kBackX - 18, -3.6, 19, 7.2));
    paintCollar(p, kBackX - 19, kBackX - 15, 4.3);

    // Eyepiece: a short black barrel with a brass rim and a rounded eyecup.
    p.setBrush(ebonyAcross());
    p.setPen(QPen(QColor(0, 0, 0), 0.4));
    p.drawRoundedRect(QRectF(kBackX - 29, -3.2, 11, 6.4), 1.5, 1.5);
    p.drawRoundedRect(QRectF(kBackX - 32, -3.8, 4, 7.6), 1.6, 1.6);

    // Focusing knobs under the drawtube.
    p.setPen(QPen(QColor(60, 38, 8), 0.5));
    p.setBrush(darkBrassAcross(-2, 2));
    p.drawRect(QRectF(kBackX - 4, 3.5, 2.2, 5));
    QRadialGradient knob(QPointF(kBackX - 3.0, 9.5), 3.0);
    knob.setColorAt(0.0, QColor(250, 220, 140));
    knob.setColorAt(1.0, QColor(120, 80, 20));
    p.setBrush(knob);
    p.drawEllipse(QPointF(kBackX - 2.9, 9.8), 2.7, 2.7);
}

// The tapered main tube with its collars, resting in the cradle ring on the
// pivot.
void paintMainTube(QPainter &p)
{
    // Main tube: tapered, wider toward the objective.
    QPolygonF tube;
    tube << QPointF(kBackX, -kBackRadius) << QPointF(kFrontX, -kFrontRadius) << QPointF(kFrontX, kFrontRadius)
         << QPointF(kBackX, kBackRadius);
    p.setPen(QPen(QColor(70, 44, 10), 0.6));
    p.setBrush(brassAcross(-kFrontRadius, kFrontRadius));
    p.drawPolygon(tube);

    // Thin highlight line running the length of the tube.
    p.setPen(QPen(QColor(255, 248, 210, 170), 0.7));
    p.drawLine(QPointF(kBackX + 2, -kBackRadius * 0.42), QPointF(kFrontX - 2, -kFrontRadius * 0.42));

    // Collars along the tube.
    paintCollar(p, kBackX - 1, kBackX + 4, kBackRadius + 1.0);
    for (const qreal x : {-12.0, 30.0, 70.0})
        paintCollar(p, x, x + 2.6, tubeRadiusAt(x) + 0.8);

    // Cradle ring where the tube rests on the fork.
    p.setPen(QPen(QColor(50, 30, 6), 0.6));
    p.setBrush(darkBrassAcross(-tubeRadiusAt(0) - 1.6, tubeRadiusAt(0) + 1.6));
    p.drawRoundedRect(QRectF(-4, -tubeRadiusAt(0) - 1.6, 8, 2 * tubeRadiusAt(0) + 3.2), 1.2, 1.2);
    QRadialGradient pivotBolt(QPointF(-0.5, -0.5), 2.6);
    pivotBolt.setColorAt(0.0, QColor(255, 240, 190));
    pivotBolt.setColorAt(1.0, QColor(110, 70, 16));
    p.setBrush(pivotBolt);
    p.drawEllipse(QPointF(0, 0), 2.2, 2.2);
}

void paintFinder(QPainter &p)
{
    // Finder scope riding on two small brackets.
    p.setPen(QPen(QColor(60, 38, 8), 0.4));
    p.setBrush(darkBrassAcross(-2, 2));
    for (const qreal x : {16.0, 48.0})
        p.drawRect(QRectF(x, -tubeRadiusAt(x) - 4.5, 2.2, 4.6));
    p.save();
    p.translate(0, -tubeRadiusAt(32) - 6.3);
    p.setBrush(brassAcross(-2.1, 2.1));
    p.drawRect(QRectF(8, -2.0, 50, 4.0));
    p.setBrush(darkBrassAcross(-2.6, 2.6));
    p.drawRect(QRectF(56, -2.6, 5, 5.2));
    p.setBrush(ebonyAcross());
    p.drawRect(QRectF(4, -1.6, 4, 3.2));
    p.restore();
}

// The dew shield over the objective, and the lens itself.
void paintObjectiveEnd(QPainter &p)
{
    // Dew shield: slightly wider sleeve over the objective.
    QPolygonF shield;
    shield << QPointF(kFrontX, -kShieldRadius) << QPointF(kShieldX, -kShieldRadius) << QPointF(kShieldX, kShieldRadius)
           << QPointF(kFrontX, kShieldRadius);
    p.setPen(QPen(QColor(60, 38, 8), 0.6));
    p.setBrush(brassAcross(-kShieldRadius, kShieldRadius));
    p.drawPolygon(shield);
    paintCollar(p, kFrontX - 1, kFrontX + 3, kShieldRadius + 0.6);
    paintCollar(p, kShieldX - 3, kShieldX + 0.5, kShieldRadius + 0.8);

    // The objective lens seen almost edge-on: a narrow ellipse of glass
    // catching a blue reflection of the sky and a glint of moonlight.
    QRectF lensRect(kShieldX - 2.2, -kShieldRadius + 0.6, 4.4, 2 * kShieldRadius - 1.2);
    QLinearGradient glass(0, lensRect.top(), 0, lensRect.bottom());
    glass.setColorAt(0.0, QColor(170, 210, 255));
    glass.setColorAt(0.4, QColor(60, 100, 170));
    glass.setColorAt(1.0, QColor(20, 35, 80));
    p.setPen(QPen(QColor(120, 80, 20), 0.8));
    p.setBrush(glass);
    p.drawEllipse(lensRect);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(kShieldX + 0.3, -kShieldRadius * 0.45), 0.8, 1.6);
}

void paintTelescope(QPainter &p)
{
    paintTripod(p);

    // Work in the tube's own frame: x along the optical axis toward the sky.
    p.save();
    p.translate(kPivot);
    p.rotate(-kElevationDegrees);

    // Soft shadow under the tube, to lift it off the sky.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 10, 60));
    QPolygonF shadow;
    shadow << QPointF(kBackX, kBackRadius + 1) << QPointF(kShieldX, kShieldRadius + 1)
           << QPointF(kShieldX, kShieldRadius + 3) << QPointF(kBackX, kBackRadius + 2.5);
    p.drawPolygon(shadow);

    paintEyepieceEnd(p);
    paintMainTube(p);
    paintFinder(p);
    paintObjectiveEnd(p);

    p.restore();
}

} // namespace

QImage paintTitlePicture()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    QRandomGenerator rng(0x5E7A41u);
    paintSky(p);
    paintStars(p, rng);
    paintMoon(p);
    paintLand(p);
    paintTelescope(p);

    // A gentle vignette pulls the eye toward the telescope.
    QRadialGradient vignette(QPointF(kWidth * 0.45, kHeight * 0.5), kWidth * 0.75);
    vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 10, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(vignette);
    p.drawRect(QRectF(0, 0, kWidth, kHeight));

    p.end();
    return image;
}

} // namespace artwork
