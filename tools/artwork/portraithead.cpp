// Ardovin Sevrani's head: hair, face, eyes, brows and nose, and the red
// beard and moustache, painted over the dress and under the frame.

#include "painting.h"
#include "portrait.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

namespace artwork::portrait {
namespace {

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

// The ears, each with the fold of its rim.
void paintEars(QPainter &p)
{
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
}

// The modelling in shadow: the side of the face away from the light, the
// hollows, the lines of age and the furrowed brow.
void shadeFace(QImage &image, const QPainterPath &face)
{
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
}

// The modelling in light, and the hair thinning onto the forehead.
void lightFace(QImage &image, const QPainterPath &face)
{
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
}

} // namespace

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

void paintFace(QPainter &p, QImage &image)
{
    const QPainterPath face = faceShape();

    paintEars(p);

    // Base skin.
    QRadialGradient skin(QPointF(104, 100), 80);
    skin.setColorAt(0.0, kSkin.lighter(106));
    skin.setColorAt(0.7, kSkin);
    skin.setColorAt(1.0, kSkin.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(skin);
    p.drawPath(face);
    p.end();

    shadeFace(image, face);
    lightFace(image, face);

    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
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

} // namespace artwork::portrait