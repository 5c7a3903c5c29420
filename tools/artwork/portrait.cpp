// Portrait of Ardovin Sevrani: a bearded scholar of about fifty, in a dark
// fur-trimmed gown with a white ruff, painted in oils against a warm dark
// ground and set in a gilt frame.
//
// The portrait is painted at twice its final size and scaled down, which
// keeps the hair and beard strokes fine. Soft modelling of the face is
// painted on separate layers that are blurred before they are laid on.

#include "artwork.h"
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
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace artwork {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 330;
constexpr int kScale = 2; // painting resolution relative to the final picture

// The painted canvas inside the frame.
constexpr qreal kFrameWidth = 17.0;
const QRectF kCanvas(kFrameWidth, kFrameWidth, kWidth - 2 * kFrameWidth, kHeight - 2 * kFrameWidth);

// The face is turned a little toward the viewer's left: features are centred
// on kMidline, slightly left of the middle of the head.
constexpr qreal kMidline = 117.0;

// Palette.
const QColor kSkin(212, 160, 124);
const QColor kSkinLight(246, 212, 182);
const QColor kSkinShadow(118, 70, 46);
const QColor kBeard(132, 66, 34);
const QColor kBeardDark(74, 36, 20);
const QColor kBeardLight(196, 118, 66);
const QColor kGrey(196, 184, 170);

// --- Layers -------------------------------------------------------------------

// A blurred painting layer: `paint` draws on it (in picture units), the
// layer is blurred by `radius` (picture units) and laid over `target`,
// clipped to `clip` if it is not empty.
void softLayer(QImage &target, qreal radius, const QPainterPath &clip, const std::function<void(QPainter &)> &paint)
{
    QImage layer = transparentLayer(target.size());
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.scale(kScale, kScale);
        lp.setPen(Qt::NoPen);
        paint(lp);
    }
    blurLayer(layer, radius * kScale);

    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    if (!clip.isEmpty())
        p.setClipPath(QTransform::fromScale(kScale, kScale).map(clip));
    p.drawImage(0, 0, layer);
}

// Hair-like strokes filling `area`, each following `flow` (a direction for
// a point) for `length` units.
struct StrandStyle {
    int count;
    qreal length;
    qreal width;
    std::vector<QColor> colours;
    int alphaMin;
    int alphaMax;
    qreal wander; // random bend per step, in radians
};

void paintStrands(QPainter &p, QRandomGenerator &rng, const QPainterPath &area, const StrandStyle &style,
                  const std::function<QPointF(const QPointF &)> &flow)
{
    const QRectF box = area.boundingRect();
    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < style.count; ++i) {
        QPointF pt;
        int tries = 0;
        do {
            pt = QPointF(box.left() + rng.generateDouble() * box.width(),
                         box.top() + rng.generateDouble() * box.height());
        } while (!area.contains(pt) && ++tries < 40);
        if (tries >= 40)
            continue;

        const qreal length = style.length * (0.6 + 0.8 * rng.generateDouble());
        constexpr int steps = 8;
        // Start half a length back so strands run through their seed point.
        QPointF start = pt;
        for (int s = 0; s < steps / 2; ++s) {
            const QPointF d = flow(start);
            start -= d * (length / steps);
        }
        QPainterPath strand(start);
        QPointF at = start;
        qreal bend = (rng.generateDouble() - 0.5) * style.wander;
        for (int s = 0; s < steps; ++s) {
            QPointF d = flow(at);
            const qreal a = std::atan2(d.y(), d.x()) + bend;
            bend += (rng.generateDouble() - 0.5) * style.wander * 0.5;
            const QPointF next = at + QPointF(std::cos(a), std::sin(a)) * (length / steps);
            strand.quadTo(at, (at + next) / 2.0);
            at = next;
        }
        strand.lineTo(at);

        const QColor base = style.colours[size_t(rng.bounded(int(style.colours.size())))];
        const int alpha = style.alphaMin + rng.bounded(std::max(1, style.alphaMax - style.alphaMin));
        p.setPen(QPen(withAlpha(base, alpha), style.width * (0.7 + 0.6 * rng.generateDouble()), Qt::SolidLine,
                      Qt::RoundCap));
        p.drawPath(strand);
    }
    p.restore();
}

