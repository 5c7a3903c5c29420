// Portrait of Ardovin Sevrani: a bearded scholar of about fifty, in a dark
// fur-trimmed gown with a white ruff, painted in oils against a warm dark
// ground and set in a gilt frame.
//
// The portrait is painted at twice its final size and scaled down, which
// keeps the hair and beard strokes fine. Soft modelling of the face is
// painted on separate layers that are blurred before they are laid on.
//
// The head, the dress and the frame are painted in files of their own
// (portraithead.cpp, portraitdress.cpp, portraitframe.cpp); this one holds
// the layers and strokes they share, the ground and the varnish, and puts
// the parts together.

#include "portrait.h"
#include "artwork.h"
#include "painting.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QRectF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>

namespace artwork {
namespace portrait {

// --- Layers -------------------------------------------------------------------

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

namespace {

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
} // namespace portrait

QImage paintPortrait()
{
    return portrait::paintLarge(true)
        .scaled(portrait::kWidth, portrait::kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

QImage paintSmallPortrait()
{
    using portrait::kScale;
    // Head, beard and ruff, 57:41, from the unframed painting.
    const QImage large = portrait::paintLarge(false);
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
