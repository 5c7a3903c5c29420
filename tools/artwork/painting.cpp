// Small painting helpers shared by several pictures.

#include "painting.h"

#include <QLinearGradient>

#include <QPainterPath>

#include <QLineF>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(std::clamp(alpha, 0, 255));
    return c;
}

QColor mixColours(const QColor &a, const QColor &b, qreal t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto mix = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()), mix(a.alpha(), b.alpha()));
}

qreal gaussian(QRandomGenerator &rng)
{
    // Box-Muller.
    const qreal u1 = std::max(rng.generateDouble(), 1e-9);
    const qreal u2 = rng.generateDouble();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * M_PI * u2);
}

QPolygonF starPolygon(const QPointF &centre, qreal outer, qreal inner, int points, qreal rotationDegrees)
{
    QPolygonF star;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = qDegreesToRadians(-90.0 + rotationDegrees + 180.0 * i / points);
        star << centre + QPointF(r * std::cos(a), r * std::sin(a));
    }
    return star;
}

QImage transparentLayer(const QSize &size)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    return layer;
}

namespace {

// One box-blur pass along rows (horizontal) or columns of a premultiplied
// ARGB32 image, with edge pixels repeated.
void boxPass(QImage &image, int radius, bool horizontal)
{
    if (radius < 1)
        return;
    const int w = image.width();
    const int h = image.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * radius + 1;
    std::vector<QRgb> line(static_cast<size_t>(length));

    for (int l = 0; l < lines; ++l) {
        const auto at = [&](int i) -> QRgb & {
            return horizontal ? reinterpret_cast<QRgb *>(image.scanLine(l))[i]
                              : reinterpret_cast<QRgb *>(image.scanLine(i))[l];
        };
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = at(i);

        int sum[4] = {0, 0, 0, 0};
        const auto add = [&](QRgb c, int sign) {
            sum[0] += sign * qAlpha(c);
            sum[1] += sign * qRed(c);
            sum[2] += sign * qGreen(c);
            sum[3] += sign * qBlue(c);
        };
        const auto sample = [&](int i) { return line[size_t(std::clamp(i, 0, length - 1))]; };
        for (int i = -radius; i <= radius; ++i)
            add(sample(i), 1);
        for (int i = 0; i < length; ++i) {
            at(i) = qRgba((sum[1] + window / 2) / window, (sum[2] + window / 2) / window,
                          (sum[3] + window / 2) / window, (sum[0] + window / 2) / window);
            add(sample(i + radius + 1), 1);
            add(sample(i - radius), -1);
        }
    }
}

} // namespace

void blurLayer(QImage &layer, qreal radius)
{
    if (layer.format() != QImage::Format_ARGB32_Premultiplied)
        layer = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three box passes of this size approximate a Gaussian with deviation
    // close to `radius`.
    const int box = std::max(1, int(std::lround(radius * 0.85)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(layer, box, true);
        boxPass(layer, box, false);
    }
}

void hatch(QPainter &p, const QPainterPath &area, qreal angleDegrees, qreal spacing, const QPen &pen)
{
    const QRectF bounds = area.boundingRect();
    const QPointF centre = bounds.center();
    const qreal reach = std::hypot(bounds.width(), bounds.height()) / 2.0 + spacing;

    p.save();
    p.setClipPath(area, Qt::IntersectClip);
    p.setPen(pen);
    p.translate(centre);
    p.rotate(angleDegrees);
    for (qreal y = -reach; y <= reach; y += spacing)
        p.drawLine(QLineF(-reach, y, reach, y));
    p.restore();
}

void addGrain(QImage &image, const QRect &rect, int strength, quint32 seed, qreal cellSize)
{
    const QRect area = rect.intersected(image.rect());
    if (area.isEmpty() || strength <= 0)
        return;

    // Value noise on a coarse lattice, smoothly interpolated, plus a little
    // per-pixel speckle.
    const int cols = int(area.width() / cellSize) + 2;
    const int rows = int(area.height() / cellSize) + 2;
    QRandomGenerator rng(seed);
    std::vector<qreal> lattice(static_cast<size_t>(cols * rows));
    for (qreal &v : lattice)
        v = rng.generateDouble() * 2.0 - 1.0;
    const auto value = [&](int cx, int cy) {
        return lattice[size_t(std::min(cy, rows - 1) * cols + std::min(cx, cols - 1))];
    };
    const auto smooth = [](qreal t) { return t * t * (3.0 - 2.0 * t); };

    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        const qreal fy = (y - area.top()) / cellSize;
        const int cy = int(fy);
        const qreal ty = smooth(fy - cy);
        for (int x = area.left(); x <= area.right(); ++x) {
            const qreal fx = (x - area.left()) / cellSize;
            const int cx = int(fx);
            const qreal tx = smooth(fx - cx);
            const qreal top = value(cx, cy) + (value(cx + 1, cy) - value(cx, cy)) * tx;
            const qreal bottom = value(cx, cy + 1) + (value(cx + 1, cy + 1) - value(cx, cy + 1)) * tx;
            const qreal n = (top + (bottom - top) * ty) * 0.75 + (rng.generateDouble() * 2.0 - 1.0) * 0.25;
            const int delta = int(std::lround(n * strength));
            const QRgb c = row[x];
            if (premultiplied && qAlpha(c) == 0)
                continue;
            const int limit = premultiplied ? qAlpha(c) : 255;
            row[x] = qRgba(std::clamp(qRed(c) + delta, 0, limit), std::clamp(qGreen(c) + delta, 0, limit),
                           std::clamp(qBlue(c) + delta, 0, limit), qAlpha(c));
        }
    }
}

