// Background of the unit page: an antique celestial globe on its stand,
// set on a faint star chart, with a parchment banner for the scientist's
// name at the top left.
//
// The page lays the scientist's name on the banner in black, two black
// buttons at the top right, his portrait over the middle of the globe and a
// row of black buttons along the bottom, so the globe is painted to glow
// around the portrait and the bottom of the picture is kept dark and quiet.

#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRectF>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The globe, centred behind the portrait.
constexpr QPointF kCentre(400.0, 272.0);
constexpr qreal kGlobeRadius = 172.0;
constexpr qreal kMeridianInner = 179.0;
constexpr qreal kMeridianOuter = 193.0;

// Horizon ring: a flat wooden ring seen from a little above.
constexpr qreal kHorizonInner = 198.0;
constexpr qreal kHorizonOuter = 230.0;
constexpr qreal kHorizonSquash = 0.2;
constexpr qreal kHorizonRim = 10.0; // thickness of the ring's edge

// Tilt of the globe's axis from upright, toward the right (degrees), and
// the turn of the sky about it.
constexpr qreal kAxisTilt = 32.0;
constexpr qreal kSkyTurn = 38.0;
constexpr qreal kObliquity = 23.44;

// Parchment banner for the name.
constexpr qreal kBannerRight = 440.0;
constexpr qreal kBannerBottom = 66.0;

// Floor line below the stand; below it the picture stays dark.
constexpr qreal kFloorTop = 500.0;

const QColor kGold(226, 188, 108);
const QColor kPaleGold(244, 220, 150);
const QColor kWalnut(96, 56, 30);

// --- Small vector maths for the globe -------------------------------------------

struct Vec3 {
    qreal x, y, z;
};

Vec3 operator+(const Vec3 &a, const Vec3 &b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator*(const Vec3 &a, qreal k)
{
    return {a.x * k, a.y * k, a.z * k};
}
qreal dot(const Vec3 &a, const Vec3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 normalised(const Vec3 &v)
{
    const qreal len = std::sqrt(dot(v, v));
    return len > 0 ? v * (1.0 / len) : Vec3{0, 0, 1};
}

// Picture axes: x right, y down, z toward the viewer.
struct GlobeFrame {
    Vec3 pole; // north celestial pole
    Vec3 zero; // where right ascension 0 crosses the equator
    Vec3 ninety; // right ascension 6 h on the equator

    GlobeFrame()
    {
        const qreal tilt = qDegreesToRadians(kAxisTilt);
        pole = {std::sin(tilt), -std::cos(tilt), 0.0};
        const Vec3 across{std::cos(tilt), std::sin(tilt), 0.0};
        const Vec3 toward{0.0, 0.0, 1.0};
        const qreal turn = qDegreesToRadians(kSkyTurn);
        zero = across * std::cos(turn) + toward * std::sin(turn);
        ninety = across * -std::sin(turn) + toward * std::cos(turn);
    }

    // A direction given in the globe's own (equatorial) coordinates.
    Vec3 toPicture(const Vec3 &eq) const { return zero * eq.x + ninety * eq.y + pole * eq.z; }

    Vec3 fromLatLon(qreal latDegrees, qreal lonDegrees) const
    {
        const qreal lat = qDegreesToRadians(latDegrees);
        const qreal lon = qDegreesToRadians(lonDegrees);
        return toPicture({std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)});
    }

    Vec3 onEcliptic(qreal longitudeDegrees, qreal latitudeDegrees = 0.0) const
    {
        const qreal l = qDegreesToRadians(longitudeDegrees);
        const qreal b = qDegreesToRadians(latitudeDegrees);
        const qreal e = qDegreesToRadians(kObliquity);
        const Vec3 ecl{std::cos(b) * std::cos(l), std::cos(b) * std::sin(l), std::sin(b)};
        // Rotate about the x axis by the obliquity.
        return toPicture({ecl.x, ecl.y * std::cos(e) - ecl.z * std::sin(e), ecl.y * std::sin(e) + ecl.z * std::cos(e)});
    }
};

QPointF project(const Vec3 &v)
{
    return kCentre + QPointF(v.x, v.y) * kGlobeRadius;
}

// How strongly a mark on the globe shows: fades out toward the limb.
qreal limbFade(const Vec3 &v)
{
    return std::clamp((v.z - 0.02) / 0.35, 0.0, 1.0);
}

// --- Sky ---------------------------------------------------------------------------

void paintSky(QPainter &p)
{
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.00, QColor(22, 28, 66));
    sky.setColorAt(0.45, QColor(16, 22, 54));
    sky.setColorAt(0.80, QColor(9, 12, 30));
    sky.setColorAt(1.00, QColor(4, 5, 12));
    p.fillRect(QRectF(0, 0, kWidth, kHeight), sky);

    // A faint blue-violet band of the galaxy across the upper right.
    p.save();
    p.translate(610, 150);
    p.rotate(-24);
    QRadialGradient band(QPointF(0, 0), 1.0);
    band.setCoordinateMode(QGradient::ObjectMode);
    band.setCenter(0.5, 0.5);
    band.setFocalPoint(0.5, 0.5);
    band.setRadius(0.5);
    band.setColorAt(0.0, QColor(120, 130, 210, 34));
    band.setColorAt(1.0, QColor(120, 130, 210, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawEllipse(QRectF(-420, -50, 840, 100));
    p.restore();
}

// The graticule of an old star chart, centred on the globe: circles and
// spokes in thin gold, like the plate of an astrolabe.
void paintChart(QPainter &p)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int r = 250; r <= 520; r += 45) {
        p.setPen(QPen(withAlpha(kGold, r == 250 ? 60 : 30), r == 250 ? 1.2 : 0.8));
        p.drawEllipse(kCentre, r, r);
    }
    // A band of degree marks just outside the first circle.
    p.setPen(QPen(withAlpha(kGold, 55), 0.8));
    for (int d = 0; d < 360; d += 5) {
        const qreal a = qDegreesToRadians(qreal(d));
        const qreal r1 = 250.0;
        const qreal r2 = d % 30 == 0 ? 266.0 : 256.0;
        p.drawLine(kCentre + QPointF(r1 * std::cos(a), r1 * std::sin(a)),
                   kCentre + QPointF(r2 * std::cos(a), r2 * std::sin(a)));
    }
    p.setPen(QPen(withAlpha(kGold, 22), 0.8));
    for (int d = 0; d < 360; d += 15) {
        const qreal a = qDegreesToRadians(qreal(d));
        p.drawLine(kCentre + QPointF(266 * std::cos(a), 266 * std::sin(a)),
                   kCentre + QPointF(600 * std::cos(a), 600 * std::sin(a)));
    }
    p.restore();
}

