// Ardovin Sevrani's dress: a dark doublet with gilt buttons, a gown with fur
// facings over the shoulders, and a starched white ruff.

#include "painting.h"
#include "portrait.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace artwork::portrait {
namespace {

// --- Shapes (picture units) -----------------------------------------------------

QPainterPath bodyShape()
{
    QPainterPath path(QPointF(66, 214));
    path.cubicTo(QPointF(48, 222), QPointF(30, 236), QPointF(22, 262));
    path.lineTo(QPointF(16, 314));
    path.lineTo(QPointF(224, 314));
    path.lineTo(QPointF(218, 262));
    path.cubicTo(QPointF(210, 236), QPointF(192, 222), QPointF(172, 214));
    path.closeSubpath();
    return path;
}

// One side of the gown: from the shoulder down to the fur-edged front.
QPainterPath gownShape(bool left)
{
    QPainterPath path;
    if (left) {
        path.moveTo(62, 217);
        path.cubicTo(QPointF(46, 224), QPointF(30, 238), QPointF(22, 262));
        path.lineTo(QPointF(16, 314));
        path.lineTo(QPointF(90, 314));
        path.cubicTo(QPointF(86, 286), QPointF(84, 256), QPointF(88, 230));
    } else {
        path.moveTo(176, 217);
        path.cubicTo(QPointF(192, 224), QPointF(208, 238), QPointF(216, 262));
        path.lineTo(QPointF(224, 314));
        path.lineTo(QPointF(150, 314));
        path.cubicTo(QPointF(154, 286), QPointF(155, 256), QPointF(151, 230));
    }
    path.closeSubpath();
    return path;
}

// The fur facing along the front edge of the gown.
QPainterPath furShape(bool left)
{
    QPainterPath path;
    if (left) {
        path.moveTo(66, 222);
        path.cubicTo(QPointF(78, 222), QPointF(90, 226), QPointF(96, 232));
        path.cubicTo(QPointF(92, 258), QPointF(94, 290), QPointF(98, 314));
        path.lineTo(QPointF(78, 314));
        path.cubicTo(QPointF(74, 288), QPointF(72, 258), QPointF(66, 222));
    } else {
        path.moveTo(172, 222);
        path.cubicTo(QPointF(160, 222), QPointF(148, 226), QPointF(142, 232));
        path.cubicTo(QPointF(146, 258), QPointF(144, 290), QPointF(140, 314));
        path.lineTo(QPointF(160, 314));
        path.cubicTo(QPointF(164, 288), QPointF(166, 258), QPointF(172, 222));
    }
    path.closeSubpath();
    return path;
}

// An ellipse with a scalloped rim of `count` bumps, for the ruff.
QPainterPath scallopedEllipse(const QPointF &centre, qreal rx, qreal ry, int count, qreal bump)
{
    QPainterPath path;
    for (int i = 0; i <= count * 8; ++i) {
        const qreal a = 2.0 * M_PI * i / (count * 8);
        const qreal phase = std::fmod(qreal(i) / 8.0, 1.0);
        const qreal r = 1.0 + bump * std::sin(M_PI * phase);
        const QPointF pt = centre + QPointF(rx * r * std::cos(a), ry * r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

} // namespace

void paintBody(QPainter &p, QImage &image, QRandomGenerator &rng)
{
    // Doublet.
    const QPainterPath body = bodyShape();
    QLinearGradient cloth(40, 220, 200, 314);
    cloth.setColorAt(0.0, QColor(46, 38, 36));
    cloth.setColorAt(1.0, QColor(14, 11, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(cloth);
    p.drawPath(body);

    // Buttons down the front.
    for (qreal y = 238; y < 312; y += 12) {
        QRadialGradient gold(QPointF(118.2, y - 0.8), 2.6);
        gold.setColorAt(0.0, QColor(255, 226, 150));
        gold.setColorAt(1.0, QColor(120, 80, 24));
        p.setBrush(gold);
        p.drawEllipse(QPointF(119, y), 2.2, 2.2);
    }

    // Gown over the shoulders.
    for (const bool left : {true, false}) {
        QLinearGradient wool(left ? 20 : 220, 230, left ? 90 : 150, 300);
        wool.setColorAt(0.0, left ? QColor(58, 46, 42) : QColor(30, 24, 22));
        wool.setColorAt(1.0, QColor(18, 14, 14));
        p.setBrush(wool);
        p.drawPath(gownShape(left));
    }
    p.end();

    // Folds of the gown: soft light ridges and dark hollows.
    QPainterPath gowns = gownShape(true);
    gowns.addPath(gownShape(false));
    softLayer(image, 3.5, gowns, [](QPainter &lp) {
        lp.setBrush(Qt::NoBrush);
        const auto fold = [&](QPointF a, QPointF c, QPointF b, const QColor &colour, qreal width) {
            QPainterPath path(a);
            path.quadTo(c, b);
            lp.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            lp.drawPath(path);
        };
        fold(QPointF(30, 250), QPointF(40, 280), QPointF(38, 314), QColor(110, 92, 80, 120), 4.0);
        fold(QPointF(52, 238), QPointF(60, 270), QPointF(58, 314), QColor(110, 92, 80, 90), 3.0);
        fold(QPointF(42, 244), QPointF(50, 280), QPointF(48, 314), QColor(0, 0, 0, 160), 4.0);
        fold(QPointF(190, 240), QPointF(198, 275), QPointF(202, 314), QColor(80, 66, 58, 80), 3.0);
        fold(QPointF(176, 236), QPointF(180, 270), QPointF(178, 314), QColor(0, 0, 0, 150), 4.0);
        // Light across the near shoulder.
        lp.setPen(Qt::NoPen);
        lp.setBrush(QColor(130, 110, 96, 90));
        lp.drawEllipse(QPointF(44, 232), 22, 9);
    });
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);

    // Fur facings.
    for (const bool left : {true, false}) {
        const QPainterPath fur = furShape(left);
        QLinearGradient pelt(left ? 66 : 172, 0, left ? 98 : 140, 0);
        pelt.setColorAt(0.0, left ? QColor(112, 80, 52) : QColor(62, 42, 28));
        pelt.setColorAt(1.0, left ? QColor(72, 50, 32) : QColor(40, 27, 18));
        p.setPen(Qt::NoPen);
        p.setBrush(pelt);
        p.drawPath(fur);
        const StrandStyle style{260,
                                7.0,
                                0.7,
                                {QColor(150, 112, 74), QColor(60, 40, 26), QColor(110, 80, 52), QColor(180, 150, 110)},
                                60,
                                170,
                                0.8};
        paintStrands(p, rng, fur, style,
                     [left](const QPointF &) { return normalised(QPointF(left ? 0.5 : -0.5, 1.0)); });
    }
}

// The ruff: a millstone of starched linen pleats around the neck, seen a
// little from above, so its top surface and the looped front edge show.
void paintRuff(QPainter &p, QImage &image)
{
    const QPointF centre(119, 209);
    constexpr qreal rx = 58.0;
    constexpr qreal ry = 15.0;
    constexpr qreal depth = 9.0;
    constexpr int count = 34;

    // Front edge: the rounded ends of the pleats, below the top surface.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 162, 150));
    p.drawPath(scallopedEllipse(centre + QPointF(0, depth), rx, ry, count, 0.05));
    for (int i = 0; i < count; ++i) {
        const qreal a = 2.0 * M_PI * (i + 0.5) / count;
        if (std::sin(a) < -0.1)
            continue;
        const QPointF rim = centre + QPointF(rx * 1.03 * std::cos(a), ry * 1.03 * std::sin(a) + depth * 0.55);
        const qreal w = std::max(2.0, 2 * M_PI * rx / count * 0.5 * std::abs(std::sin(a)) + 1.0);
        QLinearGradient loop(0, rim.y() - depth * 0.6, 0, rim.y() + depth * 0.6);
        loop.setColorAt(0.0, QColor(252, 250, 244));
        loop.setColorAt(0.6, QColor(224, 218, 206));
        loop.setColorAt(1.0, QColor(160, 152, 140));
        p.setBrush(loop);
        p.setPen(QPen(QColor(140, 132, 120, 160), 0.5));
        p.drawEllipse(rim, w, depth * 0.62);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 112, 100, 150));
        p.drawEllipse(rim + QPointF(0, -depth * 0.12), w * 0.35, depth * 0.25);
    }

    // Top surface.
    const QPainterPath top = scallopedEllipse(centre, rx, ry, count, 0.05);
    QLinearGradient linen(70, 196, 168, 226);
    linen.setColorAt(0.0, QColor(252, 250, 244));
    linen.setColorAt(0.6, QColor(236, 232, 222));
    linen.setColorAt(1.0, QColor(196, 190, 178));
    p.setBrush(linen);
    p.drawPath(top);
    p.end();

    // Creases between the pleats, running out from the neck.
    softLayer(image, 0.9, top, [&](QPainter &lp) {
        lp.setBrush(Qt::NoBrush);
        for (int i = 0; i < count; ++i) {
            const qreal a = 2.0 * M_PI * i / count;
            const QPointF from = centre + QPointF(rx * 0.5 * std::cos(a), ry * 0.5 * std::sin(a));
            const QPointF to = centre + QPointF(rx * 1.06 * std::cos(a), ry * 1.06 * std::sin(a));
            const QPointF bend = (from + to) / 2.0 + QPointF(-std::sin(a) * 2.0, std::cos(a) * 0.8);
            QPainterPath crease(from);
            crease.quadTo(bend, to);
            lp.setPen(QPen(QColor(130, 120, 106, 150), 1.0, Qt::SolidLine, Qt::RoundCap));
            lp.drawPath(crease);
            lp.setPen(QPen(QColor(255, 255, 255, 120), 0.8, Qt::SolidLine, Qt::RoundCap));
            lp.drawPath(crease.translated(1.6, 0.3));
        }
        // Shade toward the neck and on the side away from the light.
        lp.setPen(Qt::NoPen);
        lp.setBrush(QColor(110, 100, 86, 110));
        lp.drawEllipse(centre + QPointF(2, -2), rx * 0.45, ry * 0.5);
        lp.setBrush(QColor(90, 80, 70, 70));
        lp.drawEllipse(centre + QPointF(rx * 0.85, 2), rx * 0.25, ry * 0.9);
    });
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
}

} // namespace artwork::portrait