QPointF normalised(const QPointF &v)
{
    const qreal len = std::hypot(v.x(), v.y());
    return len > 1e-6 ? v / len : QPointF(0, 1);
}

// --- Shapes (picture units) -----------------------------------------------------

QPainterPath faceShape()
{
    QPainterPath path(QPointF(118, 59));
    path.cubicTo(QPointF(141, 59), QPointF(154, 70), QPointF(157, 84));
    path.cubicTo(QPointF(161, 96), QPointF(162, 110), QPointF(161, 124));
    path.cubicTo(QPointF(161, 142), QPointF(157, 157), QPointF(149, 170));
    path.cubicTo(QPointF(141, 183), QPointF(130, 192), QPointF(117, 193));
    path.cubicTo(QPointF(104, 192), QPointF(92, 182), QPointF(85, 168));
    path.cubicTo(QPointF(79, 155), QPointF(78, 140), QPointF(79, 124));
    path.cubicTo(QPointF(79, 108), QPointF(80, 94), QPointF(85, 83));
    path.cubicTo(QPointF(90, 69), QPointF(101, 59), QPointF(118, 59));
    path.closeSubpath();
    return path;
}

QPainterPath hairMass()
{
    QPainterPath path(QPointF(120, 50));
    path.cubicTo(QPointF(150, 49), QPointF(168, 68), QPointF(171, 96));
    path.cubicTo(QPointF(174, 120), QPointF(172, 142), QPointF(163, 160));
    path.lineTo(QPointF(150, 150));
    path.lineTo(QPointF(88, 150));
    path.lineTo(QPointF(76, 160));
    path.cubicTo(QPointF(67, 142), QPointF(65, 118), QPointF(68, 96));
    path.cubicTo(QPointF(72, 67), QPointF(90, 51), QPointF(120, 50));
    path.closeSubpath();
    return path;
}

QPainterPath earShape(bool left)
{
    const qreal sign = left ? -1.0 : 1.0;
    const qreal x0 = left ? 81.0 : 159.0;
    QPainterPath path(QPointF(x0, 112));
    path.cubicTo(QPointF(x0 + sign * 8, 106), QPointF(x0 + sign * 11, 116), QPointF(x0 + sign * 9, 126));
    path.cubicTo(QPointF(x0 + sign * 8, 136), QPointF(x0 + sign * 6, 144), QPointF(x0 + sign * 1, 146));
    path.lineTo(QPointF(x0 - sign * 2, 140));
    path.closeSubpath();
    return path;
}

QPainterPath beardShape()
{
    QPainterPath path(QPointF(80, 116));
    path.cubicTo(QPointF(77, 138), QPointF(79, 164), QPointF(88, 184));
    path.cubicTo(QPointF(95, 200), QPointF(106, 214), QPointF(117, 224));
    path.cubicTo(QPointF(129, 214), QPointF(142, 200), QPointF(150, 184));
    path.cubicTo(QPointF(160, 164), QPointF(163, 138), QPointF(161, 116));
    // Upper edge of the beard across the cheeks, around the mouth.
    path.cubicTo(QPointF(156, 130), QPointF(150, 142), QPointF(141, 150));
    path.cubicTo(QPointF(137, 158), QPointF(134, 166), QPointF(128, 169));
    path.cubicTo(QPointF(122, 171), QPointF(112, 171), QPointF(106, 168));
    path.cubicTo(QPointF(100, 165), QPointF(97, 158), QPointF(93, 150));
    path.cubicTo(QPointF(86, 142), QPointF(82, 130), QPointF(80, 116));
    path.closeSubpath();
    return path;
}

QPainterPath moustacheShape()
{
    QPainterPath path(QPointF(kMidline, 146.5));
    path.cubicTo(QPointF(109, 145), QPointF(101, 147), QPointF(97, 153));
    path.cubicTo(QPointF(94, 158), QPointF(94, 164), QPointF(95, 171));
    path.cubicTo(QPointF(99, 165), QPointF(104, 161), QPointF(110, 159.5));
    path.cubicTo(QPointF(113, 159), QPointF(115, 158.5), QPointF(kMidline, 158.5));
    path.cubicTo(QPointF(119, 158.5), QPointF(122, 159), QPointF(125, 159.5));
    path.cubicTo(QPointF(131, 161), QPointF(135, 165), QPointF(139, 171));
    path.cubicTo(QPointF(141, 164), QPointF(141, 158), QPointF(138, 153));
    path.cubicTo(QPointF(134, 147), QPointF(125, 145), QPointF(kMidline, 146.5));
    path.closeSubpath();
    return path;
}

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

