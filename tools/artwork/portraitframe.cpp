// The portrait's gilt frame: four mitred sides lit from the top left, a bead
// moulding, corner rosettes and a bevelled sight edge.

#include "painting.h"
#include "portrait.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>
#include <QRectF>

#include <algorithm>

namespace artwork::portrait {
namespace {

// The bead moulding and the corner rosettes run this far in from the outer edge.
constexpr qreal kBeadInset = kFrameWidth * 0.48;

// The four sides between the outer edge and the canvas, each shaded across
// its moulding and lit according to how it faces the light.
void paintSides(QPainter &p, const QRectF &outer, const QRectF &inner)
{
    struct Side {
        QPolygonF poly;
        QPointF from;
        QPointF to;
        qreal light; // 0 = in shadow, 1 = facing the light
    };
    const Side sides[] = {
        {QPolygonF({outer.topLeft(), outer.topRight(), inner.topRight(), inner.topLeft()}), QPointF(0, 0),
         QPointF(0, kFrameWidth), 1.0},
        {QPolygonF({outer.topLeft(), inner.topLeft(), inner.bottomLeft(), outer.bottomLeft()}), QPointF(0, 0),
         QPointF(kFrameWidth, 0), 0.85},
        {QPolygonF({outer.topRight(), outer.bottomRight(), inner.bottomRight(), inner.topRight()}), QPointF(kWidth, 0),
         QPointF(kWidth - kFrameWidth, 0), 0.45},
        {QPolygonF({outer.bottomLeft(), inner.bottomLeft(), inner.bottomRight(), outer.bottomRight()}),
         QPointF(0, kHeight), QPointF(0, kHeight - kFrameWidth), 0.35},
    };

    for (const Side &side : sides) {
        const auto gold = [&](int r, int g, int b) {
            const qreal k = 0.55 + 0.45 * side.light;
            return QColor(std::min(255, int(r * k)), std::min(255, int(g * k)), std::min(255, int(b * k)));
        };
        QLinearGradient profile(side.from, side.to);
        profile.setColorAt(0.00, gold(90, 58, 18));
        profile.setColorAt(0.10, gold(228, 186, 92));
        profile.setColorAt(0.22, gold(255, 236, 160));
        profile.setColorAt(0.34, gold(170, 122, 44));
        profile.setColorAt(0.48, gold(120, 82, 26)); // hollow for the beads
        profile.setColorAt(0.60, gold(214, 170, 80));
        profile.setColorAt(0.74, gold(196, 150, 62));
        profile.setColorAt(0.86, gold(250, 222, 140));
        profile.setColorAt(1.00, gold(96, 62, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(profile);
        p.drawPolygon(side.poly);
    }
}

// Bead moulding running round the frame.
void paintBeads(QPainter &p, const QRectF &outer)
{
    const QRectF beadRect = outer.adjusted(kBeadInset, kBeadInset, -kBeadInset, -kBeadInset);
    const auto bead = [&](const QPointF &c, qreal light) {
        QRadialGradient g(c + QPointF(-0.5, -0.5), 1.6);
        g.setColorAt(0.0, mixColours(QColor(200, 150, 60), QColor(255, 244, 190), light));
        g.setColorAt(1.0, QColor(110, 72, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, 1.3, 1.3);
    };
    for (qreal x = beadRect.left() + 2; x < beadRect.right() - 1; x += 3.4) {
        bead(QPointF(x, beadRect.top()), 1.0);
        bead(QPointF(x, beadRect.bottom()), 0.3);
    }
    for (qreal y = beadRect.top() + 3.4; y < beadRect.bottom() - 1; y += 3.4) {
        bead(QPointF(beadRect.left(), y), 0.85);
        bead(QPointF(beadRect.right(), y), 0.4);
    }
}

// Corner ornaments: small gilt rosettes.
void paintRosettes(QPainter &p)
{
    for (const QPointF &c :
         {QPointF(kBeadInset, kBeadInset), QPointF(kWidth - kBeadInset, kBeadInset),
          QPointF(kBeadInset, kHeight - kBeadInset), QPointF(kWidth - kBeadInset, kHeight - kBeadInset)}) {
        QRadialGradient rose(c + QPointF(-1, -1), 6);
        rose.setColorAt(0.0, QColor(255, 240, 170));
        rose.setColorAt(0.6, QColor(206, 160, 66));
        rose.setColorAt(1.0, QColor(100, 64, 18));
        p.setBrush(rose);
        p.setPen(QPen(QColor(90, 58, 16), 0.5));
        p.drawPolygon(starPolygon(c, 6.0, 3.2, 8, 22.5));
        p.setBrush(QColor(255, 236, 160));
        p.drawEllipse(c, 1.8, 1.8);
    }
}

// Dark outer edge and the shadow the frame casts on the painting.
void paintEdges(QPainter &p, const QRectF &outer, const QRectF &inner)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 36, 8), 1.0));
    p.drawRect(outer.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(QColor(70, 44, 12), 0.8));
    p.drawRect(inner);
    QLinearGradient shadowTop(0, inner.top(), 0, inner.top() + 6);
    shadowTop.setColorAt(0.0, QColor(0, 0, 0, 150));
    shadowTop.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(inner.left(), inner.top(), inner.width(), 6), shadowTop);
    QLinearGradient shadowLeft(inner.left(), 0, inner.left() + 5, 0);
    shadowLeft.setColorAt(0.0, QColor(0, 0, 0, 130));
    shadowLeft.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(inner.left(), inner.top(), 5, inner.height()), shadowLeft);
}

} // namespace

// Gilt frame: four mitred sides lit from the top left, a bead moulding and
// a bevelled sight edge.
void paintFrame(QPainter &p)
{
    const QRectF outer(0, 0, kWidth, kHeight);
    const QRectF inner = kCanvas;

    paintSides(p, outer, inner);

    // Mitre joints.
    p.setPen(QPen(QColor(80, 50, 14, 160), 0.6));
    p.drawLine(outer.topLeft(), inner.topLeft());
    p.drawLine(outer.topRight(), inner.topRight());
    p.drawLine(outer.bottomLeft(), inner.bottomLeft());
    p.drawLine(outer.bottomRight(), inner.bottomRight());

    paintBeads(p, outer);
    paintRosettes(p);
    paintEdges(p, outer, inner);
}

} // namespace artwork::portrait