void paintStar(QPainter &p, const QPointF &pos, qreal size, const QColor &colour)
{
    QRadialGradient halo(pos, size * 3.0);
    halo.setColorAt(0.0, withAlpha(colour, 120));
    halo.setColorAt(1.0, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(pos, size * 3.0, size * 3.0);
    p.setBrush(withAlpha(colour, 240));
    if (size > 1.6)
        p.drawPolygon(starPolygon(pos, size * 1.6, size * 0.45, 4));
    p.drawEllipse(pos, size * 0.6, size * 0.6);
}

void paintBackgroundStars(QPainter &p, QRandomGenerator &rng)
{
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 420; ++i) {
        const QPointF pt(rng.generateDouble() * kWidth, rng.generateDouble() * kFloorTop);
        const qreal m = rng.generateDouble();
        const int kind = rng.bounded(6);
        const QColor colour = kind == 0   ? QColor(255, 226, 180)
                              : kind == 1 ? QColor(190, 206, 255)
                                          : QColor(236, 238, 255);
        if (m < 0.9) {
            p.setBrush(withAlpha(colour, int(50 + 150 * m)));
            const qreal r = 0.4 + 0.7 * m;
            p.drawEllipse(pt, r, r);
        } else {
            paintStar(p, pt, 0.9 + (m - 0.9) * 14.0, colour);
        }
    }
}