namespace {
// One page of the open book; `side` is -1 for the left page and +1 for the right.
QPainterPath bookPage(qreal spineX, qreal top, qreal bottom, qreal width, int side)
{
    const qreal outerX = spineX + side * width;
    QPainterPath page;
    page.moveTo(spineX, top + 3);
    page.cubicTo(spineX + side * width * 0.35, top - 2, spineX + side * width * 0.7, top - 3, outerX, top);
    page.lineTo(outerX, bottom - 3);
    page.cubicTo(spineX + side * width * 0.7, bottom - 6, spineX + side * width * 0.35, bottom - 5, spineX, bottom);
    page.closeSubpath();
    return page;
}
} // namespace

void paintOpenBook(QPainter &p, qreal spineX, qreal top, qreal bottom, qreal pageWidth, qreal firstLine, qreal lineStep)
{
    const QColor navy(31, 50, 112);
    // Cover, peeking out under the pages.
    QPainterPath cover;
    cover.moveTo(spineX, bottom + 3);
    cover.cubicTo(spineX - 10, bottom - 1, spineX - 20, bottom - 2, spineX - pageWidth - 3, bottom - 1);
    cover.lineTo(spineX - pageWidth - 3, top + 2);
    cover.lineTo(spineX - pageWidth, top + 2);
    cover.lineTo(spineX - pageWidth, bottom - 3);
    cover.lineTo(spineX + pageWidth, bottom - 3);
    cover.lineTo(spineX + pageWidth, top + 2);
    cover.lineTo(spineX + pageWidth + 3, top + 2);
    cover.lineTo(spineX + pageWidth + 3, bottom - 1);
    cover.cubicTo(spineX + 20, bottom - 2, spineX + 10, bottom - 1, spineX, bottom + 3);
    cover.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(navy);
    p.drawPath(cover);

    // Pages, lightly shaded toward the spine, with lines of print.
    for (const int side : {-1, 1}) {
        QLinearGradient shade(spineX, 0, spineX + side * pageWidth, 0);
        shade.setColorAt(0.0, QColor(214, 210, 196));
        shade.setColorAt(0.25, QColor(250, 248, 240));
        shade.setColorAt(1.0, QColor(255, 255, 252));
        p.setBrush(shade);
        p.setPen(QPen(navy, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(bookPage(spineX, top, bottom, pageWidth, side));

        p.setPen(QPen(QColor(150, 160, 190), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int line = 0; line < 4; ++line) {
            const qreal y = top + firstLine + line * lineStep;
            const qreal x0 = spineX + side * 4.5;
            const qreal x1 = spineX + side * (line == 3 ? pageWidth * 0.6 : pageWidth - 4.0);
            QPainterPath text;
            text.moveTo(x0, y + 0.6);
            text.quadTo((x0 + x1) / 2, y - 1.2, x1, y - 0.6);
            p.drawPath(text);
        }
    }

    // Spine crease.
    p.setPen(QPen(navy, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(spineX, top + 3), QPointF(spineX, bottom));
}

} // namespace artwork
