// The globe's wooden stand on the unit page: a horizon ring with its printed
// paper band, turned walnut legs joined by stretchers, and a pedestal under
// the meridian ring.

#include "globebackground.h"
#include "painting.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace artwork::globe {
namespace {

// Horizon ring: a flat wooden ring seen from a little above.
constexpr qreal kHorizonInner = 198.0;
constexpr qreal kHorizonOuter = 230.0;
constexpr qreal kHorizonSquash = 0.2;
constexpr qreal kHorizonRim = 10.0; // thickness of the ring's edge

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

// Where the stretchers meet, under the pedestal.
constexpr QPointF kHub(400, 470);

} // namespace

void paintStandBehind(QPainter &p)
{
    // Floor: the stand's shadow and a dark floor line.
    QRadialGradient floorShadow(QPointF(400, 506), 260);
    floorShadow.setColorAt(0.0, QColor(0, 0, 0, 170));
    floorShadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(floorShadow);
    p.drawEllipse(QPointF(400, 506), 260, 26);

    // Stand: back legs and stretchers first.
    const LegPlace backLeft = legAt(200, 480);
    const LegPlace backRight = legAt(340, 480);
    for (const LegPlace &leg : {backLeft, backRight})
        paintTurnedWood(p, leg.top, leg.foot, kLegProfile, 1.25);
    for (const LegPlace &leg : {backLeft, backRight})
        paintStretcherArm(p, leg.stretcher, kHub, 1.25);

    paintHorizonSurface(p, false);
}

void paintStandInFront(QPainter &p)
{
    const LegPlace frontLeft = legAt(140, 506);
    const LegPlace frontRight = legAt(40, 506);

    // Pedestal under the meridian ring, and the front of the stand.
    paintTurnedWood(p, QPointF(400, kCentre.y() + kMeridianOuter - 4), QPointF(400, kHub.y() + 22),
                    {{0.0, 9.0}, {0.2, 6.0}, {0.45, 10.0}, {0.7, 5.0}, {0.85, 8.0}, {1.0, 3.0}}, 1.0);
    for (const LegPlace &leg : {frontLeft, frontRight})
        paintStretcherArm(p, leg.stretcher, kHub, 1.0);
    for (const LegPlace &leg : {frontLeft, frontRight})
        paintTurnedWood(p, leg.top, leg.foot, kLegProfile, 1.0);
    QRadialGradient boss(kHub + QPointF(-2, -2), 9);
    boss.setColorAt(0.0, kWalnut.lighter(170));
    boss.setColorAt(1.0, kWalnut.darker(160));
    p.setPen(QPen(QColor(26, 12, 4), 0.8));
    p.setBrush(boss);
    p.drawEllipse(kHub, 9, 7);

    paintHorizonRim(p);
    paintHorizonSurface(p, true);
}

} // namespace artwork::globe