// Star patterns drawn as on a chart: gold lines joining the stars.
void paintConstellations(QPainter &p)
{
    struct Figure {
        std::vector<QPointF> stars;
        std::vector<std::pair<int, int>> lines;
    };
    const Figure figures[] = {
        // A hunter with his belt, lower left.
        {{QPointF(40, 318), QPointF(92, 312), QPointF(58, 352), QPointF(66, 356), QPointF(74, 360), QPointF(44, 404),
          QPointF(98, 398), QPointF(118, 300)},
         {{0, 2}, {1, 4}, {2, 3}, {3, 4}, {2, 5}, {4, 6}, {1, 7}}},
        // A plough of seven stars, upper right.
        {{QPointF(662, 78), QPointF(692, 84), QPointF(716, 96), QPointF(740, 104), QPointF(748, 134), QPointF(782, 140),
          QPointF(786, 110)},
         {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 3}}},
        // A crooked W, middle right.
        {{QPointF(662, 262), QPointF(686, 286), QPointF(708, 266), QPointF(734, 290), QPointF(760, 270)},
         {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
        // A small cross, middle left.
        {{QPointF(120, 232), QPointF(126, 270), QPointF(104, 250), QPointF(146, 254)}, {{0, 1}, {2, 3}}},
        // A kite, lower right.
        {{QPointF(742, 372), QPointF(770, 400), QPointF(752, 440), QPointF(722, 410), QPointF(778, 470)},
         {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {2, 4}}},
    };
    for (const Figure &figure : figures) {
        p.setPen(QPen(withAlpha(kGold, 90), 0.9, Qt::SolidLine, Qt::RoundCap));
        for (const auto &line : figure.lines) {
            // Leave a little gap at each star, as engravers do.
            const QPointF a = figure.stars[size_t(line.first)];
            const QPointF b = figure.stars[size_t(line.second)];
            const QPointF d = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
            p.drawLine(a + d * 4.0, b - d * 4.0);
        }
        int i = 0;
        for (const QPointF &star : figure.stars)
            paintStar(p, star, (i++ % 3 == 0) ? 1.9 : 1.3, QColor(255, 240, 206));
    }
}

// The Moon as seen through a small telescope: a gibbous disc with the
// rough terminator and dark seas.
void paintMoon(QPainter &p, QRandomGenerator &rng)
{
    const QPointF c(92, 152);
    constexpr qreal r = 42.0;

    QRadialGradient glow(c, r * 2.2);
    glow.setColorAt(0.0, QColor(230, 230, 210, 50));
    glow.setColorAt(1.0, QColor(230, 230, 210, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, r * 2.2, r * 2.2);

    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setBrush(QColor(40, 42, 60));
    p.drawPath(disc);

    // Lit part: the disc minus a shadow ellipse on the left.
    QPainterPath lit;
    lit.moveTo(c + QPointF(0, -r));
    lit.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90, -180);
    lit.arcTo(QRectF(c.x() - r * 0.45, c.y() - r, r * 0.9, 2 * r), 270, -180);
    lit.closeSubpath();
    QRadialGradient light(c + QPointF(r * 0.4, -r * 0.3), r * 1.4);
    light.setColorAt(0.0, QColor(250, 244, 222));
    light.setColorAt(0.7, QColor(222, 214, 190));
    light.setColorAt(1.0, QColor(170, 162, 140));
    p.setBrush(light);
    p.drawPath(lit);

    p.save();
    p.setClipPath(lit);
    // Seas: soft grey patches.
    const struct {
        QPointF offset;
        qreal rx, ry;
    } seas[] = {
        {QPointF(8, -16), 12, 9}, {QPointF(22, -2), 8, 11}, {QPointF(6, 10), 10, 7},
        {QPointF(-6, -26), 7, 5}, {QPointF(16, 20), 6, 5},  {QPointF(28, -20), 5, 6},
    };
    for (const auto &sea : seas) {
        QRadialGradient grey(c + sea.offset, std::max(sea.rx, sea.ry));
        grey.setColorAt(0.0, QColor(140, 136, 122, 130));
        grey.setColorAt(0.7, QColor(140, 136, 122, 90));
        grey.setColorAt(1.0, QColor(140, 136, 122, 0));
        p.setBrush(grey);
        p.drawEllipse(c + sea.offset, sea.rx, sea.ry);
    }
    // Small craters, each with a shadowed and a lit rim.
    for (int i = 0; i < 34; ++i) {
        const qreal a = rng.generateDouble() * 2 * M_PI;
        const qreal d = std::sqrt(rng.generateDouble()) * r * 0.9;
        const QPointF at = c + QPointF(d * std::cos(a), d * std::sin(a));
        const qreal size = 0.7 + rng.generateDouble() * 1.6;
        p.setBrush(QColor(110, 104, 92, 120));
        p.drawEllipse(at, size, size);
        p.setBrush(QColor(255, 252, 236, 110));
        p.drawEllipse(at + QPointF(size * 0.45, 0), size * 0.55, size * 0.8);
    }
    // Soften the terminator.
    QLinearGradient dusk(c.x() - r * 0.45, 0, c.x() + r * 0.05, 0);
    dusk.setColorAt(0.0, QColor(40, 42, 60, 200));
    dusk.setColorAt(1.0, QColor(40, 42, 60, 0));
    p.setBrush(dusk);
    p.drawRect(QRectF(c.x() - r, c.y() - r, r * 1.05, 2 * r));
    p.restore();
}

// Jupiter and four little moons strung out in a line beside it, as the
// astronomer saw them.
void paintJupiter(QPainter &p)
{
    const QPointF c(712, 196);
    constexpr qreal r = 18.0;
    QRadialGradient glow(c, r * 3.0);
    glow.setColorAt(0.0, QColor(255, 230, 190, 60));
    glow.setColorAt(1.0, QColor(255, 230, 190, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, r * 3.0, r * 3.0);

    QPainterPath disc;
    disc.addEllipse(c, r, r * 0.94);
    QRadialGradient body(c + QPointF(-5, -5), r * 1.3);
    body.setColorAt(0.0, QColor(250, 232, 200));
    body.setColorAt(0.8, QColor(214, 180, 140));
    body.setColorAt(1.0, QColor(150, 120, 90));
    p.setBrush(body);
    p.drawPath(disc);
    p.save();
    p.setClipPath(disc);
    p.setBrush(QColor(170, 110, 70, 150));
    p.drawRect(QRectF(c.x() - r, c.y() - 7, 2 * r, 3.5));
    p.drawRect(QRectF(c.x() - r, c.y() + 3, 2 * r, 3.0));
    p.setBrush(QColor(190, 130, 90, 90));
    p.drawRect(QRectF(c.x() - r, c.y() - 13, 2 * r, 2.0));
    p.drawRect(QRectF(c.x() - r, c.y() + 10, 2 * r, 2.0));
    p.setBrush(QColor(190, 90, 60, 170));
    p.drawEllipse(c + QPointF(6, 5.5), 3.5, 1.8);
    p.restore();

    for (const qreal x : {-58.0, -34.0, 30.0, 66.0})
        paintStar(p, c + QPointF(x, 0.5), 1.5, QColor(255, 246, 226));
}

// A compass rose in the lower left, engraved in gold.
void paintCompassRose(QPainter &p)
{
    const QPointF c(88, 452);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kGold, 80), 0.9));
    p.drawEllipse(c, 44, 44);
    p.drawEllipse(c, 39, 39);
    for (int d = 0; d < 360; d += 10) {
        const qreal a = qDegreesToRadians(qreal(d));
        p.drawLine(c + QPointF(39 * std::cos(a), 39 * std::sin(a)), c + QPointF(44 * std::cos(a), 44 * std::sin(a)));
    }
    // Eight points, each split into a light and a dark half.
    for (int i = 0; i < 8; ++i) {
        const qreal len = i % 2 == 0 ? 52.0 : 30.0;
        const qreal a = qDegreesToRadians(-90.0 + 45.0 * i);
        const qreal w = qDegreesToRadians(i % 2 == 0 ? 11.0 : 14.0);
        const QPointF tip = c + QPointF(len * std::cos(a), len * std::sin(a));
        const QPointF left = c + QPointF(9 * std::cos(a - w * 4), 9 * std::sin(a - w * 4));
        const QPointF right = c + QPointF(9 * std::cos(a + w * 4), 9 * std::sin(a + w * 4));
        p.setPen(QPen(withAlpha(kGold, 150), 0.8));
        p.setBrush(withAlpha(kPaleGold, i % 2 == 0 ? 110 : 70));
        p.drawPolygon(QPolygonF({c, left, tip}));
        p.setBrush(withAlpha(QColor(120, 90, 40), i % 2 == 0 ? 120 : 80));
        p.drawPolygon(QPolygonF({c, tip, right}));
    }
    p.setBrush(withAlpha(kPaleGold, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 3, 3);
    p.restore();
}

