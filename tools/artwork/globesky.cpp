// The night sky behind the globe on the unit page: a faint star chart with
// stars and constellation figures, the Moon, Jupiter and its moons, a compass
// rose and a sun-centred diagram of the planets.

#include "globebackground.h"
#include "painting.h"

#include <QColor>
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

namespace artwork::globe {
namespace {

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

} // namespace

void paintNightSky(QPainter &p, QRandomGenerator &rng)
{
    paintSky(p);
    paintChart(p);
    paintBackgroundStars(p, rng);
    paintConstellations(p);
    paintMoon(p, rng);
    paintJupiter(p);
    paintCompassRose(p);
    paintSunCentredDiagram(p);
}

} // namespace artwork::globe