// --- Painting -------------------------------------------------------------------

void paintGround(QPainter &p, QImage &image, const QRectF &area)
{
    QRadialGradient ground(QPointF(104, 104), 190);
    ground.setColorAt(0.0, QColor(112, 82, 50));
    ground.setColorAt(0.35, QColor(78, 56, 34));
    ground.setColorAt(0.75, QColor(42, 29, 19));
    ground.setColorAt(1.0, QColor(22, 15, 10));
    p.fillRect(area, ground);

    // A heavy dark red curtain gathered at the top right.
    QPainterPath curtain(QPointF(150, area.top()));
    curtain.lineTo(area.right(), area.top());
    curtain.lineTo(area.right(), 200);
    curtain.cubicTo(QPointF(206, 170), QPointF(196, 120), QPointF(194, 86));
    curtain.cubicTo(QPointF(188, 60), QPointF(170, 36), QPointF(150, area.top()));
    curtain.closeSubpath();
    QLinearGradient drape(150, 0, area.right(), 0);
    drape.setColorAt(0.0, QColor(70, 14, 12));
    drape.setColorAt(0.5, QColor(104, 24, 18));
    drape.setColorAt(1.0, QColor(48, 10, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(drape);
    p.drawPath(curtain);
    p.end();

    // Soft folds in the curtain.
    softLayer(image, 3.0, curtain, [](QPainter &lp) {
        for (const auto &fold : {std::pair<qreal, int>{176.0, 70}, {196.0, 55}, {212.0, 45}}) {
            QPainterPath crease(QPointF(fold.first - 14, 17));
            crease.cubicTo(QPointF(fold.first - 6, 80), QPointF(fold.first, 140), QPointF(fold.first + 4, 210));
            lp.setPen(QPen(QColor(150, 50, 36, fold.second), 5.0, Qt::SolidLine, Qt::RoundCap));
            lp.setBrush(Qt::NoBrush);
            lp.drawPath(crease);
            lp.setPen(QPen(QColor(20, 2, 2, fold.second + 40), 3.5, Qt::SolidLine, Qt::RoundCap));
            lp.drawPath(crease.translated(7, 0));
        }
    });
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
}

void paintHair(QPainter &p, QImage &image, QRandomGenerator &rng)
{
    const QPainterPath hair = hairMass();
    QRadialGradient base(QPointF(98, 70), 80);
    base.setColorAt(0.0, QColor(128, 66, 36));
    base.setColorAt(0.6, QColor(90, 46, 26));
    base.setColorAt(1.0, QColor(52, 28, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawPath(hair);

    const auto combed = [](const QPointF &pt) {
        // Combed back and down from the crown.
        const QPointF away = normalised(pt - QPointF(120, 30));
        return normalised(away + QPointF(0, 0.6));
    };
    StrandStyle style{1000, 22.0, 0.55, {kBeard, kBeardDark, kBeardDark, kBeardLight, QColor(160, 86, 46), kGrey},
                      70,   170,  0.25};
    paintStrands(p, rng, hair, style, combed);
    // Loose hairs beyond the outline, so the hair does not end in a hard edge.
    const QPainterPath fringe = QPainterPathStroker(QPen(Qt::black, 7.0)).createStroke(hair).subtracted(faceShape());
    style.count = 260;
    style.length = 12.0;
    style.width = 0.45;
    style.alphaMin = 40;
    style.alphaMax = 120;
    paintStrands(p, rng, fringe, style, combed);
    p.end();

    // Shade the hair away from the light.
    softLayer(image, 5.0, hair, [](QPainter &lp) {
        lp.setBrush(QColor(20, 8, 4, 140));
        lp.drawEllipse(QPointF(168, 120), 16, 50);
        lp.drawEllipse(QPointF(120, 156), 50, 14);
        lp.setBrush(QColor(255, 190, 130, 60));
        lp.drawEllipse(QPointF(96, 60), 22, 9);
    });
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
}

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

void paintFace(QPainter &p, QImage &image)
{
    const QPainterPath face = faceShape();

    // Ears.
    for (const bool left : {true, false}) {
        const QPainterPath ear = earShape(left);
        p.setPen(QPen(QColor(150, 90, 62), 0.6));
        p.setBrush(left ? kSkin : kSkin.darker(112));
        p.drawPath(ear);
        const qreal x0 = left ? 81.0 : 159.0;
        const qreal sign = left ? -1.0 : 1.0;
        QPainterPath inner(QPointF(x0 + sign * 2, 118));
        inner.cubicTo(QPointF(x0 + sign * 7, 116), QPointF(x0 + sign * 7, 128), QPointF(x0 + sign * 4, 134));
        p.setPen(QPen(QColor(140, 80, 56, 180), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(inner);
    }

    // Base skin.
    QRadialGradient skin(QPointF(104, 100), 80);
    skin.setColorAt(0.0, kSkin.lighter(106));
    skin.setColorAt(0.7, kSkin);
    skin.setColorAt(1.0, kSkin.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(skin);
    p.drawPath(face);
    p.end();

    // Shadows: the side away from the light, eye sockets, under the nose
    // and cheekbones.
    softLayer(image, 5.0, face, [](QPainter &lp) {
        lp.setBrush(withAlpha(kSkinShadow, 150));
        lp.drawEllipse(QPointF(166, 126), 16, 56); // far side of the face
        lp.setBrush(withAlpha(kSkinShadow, 90));
        lp.drawEllipse(QPointF(100, 112), 11, 7); // eye sockets
        lp.drawEllipse(QPointF(135, 112), 12, 7.5);
        lp.drawEllipse(QPointF(146, 142), 9, 14); // under the far cheekbone
        lp.drawEllipse(QPointF(88, 142), 6, 12); // under the near cheekbone
        lp.drawEllipse(QPointF(84, 88), 5, 12); // near temple
        lp.setBrush(withAlpha(kSkinShadow, 70));
        lp.drawEllipse(QPointF(118, 68), 30, 6); // hairline
    });
    softLayer(image, 2.2, face, [](QPainter &lp) {
        // Lines of age: from the nose toward the corners of the mouth, and
        // at the outer corners of the eyes.
        lp.setBrush(Qt::NoBrush);
        lp.setPen(QPen(withAlpha(kSkinShadow, 110), 2.0, Qt::SolidLine, Qt::RoundCap));
        QPainterPath foldLeft(QPointF(107, 140));
        foldLeft.cubicTo(QPointF(102, 145), QPointF(99, 150), QPointF(97, 156));
        lp.drawPath(foldLeft);
        QPainterPath foldRight(QPointF(127, 140));
        foldRight.cubicTo(QPointF(132, 145), QPointF(136, 150), QPointF(138, 156));
        lp.drawPath(foldRight);
        lp.setPen(QPen(withAlpha(kSkinShadow, 70), 1.0, Qt::SolidLine, Qt::RoundCap));
        for (const qreal dy : {-2.0, 1.0, 4.0}) {
            lp.drawLine(QPointF(90, 114 + dy * 0.6), QPointF(85, 113 + dy * 1.3));
            lp.drawLine(QPointF(144, 114 + dy * 0.6), QPointF(149, 113 + dy * 1.3));
        }
        lp.setPen(Qt::NoPen);
    });
    softLayer(image, 2.0, face, [](QPainter &lp) {
        // Shadow down the far side of the nose and beneath it.
        QPainterPath side(QPointF(121, 110));
        side.cubicTo(QPointF(124, 120), QPointF(126, 132), QPointF(127, 141));
        side.lineTo(QPointF(121, 143));
        side.cubicTo(QPointF(121, 130), QPointF(119, 120), QPointF(118, 110));
        side.closeSubpath();
        lp.setBrush(withAlpha(kSkinShadow, 120));
        lp.drawPath(side);
        lp.drawEllipse(QPointF(kMidline + 1, 146), 9, 2.5);
        // Brow furrows of a thinking man.
        lp.setBrush(Qt::NoBrush);
        lp.setPen(QPen(withAlpha(kSkinShadow, 70), 1.4, Qt::SolidLine, Qt::RoundCap));
        for (const qreal y : {84.0, 90.0}) {
            QPainterPath line(QPointF(98, y + 1));
            line.quadTo(QPointF(118, y - 2), QPointF(140, y + 1));
            lp.drawPath(line);
        }
        QPainterPath frown(QPointF(114, 104));
        frown.quadTo(QPointF(115, 99), QPointF(114, 95));
        lp.drawPath(frown);
    });

    // Light on the forehead, the bridge and tip of the nose and the near
    // cheekbone; a warm flush on the cheeks and nose.
    softLayer(image, 4.5, face, [](QPainter &lp) {
        lp.setBrush(withAlpha(kSkinLight, 170));
        lp.drawEllipse(QPointF(108, 80), 18, 11);
        lp.drawEllipse(QPointF(95, 128), 8, 6);
        lp.setBrush(withAlpha(kSkinLight, 120));
        lp.drawEllipse(QPointF(136, 78), 9, 6);
        lp.setBrush(QColor(212, 104, 84, 70));
        lp.drawEllipse(QPointF(96, 134), 9, 7);
        lp.drawEllipse(QPointF(142, 134), 8, 7);
        lp.drawEllipse(QPointF(kMidline, 138), 6, 5);
    });
    softLayer(image, 1.6, face, [](QPainter &lp) {
        lp.setBrush(withAlpha(kSkinLight, 190));
        QPainterPath bridge(QPointF(116, 112));
        bridge.cubicTo(QPointF(117, 122), QPointF(117, 130), QPointF(116, 137));
        bridge.lineTo(QPointF(114, 137));
        bridge.cubicTo(QPointF(114.5, 130), QPointF(114.5, 122), QPointF(114, 112));
        bridge.closeSubpath();
        lp.drawPath(bridge);
        lp.drawEllipse(QPointF(115.5, 139), 2.6, 2.0);
    });
    // The hair thins out onto the forehead rather than stopping sharply.
    softLayer(image, 3.0, face, [](QPainter &lp) {
        lp.setBrush(QColor(110, 58, 32, 130));
        lp.drawEllipse(QPointF(119, 59), 34, 5);
        lp.drawEllipse(QPointF(82, 84), 5, 16);
        lp.drawEllipse(QPointF(158, 84), 5, 16);
    });

    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
}

void paintEye(QPainter &p, const QPointF &centre, qreal width, qreal lookX)
{
    const qreal h = 3.0;
    QPainterPath eye(centre + QPointF(-width / 2, 0.6));
    eye.cubicTo(centre + QPointF(-width / 4, -h * 1.25), centre + QPointF(width / 4, -h * 1.3),
                centre + QPointF(width / 2, 0.2));
    eye.cubicTo(centre + QPointF(width / 4, h * 0.95), centre + QPointF(-width / 4, h * 1.0),
                centre + QPointF(-width / 2, 0.6));
    eye.closeSubpath();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(222, 208, 192));
    p.drawPath(eye);

    p.save();
    p.setClipPath(eye, Qt::IntersectClip);
    const QPointF irisCentre = centre + QPointF(lookX, -0.2);
    QRadialGradient iris(irisCentre, 3.4);
    iris.setColorAt(0.0, QColor(40, 26, 16));
    iris.setColorAt(0.45, QColor(92, 60, 34));
    iris.setColorAt(1.0, QColor(50, 32, 20));
    p.setBrush(iris);
    p.drawEllipse(irisCentre, 3.4, 3.4);
    p.setBrush(QColor(14, 8, 6));
    p.drawEllipse(irisCentre, 1.4, 1.4);
    // Shadow of the upper lid on the eyeball.
    p.setBrush(QColor(90, 50, 34, 110));
    p.drawEllipse(centre + QPointF(0, -h * 1.3), width / 2 + 1, h * 0.9);
    p.restore();

    // Catch-light.
    p.setBrush(QColor(255, 250, 240, 230));
    p.drawEllipse(irisCentre + QPointF(-1.1, -1.1), 0.75, 0.75);

    // Upper lid line and crease, lower lid.
    QPainterPath lid(centre + QPointF(-width / 2 - 0.5, 0.8));
    lid.cubicTo(centre + QPointF(-width / 4, -h * 1.3), centre + QPointF(width / 4, -h * 1.35),
                centre + QPointF(width / 2 + 0.5, 0.4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(52, 28, 18), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(lid);
    QPainterPath crease(centre + QPointF(-width / 2 + 1, -2.2));
    crease.cubicTo(centre + QPointF(-width / 4, -h * 2.2), centre + QPointF(width / 4, -h * 2.3),
                   centre + QPointF(width / 2 - 0.5, -1.6));
    p.setPen(QPen(QColor(120, 66, 44, 150), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(crease);
    QPainterPath lower(centre + QPointF(-width / 2 + 1, 1.4));
    lower.cubicTo(centre + QPointF(-width / 4, h * 1.25), centre + QPointF(width / 4, h * 1.2),
                  centre + QPointF(width / 2 - 0.5, 0.8));
    p.setPen(QPen(QColor(140, 82, 60, 140), 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(lower);
    // A little fold of age under the eye.
    QPainterPath bag(centre + QPointF(-width / 3, 4.6));
    bag.quadTo(centre + QPointF(0, 6.4), centre + QPointF(width / 3, 4.4));
    p.setPen(QPen(QColor(150, 90, 66, 90), 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(bag);
}

void paintFeatures(QPainter &p, QRandomGenerator &rng)
{
    paintEye(p, QPointF(100, 114), 15.0, 0.8);
    paintEye(p, QPointF(134.5, 114), 16.0, 0.2);

    // Eyebrows: short strokes of hair.
    for (const bool left : {true, false}) {
        QPainterPath brow;
        if (left) {
            brow.moveTo(89, 107);
            brow.cubicTo(QPointF(94, 101), QPointF(104, 100), QPointF(111, 104));
            brow.cubicTo(QPointF(104, 103), QPointF(96, 104), QPointF(89, 107));
        } else {
            brow.moveTo(123, 104);
            brow.cubicTo(QPointF(130, 100), QPointF(141, 100), QPointF(147, 106));
            brow.cubicTo(QPointF(140, 104), QPointF(131, 103.5), QPointF(123, 104));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(96, 52, 30, 150));
        p.drawPath(brow);
        const StrandStyle style{70,  4.0, 0.5, {QColor(80, 40, 22), QColor(130, 70, 40), QColor(60, 30, 18)},
                                120, 230, 0.3};
        paintStrands(p, rng, QPainterPathStroker(QPen(Qt::black, 1.2)).createStroke(brow).united(brow), style,
                     [left](const QPointF &pt) {
                         const qreal toward = left ? (pt.x() < 98 ? -0.35 : 0.15) : (pt.x() > 138 ? 0.35 : -0.15);
                         return normalised(QPointF(left ? 1.0 : -1.0, toward));
                     });
    }

    // Nostrils and the wings of the nose.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 34, 24, 210));
    p.drawEllipse(QPointF(111.5, 144.2), 2.4, 1.3);
    p.drawEllipse(QPointF(122.5, 144.2), 2.4, 1.3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(130, 72, 50, 170), 0.9, Qt::SolidLine, Qt::RoundCap));
    QPainterPath wingLeft(QPointF(110, 136));
    wingLeft.cubicTo(QPointF(106, 138), QPointF(106, 143), QPointF(109.5, 145));
    p.drawPath(wingLeft);
    QPainterPath wingRight(QPointF(124.5, 136));
    wingRight.cubicTo(QPointF(128.5, 138), QPointF(128.5, 143), QPointF(125, 145));
    p.drawPath(wingRight);

    // Lower lip, showing between moustache and beard.
    QPainterPath lip(QPointF(106, 160));
    lip.cubicTo(QPointF(110, 158.5), QPointF(124, 158.5), QPointF(129, 160));
    lip.cubicTo(QPointF(126, 166), QPointF(110, 166.5), QPointF(106, 160));
    lip.closeSubpath();
    QLinearGradient lipColour(0, 159, 0, 166);
    lipColour.setColorAt(0.0, QColor(150, 70, 60));
    lipColour.setColorAt(0.5, QColor(184, 100, 84));
    lipColour.setColorAt(1.0, QColor(130, 64, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(lipColour);
    p.drawPath(lip);
    p.setPen(QPen(QColor(60, 24, 18, 200), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(106, 159.6), QPointF(129, 159.6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 180, 160, 140));
    p.drawEllipse(QPointF(114, 162), 3.0, 0.9);
}

void paintBeard(QPainter &p, QImage &image, QRandomGenerator &rng)
{
    const QPainterPath beard = beardShape();
    QLinearGradient base(90, 120, 140, 224);
    base.setColorAt(0.0, kBeardLight);
    base.setColorAt(0.45, kBeard);
    base.setColorAt(1.0, kBeardDark);
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawPath(beard);

    const QPointF point(117, 232);
    const auto beardFlow = [point](const QPointF &pt) {
        const QPointF toward = normalised(point - pt);
        return normalised(toward * 0.8 + QPointF(0, 0.6));
    };
    StrandStyle style{1400, 16.0,
                      0.55, {kBeard, kBeardDark, kBeardLight, QColor(168, 90, 48), QColor(110, 54, 28), kGrey},
                      60,   190,
                      0.5};
    paintStrands(p, rng, beard, style, beardFlow);
    // Loose hairs at the edge of the beard.
    {
        StrandStyle loose = style;
        loose.count = 320;
        loose.length = 10.0;
        loose.alphaMin = 40;
        loose.alphaMax = 130;
        const QPainterPath fringe = QPainterPathStroker(QPen(Qt::black, 6.0)).createStroke(beard).subtracted(beard);
        paintStrands(p, rng, fringe, loose, beardFlow);
    }
    // Curls: short bright strokes catching the light.
    style.count = 180;
    style.length = 6.0;
    style.colours = {QColor(222, 150, 92), QColor(236, 178, 120), kGrey};
    style.alphaMin = 90;
    style.alphaMax = 200;
    style.wander = 1.6;
    paintStrands(p, rng, beard, style, beardFlow);
    p.end();

    softLayer(image, 5.0, beard, [](QPainter &lp) {
        lp.setBrush(QColor(30, 10, 4, 150));
        lp.drawEllipse(QPointF(160, 160), 16, 44); // side away from the light
        lp.drawEllipse(QPointF(120, 176), 18, 5); // under the lip
        lp.setBrush(QColor(30, 10, 4, 90));
        lp.drawEllipse(QPointF(122, 226), 22, 12);
        lp.setBrush(QColor(255, 190, 120, 70));
        lp.drawEllipse(QPointF(96, 176), 10, 22); // light on the near side
    });

    // Moustache over the lip, casting a little shadow on it.
    const QPainterPath moustache = moustacheShape();
    softLayer(image, 1.5, QPainterPath(), [&](QPainter &lp) {
        lp.setBrush(QColor(40, 14, 6, 120));
        lp.drawPath(moustache.translated(0.5, 2.0));
    });
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 60, 32));
    p.drawPath(moustache);
    const StrandStyle moustacheStyle{420, 9.0, 0.5, {kBeard, kBeardDark, kBeardLight, QColor(170, 92, 50), kGrey},
                                     90,  220, 0.35};
    paintStrands(p, rng, moustache, moustacheStyle, [](const QPointF &pt) {
        const qreal side = pt.x() < kMidline ? -1.0 : 1.0;
        const qreal droop = 0.25 + std::abs(pt.x() - kMidline) / 22.0;
        return normalised(QPointF(side, droop));
    });
}

void paintFrontHair(QPainter &p, QRandomGenerator &rng)
{
    // Thin hair at the temples and along the receding hairline, drawn over
    // the edge of the face.
    QPainterPath temples;
    temples.addEllipse(QPointF(84, 96), 6, 18);
    temples.addEllipse(QPointF(156, 96), 6, 18);
    temples.addEllipse(QPointF(119, 58), 28, 4);
    const StrandStyle style{220, 10.0, 0.5, {kBeard, kBeardDark, QColor(160, 86, 46), kGrey}, 50, 150, 0.3};
    paintStrands(p, rng, temples, style, [](const QPointF &pt) {
        if (pt.y() < 66)
            return normalised(QPointF((pt.x() - 119) * 0.05, -1.0));
        return normalised(QPointF(pt.x() < 120 ? -0.3 : 0.3, 1.0));
    });
}

void paintVarnish(QImage &image, const QRectF &area)
{
    // The warm, slightly darkened look of old varnish, deepest at the edges.
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    p.setClipRect(area);
    QRadialGradient vignette(QPointF(112, 130), 190);
    vignette.setColorAt(0.45, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(10, 5, 0, 140));
    p.setPen(Qt::NoPen);
    p.setBrush(vignette);
    p.drawRect(area);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.fillRect(area, QColor(255, 244, 222));
    p.end();

    addGrain(image,
             QRect(int(area.left()) * kScale, int(area.top()) * kScale, int(area.width()) * kScale,
                   int(area.height()) * kScale),
             7, 0xA2D0u, 2.0);
}

// Gilt frame: four mitred sides lit from the top left, a bead moulding and
// a bevelled sight edge.
void paintFrame(QPainter &p)
{
    const QRectF outer(0, 0, kWidth, kHeight);
    const QRectF inner = kCanvas;

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

    // Mitre joints.
    p.setPen(QPen(QColor(80, 50, 14, 160), 0.6));
    p.drawLine(outer.topLeft(), inner.topLeft());
    p.drawLine(outer.topRight(), inner.topRight());
    p.drawLine(outer.bottomLeft(), inner.bottomLeft());
    p.drawLine(outer.bottomRight(), inner.bottomRight());

    // Bead moulding running round the frame.
    const qreal beadInset = kFrameWidth * 0.48;
    const QRectF beadRect = outer.adjusted(beadInset, beadInset, -beadInset, -beadInset);
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

    // Corner ornaments: small gilt rosettes.
    for (const QPointF &c :
         {QPointF(beadInset, beadInset), QPointF(kWidth - beadInset, beadInset),
          QPointF(beadInset, kHeight - beadInset), QPointF(kWidth - beadInset, kHeight - beadInset)}) {
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

    // Dark outer edge and the shadow the frame casts on the painting.
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

// Paints the whole portrait at kScale times the final size. Without the
// frame, the painting runs right out to the edges.
QImage paintLarge(bool withFrame)
{
    const QRectF area = withFrame ? kCanvas : QRectF(0, 0, kWidth, kHeight);
    QImage image(kWidth * kScale, kHeight * kScale, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(30, 20, 12));

    QRandomGenerator rng(0x5E71A3u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);

    paintGround(p, image, area);
    paintHair(p, image, rng);
    paintBody(p, image, rng);
    paintRuff(p, image);
    paintFace(p, image);
    paintFrontHair(p, rng);
    paintFeatures(p, rng);
    paintBeard(p, image, rng);
    p.end();

    paintVarnish(image, area);

    if (withFrame) {
        p.begin(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(kScale, kScale);
        paintFrame(p);
        p.end();
    }
    return image;
}

} // namespace

QImage paintPortrait()
{
    return paintLarge(true)
        .scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

QImage paintSmallPortrait()
{
    // Head, beard and ruff, 57:41, from the unframed painting.
    const QImage large = paintLarge(false);
    constexpr qreal cropHeight = 168.0;
    constexpr qreal cropWidth = cropHeight * 57.0 / 41.0;
    const QRectF crop(120.0 - cropWidth / 2.0, 48.0, cropWidth, cropHeight);
    const QRect source(int(crop.x() * kScale), int(crop.y() * kScale), int(crop.width() * kScale),
                       int(crop.height() * kScale));
    QImage small = large.copy(source)
                       .scaled(57, 41, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);

    // Sharpen a little (unsharp mask) so the eyes and beard still read at
    // this size.
    QImage soft = small.copy();
    blurLayer(soft, 1.2);
    for (int y = 0; y < small.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(small.scanLine(y));
        const QRgb *blurred = reinterpret_cast<const QRgb *>(soft.constScanLine(y));
        for (int x = 0; x < small.width(); ++x) {
            const auto sharpen = [](int c, int b) { return std::clamp(c + (c - b) * 7 / 10, 0, 255); };
            row[x] = qRgb(sharpen(qRed(row[x]), qRed(blurred[x])), sharpen(qGreen(row[x]), qGreen(blurred[x])),
                          sharpen(qBlue(row[x]), qBlue(blurred[x])));
        }
    }

    // A thin gilt edge so the little picture still looks framed.
    QPainter p(&small);
    p.setPen(QPen(QColor(196, 150, 62), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 56, 40));
    p.end();
    return small.convertToFormat(QImage::Format_RGB32);
}

} // namespace artwork