// The sun at the centre with the planets' paths around it, lower right.
void paintSunCentredDiagram(QPainter &p)
{
    const QPointF c(712, 430);
    p.save();
    p.setBrush(Qt::NoBrush);
    const qreal orbits[] = {14, 24, 35, 47, 60};
    const qreal angles[] = {40, 200, 320, 110, 250};
    for (size_t i = 0; i < std::size(orbits); ++i) {
        p.setPen(QPen(withAlpha(kGold, 70), 0.8));
        p.drawEllipse(c, orbits[i], orbits[i] * 0.62);
    }
    QRadialGradient sun(c, 10);
    sun.setColorAt(0.0, QColor(255, 248, 200, 255));
    sun.setColorAt(0.5, QColor(255, 200, 90, 200));
    sun.setColorAt(1.0, QColor(255, 170, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(c, 10, 10);
    p.setPen(QPen(withAlpha(QColor(255, 210, 110), 150), 0.8));
    for (int i = 0; i < 12; ++i) {
        const qreal a = qDegreesToRadians(30.0 * i);
        p.drawLine(c + QPointF(5.5 * std::cos(a), 5.5 * std::sin(a)),
                   c + QPointF(9.0 * std::cos(a), 9.0 * std::sin(a)));
    }
    for (size_t i = 0; i < std::size(orbits); ++i) {
        const qreal a = qDegreesToRadians(angles[i]);
        const QPointF planet = c + QPointF(orbits[i] * std::cos(a), orbits[i] * 0.62 * std::sin(a));
        p.setPen(Qt::NoPen);
        p.setBrush(i == 2 ? QColor(150, 200, 255) : kPaleGold);
        p.drawEllipse(planet, i == 4 ? 2.6 : 1.9, i == 4 ? 2.6 : 1.9);
        if (i == 2) { // the Earth with its Moon
            p.setBrush(QColor(230, 230, 220));
            p.drawEllipse(planet + QPointF(4.5, -2), 0.9, 0.9);
        }
    }
    p.restore();
}

// --- The globe ---------------------------------------------------------------------

void paintGlow(QPainter &p)
{
    QRadialGradient glow(kCentre, 330);
    glow.setColorAt(0.0, QColor(255, 206, 120, 130));
    glow.setColorAt(0.5, QColor(255, 190, 100, 100));
    glow.setColorAt(0.64, QColor(230, 160, 84, 48));
    glow.setColorAt(1.0, QColor(200, 120, 60, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(kCentre, 330, 330);
}

// Paints the lit sphere pixel by pixel: Prussian blue, lit from the upper
// left, with a soft sheen of varnish.
void paintSphere(QImage &image)
{
    const Vec3 light = normalised({-0.5, -0.62, 0.62});
    const Vec3 eye{0, 0, 1};
    const Vec3 halfway = normalised(light + eye);
    const QColor deep(10, 30, 62);
    const QColor mid(30, 74, 122);
    const QColor bright(96, 150, 190);

    const int x0 = int(kCentre.x() - kGlobeRadius) - 2;
    const int x1 = int(kCentre.x() + kGlobeRadius) + 2;
    const int y0 = int(kCentre.y() - kGlobeRadius) - 2;
    const int y1 = int(kCentre.y() + kGlobeRadius) + 2;
    for (int y = y0; y <= y1; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const qreal dx = (x + 0.5 - kCentre.x()) / kGlobeRadius;
            const qreal dy = (y + 0.5 - kCentre.y()) / kGlobeRadius;
            const qreal d2 = dx * dx + dy * dy;
            const qreal dist = std::sqrt(d2) * kGlobeRadius;
            const qreal coverage = std::clamp(kGlobeRadius - dist + 0.5, 0.0, 1.0);
            if (coverage <= 0.0)
                continue;
            const Vec3 n{dx, dy, std::sqrt(std::max(0.0, 1.0 - d2))};
            const qreal diffuse = std::max(0.0, dot(n, light));
            const qreal shine = std::pow(std::max(0.0, dot(n, halfway)), 28.0);
            const qreal rim = std::pow(1.0 - n.z, 3.0);
            QColor c =
                diffuse < 0.5 ? mixColours(deep, mid, diffuse / 0.5) : mixColours(mid, bright, (diffuse - 0.5) / 0.5);
            c = mixColours(c, QColor(255, 240, 200), shine * 0.55);
            c = mixColours(c, QColor(60, 90, 140), rim * 0.35); // a little sky light on the limb
            const QRgb under = row[x];
            row[x] = qRgb(int(qRed(under) + (c.red() - qRed(under)) * coverage),
                          int(qGreen(under) + (c.green() - qGreen(under)) * coverage),
                          int(qBlue(under) + (c.blue() - qBlue(under)) * coverage));
        }
    }
}

// Draws a curve on the globe given as directions, fading it toward the limb
// and hiding the far side.
void drawOnGlobe(QPainter &p, const std::vector<Vec3> &curve, const QColor &colour, qreal width, int alpha)
{
    for (size_t i = 1; i < curve.size(); ++i) {
        const Vec3 &a = curve[i - 1];
        const Vec3 &b = curve[i];
        if (a.z <= 0 || b.z <= 0)
            continue;
        const qreal fade = std::min(limbFade(a), limbFade(b));
        if (fade <= 0)
            continue;
        p.setPen(QPen(withAlpha(colour, int(alpha * (0.35 + 0.65 * fade))), width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(project(a), project(b));
    }
}

void paintGlobeMarkings(QPainter &p, QRandomGenerator &rng)
{
    const GlobeFrame frame;
    p.save();
    QPainterPath sphere;
    sphere.addEllipse(kCentre, kGlobeRadius, kGlobeRadius);
    p.setClipPath(sphere);

    // Zodiac band either side of the ecliptic.
    {
        std::vector<Vec3> upper;
        std::vector<Vec3> lower;
        for (int l = 0; l <= 360; l += 2) {
            upper.push_back(frame.onEcliptic(l, 8));
            lower.push_back(frame.onEcliptic(l, -8));
        }
        for (size_t i = 1; i < upper.size(); ++i) {
            if (upper[i].z <= 0 || lower[i].z <= 0 || upper[i - 1].z <= 0 || lower[i - 1].z <= 0)
                continue;
            const qreal fade = std::min(limbFade(upper[i]), limbFade(lower[i]));
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(QColor(230, 190, 110), int(40 * (0.3 + 0.7 * fade))));
            p.drawPolygon(
                QPolygonF({project(upper[i - 1]), project(upper[i]), project(lower[i]), project(lower[i - 1])}));
        }
        drawOnGlobe(p, upper, kGold, 0.9, 150);
        drawOnGlobe(p, lower, kGold, 0.9, 150);
        // Divisions of the zodiac every 30 degrees, finer ticks every 5.
        for (int l = 0; l < 360; l += 5) {
            const qreal half = l % 30 == 0 ? 8.0 : 2.0;
            drawOnGlobe(p, {frame.onEcliptic(l, -half), frame.onEcliptic(l, half)}, kGold, 0.8, 170);
        }
    }

    // Graticule: parallels every 15 degrees, hour circles every 15 degrees.
    for (int lat = -75; lat <= 75; lat += 15) {
        std::vector<Vec3> circle;
        for (int lon = 0; lon <= 360; lon += 3)
            circle.push_back(frame.fromLatLon(lat, lon));
        drawOnGlobe(p, circle, kGold, lat == 0 ? 1.4 : 0.7, lat == 0 ? 210 : 110);
    }
    for (int lon = 0; lon < 360; lon += 15) {
        std::vector<Vec3> meridian;
        for (int lat = -90; lat <= 90; lat += 3)
            meridian.push_back(frame.fromLatLon(lat, lon));
        drawOnGlobe(p, meridian, kGold, 0.7, 100);
    }
    // Ticks along the equator.
    for (int lon = 0; lon < 360; lon += 3)
        drawOnGlobe(p, {frame.fromLatLon(-1.2, lon), frame.fromLatLon(1.2, lon)}, kPaleGold, 0.7, 170);

    // Stars and constellation figures.
    for (int g = 0; g < 26; ++g) {
        const qreal lat = qRadiansToDegrees(std::asin(rng.generateDouble() * 2.0 - 1.0));
        const qreal lon = rng.generateDouble() * 360.0;
        const int count = 4 + rng.bounded(4);
        std::vector<Vec3> stars;
        qreal la = lat;
        qreal lo = lon;
        for (int s = 0; s < count; ++s) {
            stars.push_back(frame.fromLatLon(la, lo));
            la += gaussian(rng) * 6.0;
            lo += gaussian(rng) * 7.0;
            la = std::clamp(la, -85.0, 85.0);
        }
        // Join them in a chain, with one branch.
        for (size_t s = 1; s < stars.size(); ++s) {
            const size_t from = (s == stars.size() - 1 && stars.size() > 4) ? 1 : s - 1;
            std::vector<Vec3> line;
            for (int k = 0; k <= 6; ++k) {
                const qreal t = k / 6.0;
                line.push_back(normalised(stars[from] * (1 - t) + stars[s] * t));
            }
            drawOnGlobe(p, line, QColor(250, 226, 160), 0.9, 170);
        }
        for (const Vec3 &star : stars) {
            if (star.z <= 0.05)
                continue;
            const qreal size = 1.2 + rng.generateDouble() * 1.6;
            const QPointF at = project(star);
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(QColor(255, 236, 180), int(255 * limbFade(star))));
            p.drawPolygon(starPolygon(at, size * 1.5, size * 0.55, 6, rng.generateDouble() * 60));
        }
    }
    // Single stars scattered over the globe.
    for (int i = 0; i < 260; ++i) {
        const qreal lat = qRadiansToDegrees(std::asin(rng.generateDouble() * 2.0 - 1.0));
        const Vec3 star = frame.fromLatLon(lat, rng.generateDouble() * 360.0);
        if (star.z <= 0.05)
            continue;
        const qreal size = 0.5 + rng.generateDouble() * 0.9;
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(QColor(250, 230, 176), int(200 * limbFade(star))));
        p.drawEllipse(project(star), size, size);
    }
    p.restore();
}

void paintMeridianRing(QPainter &p)
{
    QPainterPath ring;
    ring.addEllipse(kCentre, kMeridianOuter, kMeridianOuter);
    ring.addEllipse(kCentre, kMeridianInner, kMeridianInner);

    // Polished brass: a conical gradient gives the sheen of a turned ring.
    QConicalGradient brass(kCentre, 135);
    brass.setColorAt(0.00, QColor(255, 236, 160));
    brass.setColorAt(0.12, QColor(200, 150, 60));
    brass.setColorAt(0.30, QColor(130, 88, 30));
    brass.setColorAt(0.50, QColor(214, 168, 76));
    brass.setColorAt(0.62, QColor(150, 104, 38));
    brass.setColorAt(0.80, QColor(110, 74, 24));
    brass.setColorAt(0.92, QColor(226, 184, 96));
    brass.setColorAt(1.00, QColor(255, 236, 160));
    p.setPen(QPen(QColor(70, 44, 12), 1.0));
    p.setBrush(brass);
    p.drawPath(ring);

    // Engraved degrees.
    p.setPen(QPen(QColor(80, 50, 14, 200), 0.8));
    for (int d = 0; d < 360; d += 2) {
        const qreal a = qDegreesToRadians(qreal(d));
        const qreal len = d % 10 == 0 ? 7.0 : 3.5;
        p.drawLine(kCentre + QPointF((kMeridianOuter - 1) * std::cos(a), (kMeridianOuter - 1) * std::sin(a)),
                   kCentre
                       + QPointF((kMeridianOuter - 1 - len) * std::cos(a), (kMeridianOuter - 1 - len) * std::sin(a)));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 240, 190, 120), 0.8));
    p.drawEllipse(kCentre, kMeridianInner + 1.5, kMeridianInner + 1.5);

    // Pivot pins at the poles.
    const qreal tilt = qDegreesToRadians(kAxisTilt);
    const QPointF up(std::sin(tilt), -std::cos(tilt));
    for (const qreal side : {1.0, -1.0}) {
        const QPointF pin = kCentre + up * side * ((kMeridianInner + kMeridianOuter) / 2);
        QRadialGradient boss(pin + QPointF(-1.5, -1.5), 7);
        boss.setColorAt(0.0, QColor(255, 244, 200));
        boss.setColorAt(1.0, QColor(120, 80, 24));
        p.setPen(QPen(QColor(70, 44, 12), 0.8));
        p.setBrush(boss);
        p.drawEllipse(pin, 6.5, 6.5);
        p.setBrush(QColor(80, 52, 16));
        p.drawEllipse(pin, 1.6, 1.6);
    }
}

