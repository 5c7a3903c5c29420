// Spinning logo for the teacher's page: a gold compass star turning inside
// a navy medallion, on the page's blue.
//
// The star has eightfold symmetry and turns one eighth of a circle over the
// loop, so the last frame leads seamlessly back to the first. Its facets
// are lit from a fixed lamp at the upper left, so they glint as it turns.

#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

namespace artwork {
namespace {

constexpr int kSize = 120;
const QPointF kCentre(60.0, 60.0);
const QColor kPageBlue(49, 135, 214);
constexpr qreal kMedallion = 47.0;
constexpr qreal kStepDegrees = 45.0; // the star's symmetry

// Brightness of a flat facet facing `degrees` for a lamp at the upper left.
qreal facetLight(qreal degrees)
{
    const qreal lamp = qDegreesToRadians(-135.0);
    const qreal a = qDegreesToRadians(degrees);
    return 0.5 + 0.5 * std::cos(a - lamp);
}

QColor goldFor(qreal light)
{
    const QColor dark(150, 96, 20);
    const QColor mid(226, 172, 60);
    const QColor bright(255, 238, 160);
    return light < 0.5 ? mixColours(dark, mid, light / 0.5) : mixColours(mid, bright, (light - 0.5) / 0.5);
}

void paintPoint(QPainter &p, qreal angleDegrees, qreal length, qreal halfAngle, qreal waist)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    const QPointF tip = kCentre + QPointF(length * std::cos(a), length * std::sin(a));
    const qreal left = a - qDegreesToRadians(halfAngle);
    const qreal right = a + qDegreesToRadians(halfAngle);
    const QPointF l = kCentre + QPointF(waist * std::cos(left), waist * std::sin(left));
    const QPointF r = kCentre + QPointF(waist * std::cos(right), waist * std::sin(right));

    // Each point is a ridge: two facets, one on either side.
    p.setPen(QPen(QColor(110, 70, 14), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.setBrush(goldFor(facetLight(angleDegrees - 90.0)));
    p.drawPolygon(QPolygonF({kCentre, l, tip}));
    p.setBrush(goldFor(facetLight(angleDegrees + 90.0)));
    p.drawPolygon(QPolygonF({kCentre, tip, r}));
}

} // namespace

QImage paintLogoFrame(int frame)
{
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(kPageBlue);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal phase = qreal(frame % kLogoFrameCount) / kLogoFrameCount;
    const qreal turn = phase * kStepDegrees;

    // Soft halo, kept well inside the box so its edges stay the page's blue.
    QRadialGradient halo(kCentre, kMedallion + 9);
    halo.setColorAt(0.80, QColor(255, 240, 190, 90));
    halo.setColorAt(1.0, withAlpha(kPageBlue, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(kCentre, kMedallion + 9, kMedallion + 9);

    // Navy medallion with a gold rim.
    QRadialGradient night(kCentre + QPointF(-12, -14), kMedallion * 1.3);
    night.setColorAt(0.0, QColor(44, 76, 150));
    night.setColorAt(1.0, QColor(14, 28, 72));
    p.setBrush(night);
    p.setPen(QPen(QColor(120, 80, 20), 1.0));
    p.drawEllipse(kCentre, kMedallion, kMedallion);
    QLinearGradient rim(kCentre + QPointF(-kMedallion, -kMedallion), kCentre + QPointF(kMedallion, kMedallion));
    rim.setColorAt(0.0, QColor(255, 236, 160));
    rim.setColorAt(0.5, QColor(206, 156, 52));
    rim.setColorAt(1.0, QColor(130, 84, 18));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), 3.2));
    p.drawEllipse(kCentre, kMedallion - 1.6, kMedallion - 1.6);

    // Engraved ticks inside the rim (fixed, like a dial).
    p.setPen(QPen(QColor(230, 196, 110, 200), 0.8));
    for (int d = 0; d < 360; d += 15) {
        const qreal a = qDegreesToRadians(qreal(d));
        const qreal r1 = kMedallion - 4.5;
        const qreal r2 = r1 - (d % 45 == 0 ? 4.5 : 2.2);
        p.drawLine(kCentre + QPointF(r1 * std::cos(a), r1 * std::sin(a)),
                   kCentre + QPointF(r2 * std::cos(a), r2 * std::sin(a)));
    }

    // Tiny fixed stars in the medallion's sky.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 230, 200));
    for (const QPointF &star : {QPointF(36, 40), QPointF(86, 34), QPointF(84, 86), QPointF(33, 82), QPointF(60, 23),
                                QPointF(97, 62), QPointF(23, 60), QPointF(60, 97)})
        p.drawEllipse(star, 0.8, 0.8);

    // The turning compass star: eight short points behind eight long ones,
    // all alike so that one eighth of a turn brings it back to the start.
    for (int i = 0; i < 8; ++i)
        paintPoint(p, -90.0 + 22.5 + 45.0 * i + turn, 22.0, 26.0, 7.0);
    for (int i = 0; i < 8; ++i)
        paintPoint(p, -90.0 + 45.0 * i + turn, 37.0, 21.0, 11.0);

    // Shining hub.
    QRadialGradient hub(kCentre + QPointF(-1.5, -1.5), 6.0);
    hub.setColorAt(0.0, QColor(255, 255, 240));
    hub.setColorAt(0.6, QColor(250, 214, 110));
    hub.setColorAt(1.0, QColor(160, 104, 24));
    p.setBrush(hub);
    p.setPen(QPen(QColor(110, 70, 14), 0.6));
    p.drawEllipse(kCentre, 5.0, 5.0);

    p.end();
    return image;
}

} // namespace artwork
