// The celestial globe of the unit page: a Prussian blue sphere lit from the
// upper left, its zodiac, graticule and constellations drawn in gold, held
// in a brass meridian ring.

#include "globebackground.h"
#include "painting.h"

#include <QColor>
#include <QConicalGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork::globe {
namespace {

// Tilt of the globe's axis from upright, toward the right (degrees), and
// the turn of the sky about it.
constexpr qreal kAxisTilt = 32.0;
constexpr qreal kSkyTurn = 38.0;
constexpr qreal kObliquity = 23.44;

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

// Zodiac band either side of the ecliptic.
void paintZodiac(QPainter &p, const GlobeFrame &frame)
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
        p.drawPolygon(QPolygonF({project(upper[i - 1]), project(upper[i]), project(lower[i]), project(lower[i - 1])}));
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
void paintGraticule(QPainter &p, const GlobeFrame &frame)
{
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
}

// One constellation figure somewhere on the globe: four to seven stars
// joined in a chain, with one branch.
void paintFigure(QPainter &p, const GlobeFrame &frame, QRandomGenerator &rng)
{
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
void paintScatteredStars(QPainter &p, const GlobeFrame &frame, QRandomGenerator &rng)
{
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
}

} // namespace

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

void paintGlobeMarkings(QPainter &p, QRandomGenerator &rng)
{
    const GlobeFrame frame;
    p.save();
    QPainterPath sphere;
    sphere.addEllipse(kCentre, kGlobeRadius, kGlobeRadius);
    p.setClipPath(sphere);

    paintZodiac(p, frame);
    paintGraticule(p, frame);
    // Stars and constellation figures.
    for (int g = 0; g < 26; ++g)
        paintFigure(p, frame, rng);
    paintScatteredStars(p, frame, rng);
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

} // namespace artwork::globe