QPointF horizonPoint(qreal degrees, qreal radius, qreal drop = 0.0)
{
    const qreal a = qDegreesToRadians(degrees);
    return kCentre + QPointF(radius * std::cos(a), radius * kHorizonSquash * std::sin(a) + drop);
}

// Half of the horizon ring's top surface: the back half (angles 180..360)
// or the front half (0..180).
QPainterPath horizonHalf(bool front)
{
    QPainterPath path;
    const qreal start = front ? 0.0 : 180.0;
    for (int i = 0; i <= 90; ++i)
        i == 0 ? path.moveTo(horizonPoint(start + 2.0 * i, kHorizonOuter))
               : path.lineTo(horizonPoint(start + 2.0 * i, kHorizonOuter));
    for (int i = 90; i >= 0; --i)
        path.lineTo(horizonPoint(start + 2.0 * i, kHorizonInner));
    path.closeSubpath();
    return path;
}

void paintHorizonSurface(QPainter &p, bool front)
{
    const QPainterPath half = horizonHalf(front);
    // Walnut base.
    QLinearGradient wood(kCentre.x() - kHorizonOuter, 0, kCentre.x() + kHorizonOuter, 0);
    wood.setColorAt(0.0, kWalnut.lighter(130));
    wood.setColorAt(0.5, kWalnut);
    wood.setColorAt(1.0, kWalnut.darker(140));
    p.setPen(QPen(QColor(40, 20, 8), 0.8));
    p.setBrush(wood);
    p.drawPath(half);

    // The printed paper band with its scales.
    const qreal paperIn = kHorizonInner + 4;
    const qreal paperOut = kHorizonOuter - 4;
    QPainterPath paper;
    const qreal start = front ? 0.0 : 180.0;
    for (int i = 0; i <= 90; ++i)
        i == 0 ? paper.moveTo(horizonPoint(start + 2.0 * i, paperOut))
               : paper.lineTo(horizonPoint(start + 2.0 * i, paperOut));
    for (int i = 90; i >= 0; --i)
        paper.lineTo(horizonPoint(start + 2.0 * i, paperIn));
    paper.closeSubpath();
    QLinearGradient aged(kCentre.x() - kHorizonOuter, 0, kCentre.x() + kHorizonOuter, 0);
    aged.setColorAt(0.0, QColor(246, 232, 196));
    aged.setColorAt(0.6, QColor(226, 206, 160));
    aged.setColorAt(1.0, QColor(170, 146, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(aged);
    p.drawPath(paper);

    p.setPen(QPen(QColor(90, 60, 30, 200), 0.6));
    p.setBrush(Qt::NoBrush);
    for (const qreal r : {paperIn + 1.5, paperIn + 9.0, paperOut - 6.0, paperOut - 1.0}) {
        QPainterPath arc;
        for (int i = 0; i <= 90; ++i)
            i == 0 ? arc.moveTo(horizonPoint(start + 2.0 * i, r)) : arc.lineTo(horizonPoint(start + 2.0 * i, r));
        p.drawPath(arc);
    }
    for (int d = 0; d < 180; d += 3) {
        const qreal a = start + d;
        const bool major = d % 30 == 0;
        p.drawLine(horizonPoint(a, major ? paperIn + 1.5 : paperIn + 9.0), horizonPoint(a, paperOut - 6.0));
        p.drawLine(horizonPoint(a, paperOut - 6.0), horizonPoint(a, paperOut - (major ? 1.0 : 4.0)));
    }
    // Little red and black marks for the days of the calendar band.
    for (int d = 0; d < 180; d += 15) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 40, 30, 170));
        p.drawEllipse(horizonPoint(start + d + 7.5, paperIn + 5.2), 1.4, 0.8);
    }
}

void paintHorizonRim(QPainter &p)
{
    // The front edge of the ring, below the front half of its top surface.
    QPainterPath rim;
    for (int i = 0; i <= 90; ++i)
        i == 0 ? rim.moveTo(horizonPoint(2.0 * i, kHorizonOuter)) : rim.lineTo(horizonPoint(2.0 * i, kHorizonOuter));
    for (int i = 90; i >= 0; --i)
        rim.lineTo(horizonPoint(2.0 * i, kHorizonOuter, kHorizonRim));
    rim.closeSubpath();
    QLinearGradient wood(kCentre.x() - kHorizonOuter, 0, kCentre.x() + kHorizonOuter, 0);
    wood.setColorAt(0.0, QColor(120, 72, 40));
    wood.setColorAt(0.35, QColor(90, 52, 28));
    wood.setColorAt(1.0, QColor(44, 24, 12));
    p.setPen(QPen(QColor(30, 14, 6), 0.8));
    p.setBrush(wood);
    p.drawPath(rim);
    // A gilt bead along the edge.
    QPainterPath bead;
    for (int i = 0; i <= 90; ++i)
        i == 0 ? bead.moveTo(horizonPoint(2.0 * i, kHorizonOuter, kHorizonRim * 0.45))
               : bead.lineTo(horizonPoint(2.0 * i, kHorizonOuter, kHorizonRim * 0.45));
    p.setPen(QPen(withAlpha(kGold, 200), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bead);
}

// A turned wooden baluster between two points, with its profile given as
// (position along 0..1, half width) pairs.
void paintTurnedWood(QPainter &p, const QPointF &top, const QPointF &bottom,
                     const std::vector<std::pair<qreal, qreal>> &profile, qreal shade)
{
    const QPointF axis = bottom - top;
    const qreal len = std::hypot(axis.x(), axis.y());
    const QPointF d = axis / len;
    const QPointF n(-d.y(), d.x());
    QPolygonF outline;
    for (const auto &[t, w] : profile)
        outline << top + axis * t + n * w;
    for (auto it = profile.rbegin(); it != profile.rend(); ++it)
        outline << top + axis * it->first - n * it->second;

    const qreal widest = std::max_element(profile.begin(), profile.end(), [](const auto &a, const auto &b) {
                             return a.second < b.second;
                         })->second;
    const QPointF mid = top + axis * 0.5;
    QLinearGradient wood(mid + n * widest, mid - n * widest);
    wood.setColorAt(0.0, kWalnut.darker(int(150 * shade)));
    wood.setColorAt(0.3, kWalnut.lighter(int(150 / shade)));
    wood.setColorAt(0.55, kWalnut);
    wood.setColorAt(1.0, kWalnut.darker(int(220 * shade)));
    p.setPen(QPen(QColor(26, 12, 4), 0.8));
    p.setBrush(wood);
    p.drawPolygon(outline);

    // Fine rings where the profile turns.
    p.setPen(QPen(QColor(30, 14, 6, 160), 0.7));
    for (size_t i = 1; i + 1 < profile.size(); ++i) {
        const auto &[t, w] = profile[i];
        p.drawLine(top + axis * t + n * w, top + axis * t - n * w);
    }
}

const std::vector<std::pair<qreal, qreal>> kLegProfile = {
    {0.00, 7.0}, {0.05, 7.0}, {0.07, 5.0}, {0.16, 4.2}, {0.30, 7.5}, {0.40, 8.0}, {0.48, 5.0},
    {0.56, 4.0}, {0.78, 4.8}, {0.86, 6.5}, {0.90, 4.5}, {0.95, 7.5}, {1.00, 6.0},
};

struct LegPlace {
    QPointF top;
    QPointF foot;
    QPointF stretcher; // where the cross stretcher meets the leg
};

LegPlace legAt(qreal degrees, qreal footY)
{
    const QPointF top = horizonPoint(degrees, (kHorizonInner + kHorizonOuter) / 2, kHorizonRim - 2);
    const QPointF foot(top.x(), footY);
    return {top, foot, QPointF(top.x(), footY - 36)};
}

void paintStretcherArm(QPainter &p, const QPointF &from, const QPointF &hub, qreal shade)
{
    paintTurnedWood(p, from, hub, {{0.0, 4.0}, {0.1, 4.5}, {0.5, 3.2}, {0.9, 4.5}, {1.0, 4.0}}, shade);
}

void paintBanner(QPainter &p, QImage &image, QRandomGenerator &rng)
{
    // Scroll of parchment: a sheet across the top left whose right end is
    // rolled up.
    QPainterPath sheet(QPointF(0, 0));
    sheet.lineTo(kBannerRight, 0);
    sheet.lineTo(kBannerRight, kBannerBottom - 4);
    sheet.cubicTo(QPointF(kBannerRight - 60, kBannerBottom + 2), QPointF(kBannerRight - 150, kBannerBottom - 3),
                  QPointF(220, kBannerBottom + 1));
    sheet.cubicTo(QPointF(140, kBannerBottom + 5), QPointF(60, kBannerBottom - 1), QPointF(0, kBannerBottom + 2));
    sheet.closeSubpath();

    // Shadow on the sky beneath it.
    QImage shadow = transparentLayer(image.size());
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 170));
        sp.drawPath(sheet.translated(4, 5));
        sp.drawRoundedRect(QRectF(kBannerRight - 6, -2, 22, kBannerBottom + 10), 8, 8);
    }
    blurLayer(shadow, 6.0);
    p.drawImage(0, 0, shadow);

    QLinearGradient vellum(0, 0, 0, kBannerBottom);
    vellum.setColorAt(0.0, QColor(250, 240, 212));
    vellum.setColorAt(0.7, QColor(244, 230, 196));
    vellum.setColorAt(1.0, QColor(226, 204, 158));
    p.setPen(Qt::NoPen);
    p.setBrush(vellum);
    p.drawPath(sheet);

    // Age: foxing and a warmer, darker edge, kept away from the lettering.
    p.save();
    p.setClipPath(sheet);
    QLinearGradient edge(0, kBannerBottom - 12, 0, kBannerBottom + 4);
    edge.setColorAt(0.0, QColor(160, 110, 50, 0));
    edge.setColorAt(1.0, QColor(160, 110, 50, 110));
    p.fillRect(QRectF(0, kBannerBottom - 12, kBannerRight, 18), edge);
    for (int i = 0; i < 14; ++i) {
        const QPointF at(rng.generateDouble() * kBannerRight, rng.generateDouble() * kBannerBottom);
        const qreal r = 3 + rng.generateDouble() * 10;
        QRadialGradient spot(at, r);
        spot.setColorAt(0.0, QColor(190, 150, 90, 26));
        spot.setColorAt(1.0, QColor(190, 150, 90, 0));
        p.setBrush(spot);
        p.drawEllipse(at, r, r);
    }
    p.restore();

    // A ruled border in brown ink near the lower edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 78, 36, 170), 1.0));
    QPainterPath rule(QPointF(8, kBannerBottom - 6));
    rule.cubicTo(QPointF(120, kBannerBottom - 3), QPointF(300, kBannerBottom - 8),
                 QPointF(kBannerRight - 10, kBannerBottom - 9));
    p.drawPath(rule);
    p.setPen(QPen(QColor(120, 78, 36, 110), 0.7));
    p.drawPath(rule.translated(0, -3));

    // The rolled end.
    const QRectF roll(kBannerRight - 6, -4, 20, kBannerBottom + 8);
    QLinearGradient curl(roll.left(), 0, roll.right(), 0);
    curl.setColorAt(0.0, QColor(200, 172, 120));
    curl.setColorAt(0.35, QColor(252, 242, 214));
    curl.setColorAt(0.7, QColor(220, 194, 142));
    curl.setColorAt(1.0, QColor(140, 106, 60));
    p.setPen(QPen(QColor(120, 86, 44), 0.8));
    p.setBrush(curl);
    p.drawRoundedRect(roll, 9, 9);
    p.setBrush(QColor(150, 112, 64));
    p.drawEllipse(QPointF(roll.center().x(), roll.bottom() - 7), 7, 4);
    p.setBrush(QColor(96, 66, 32));
    p.drawEllipse(QPointF(roll.center().x(), roll.bottom() - 7), 3, 1.8);
}

} // namespace

QImage paintGlobeBackground()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);

    QRandomGenerator rng(0x610BE5u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    paintSky(p);
    paintChart(p);
    paintBackgroundStars(p, rng);
    paintConstellations(p);
    paintMoon(p, rng);
    paintJupiter(p);
    paintCompassRose(p);
    paintSunCentredDiagram(p);
    paintGlow(p);

    // Floor: the stand's shadow and a dark floor line.
    QRadialGradient floorShadow(QPointF(400, 506), 260);
    floorShadow.setColorAt(0.0, QColor(0, 0, 0, 170));
    floorShadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(floorShadow);
    p.drawEllipse(QPointF(400, 506), 260, 26);

    // Stand: back legs and stretchers first.
    const QPointF hub(400, 470);
    const LegPlace backLeft = legAt(200, 480);
    const LegPlace backRight = legAt(340, 480);
    const LegPlace frontLeft = legAt(140, 506);
    const LegPlace frontRight = legAt(40, 506);
    for (const LegPlace &leg : {backLeft, backRight})
        paintTurnedWood(p, leg.top, leg.foot, kLegProfile, 1.25);
    for (const LegPlace &leg : {backLeft, backRight})
        paintStretcherArm(p, leg.stretcher, hub, 1.25);

    paintHorizonSurface(p, false);

    p.end();
    paintSphere(image);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintGlobeMarkings(p, rng);
    paintMeridianRing(p);

    // Pedestal under the meridian ring, and the front of the stand.
    paintTurnedWood(p, QPointF(400, kCentre.y() + kMeridianOuter - 4), QPointF(400, hub.y() + 22),
                    {{0.0, 9.0}, {0.2, 6.0}, {0.45, 10.0}, {0.7, 5.0}, {0.85, 8.0}, {1.0, 3.0}}, 1.0);
    for (const LegPlace &leg : {frontLeft, frontRight})
        paintStretcherArm(p, leg.stretcher, hub, 1.0);
    for (const LegPlace &leg : {frontLeft, frontRight})
        paintTurnedWood(p, leg.top, leg.foot, kLegProfile, 1.0);
    QRadialGradient boss(hub + QPointF(-2, -2), 9);
    boss.setColorAt(0.0, kWalnut.lighter(170));
    boss.setColorAt(1.0, kWalnut.darker(160));
    p.setPen(QPen(QColor(26, 12, 4), 0.8));
    p.setBrush(boss);
    p.drawEllipse(hub, 9, 7);

    paintHorizonRim(p);
    paintHorizonSurface(p, true);

    paintBanner(p, image, rng);

    // Keep the foot of the picture dark and quiet for the buttons.
    QLinearGradient foot(0, kFloorTop, 0, kHeight);
    foot.setColorAt(0.0, QColor(4, 5, 12, 0));
    foot.setColorAt(0.25, QColor(4, 5, 12, 200));
    foot.setColorAt(1.0, QColor(2, 2, 6, 255));
    p.fillRect(QRectF(0, kFloorTop, kWidth, kHeight - kFloorTop), foot);

    // Gentle vignette.
    QRadialGradient vignette(QPointF(400, 280), 520);
    vignette.setColorAt(0.7, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 8, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(vignette);
    p.drawRect(QRectF(0, kBannerBottom + 12, kWidth, kHeight));
    p.end();
    return image;
}

} // namespace artwork
