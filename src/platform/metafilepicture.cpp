#include "metafilepicture.h"

#include "toolkit/twips.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace velmora::metafile {

namespace {

// A dashed line is drawn solid when it would take more dashes than this: the dasher
// would otherwise work through millions of them for one absurd line.
constexpr double kMaxDashes = 20000;

QList<qreal> dashLengths(Dashes dashes)
{
    switch (dashes) {
    case Dashes::Dash:
        return {18, 6};
    case Dashes::Dot:
        return {3, 3};
    case Dashes::DashDot:
        return {9, 6, 3, 6};
    case Dashes::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case Dashes::None:
        break;
    }
    return {};
}

QPen penFor(const Stroke &stroke, double twipsPerUnit, double pathLengthTwips)
{
    QPen pen(stroke.color);
    pen.setCapStyle(stroke.cap);
    pen.setJoinStyle(stroke.join);
    const double deviceWidth = stroke.widthTwips / twipsPerUnit;
    pen.setWidthF(deviceWidth < 1 ? 0.0 : stroke.widthTwips); // zero: one device pixel
    QList<qreal> lengths = dashLengths(stroke.dashes);
    if (!lengths.isEmpty()) {
        // Dashes keep their length on paper: so many screen pixels, whatever the device.
        const double unit = std::max(deviceWidth, 1.0);
        double period = 0;
        for (qreal &l : lengths) {
            l = l * kTwipsPerPixel / twipsPerUnit / unit;
            period += l * unit;
        }
        if (pathLengthTwips / twipsPerUnit / period < kMaxDashes)
            pen.setDashPattern(lengths);
    }
    return pen;
}

void renderItem(QPainter &p, const ShapeItem &s, double twipsPerUnit)
{
    if (s.hatchBackground)
        p.fillPath(s.path, *s.hatchBackground);
    p.setPen(s.stroke ? penFor(*s.stroke, twipsPerUnit, s.dashedLength) : QPen(Qt::NoPen));
    p.setBrush(s.fill ? *s.fill : QBrush(Qt::NoBrush));
    p.drawPath(s.path);
}

void renderItem(QPainter &p, const TextItem &t)
{
    p.save();
    if (t.box && t.boxColor)
        p.fillRect(*t.box, *t.boxColor);
    if (t.box && t.clipToBox)
        p.setClipRect(*t.box, Qt::IntersectClip);
    p.translate(t.anchor);
    if (t.angle != 0)
        p.rotate(t.angle);
    if (t.background)
        p.fillRect(t.backgroundRect, *t.background);
    p.setFont(t.font);
    p.setPen(t.color);
    p.drawText(t.baselineStart, t.text);
    p.restore();
}

void renderItem(QPainter &p, const ImageItem &i)
{
    if (!i.crisp) {
        p.drawImage(i.target, i.image, i.source);
        return;
    }
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    p.drawImage(i.target, i.image, i.source);
    p.restore();
}

} // namespace

void DisplayList::render(QPainter &painter, double twipsPerUnit) const
{
    if (twipsPerUnit <= 0)
        return;
    painter.save();
    painter.scale(1 / twipsPerUnit, 1 / twipsPerUnit);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::NonCosmeticBrushPatterns);
    painter.setClipRect(QRectF(QPointF(0, 0), size), Qt::IntersectClip);
    painter.save(); // what a ClipItem goes back to
    for (const Item &item : items) {
        if (const auto *shape = std::get_if<ShapeItem>(&item)) {
            renderItem(painter, *shape, twipsPerUnit);
        } else if (const auto *text = std::get_if<TextItem>(&item)) {
            renderItem(painter, *text);
        } else if (const auto *image = std::get_if<ImageItem>(&item)) {
            renderItem(painter, *image);
        } else if (const auto *clip = std::get_if<ClipItem>(&item)) {
            painter.restore();
            painter.save();
            if (clip->region)
                painter.setClipPath(*clip->region, Qt::IntersectClip);
        }
    }
    painter.restore();
    painter.restore();
}

QRectF DisplayList::bounds() const
{
    QRectF all;
    for (const Item &item : items) {
        QRectF r;
        if (const auto *shape = std::get_if<ShapeItem>(&item)) {
            r = shape->path.boundingRect();
            if (shape->stroke)
                r.adjust(-shape->stroke->widthTwips / 2, -shape->stroke->widthTwips / 2, shape->stroke->widthTwips / 2,
                         shape->stroke->widthTwips / 2);
        } else if (const auto *text = std::get_if<TextItem>(&item)) {
            const QFontMetricsF metrics(text->font);
            const QRectF cell(text->baselineStart.x(), text->baselineStart.y() - metrics.ascent(),
                              metrics.horizontalAdvance(text->text), metrics.height());
            QTransform t;
            t.translate(text->anchor.x(), text->anchor.y());
            t.rotate(text->angle);
            r = t.mapRect(cell);
        } else if (const auto *image = std::get_if<ImageItem>(&item)) {
            r = image->target;
        }
        if (!r.isNull())
            all = all.isNull() ? r : all.united(r);
    }
    return all;
}

namespace {

struct Words {
    QPointF start; // the baseline's start on the page, twips
    double end = 0; // where the baseline's run ends, twips
    double lineHeight = 0;
    QString text;
};

} // namespace

QString DisplayList::readingText() const
{
    std::vector<Words> runs;
    for (const Item &item : items) {
        const auto *text = std::get_if<TextItem>(&item);
        if (!text || text->text.trimmed().isEmpty())
            continue;
        QTransform t;
        t.translate(text->anchor.x(), text->anchor.y());
        t.rotate(text->angle);
        const QFontMetricsF metrics(text->font);
        const QPointF start = t.map(text->baselineStart);
        runs.push_back({start, start.x() + metrics.horizontalAdvance(text->text), metrics.height(), text->text});
    }
    // Rows first (a run belongs to the row whose first baseline lies within half a line
    // of its own), then left to right along each row.
    std::stable_sort(runs.begin(), runs.end(),
                     [](const Words &a, const Words &b) { return a.start.y() < b.start.y(); });
    std::vector<std::vector<Words>> rows;
    for (Words &run : runs) {
        if (rows.empty() || run.start.y() - rows.back().front().start.y() > rows.back().front().lineHeight / 2)
            rows.emplace_back();
        rows.back().push_back(std::move(run));
    }
    QStringList lines;
    for (auto &row : rows) {
        std::stable_sort(row.begin(), row.end(),
                         [](const Words &a, const Words &b) { return a.start.x() < b.start.x(); });
        QString line;
        double lastEnd = 0;
        for (const Words &run : row) {
            // Runs that touch (text written a few letters at a time) join without a space.
            const bool touches = !line.isEmpty() && run.start.x() - lastEnd < run.lineHeight / 4;
            if (!line.isEmpty() && !touches && !line.endsWith(QLatin1Char(' ')))
                line += QLatin1Char(' ');
            line += run.text;
            lastEnd = run.end;
        }
        lines << line.simplified();
    }
    return lines.join(QLatin1Char('\n'));
}

qint64 DisplayList::bytes() const
{
    qint64 total = qint64(sizeof(DisplayList)) + qint64(items.capacity()) * qint64(sizeof(Item));
    for (const Item &item : items) {
        if (const auto *shape = std::get_if<ShapeItem>(&item))
            total += qint64(shape->path.elementCount()) * qint64(sizeof(QPainterPath::Element)) + 64;
        else if (const auto *text = std::get_if<TextItem>(&item))
            total += text->text.size() * 2 + 256; // the string and the font's private data
        else if (const auto *image = std::get_if<ImageItem>(&item))
            total += image->image.sizeInBytes();
        else if (const auto *clip = std::get_if<ClipItem>(&item))
            total += clip->region ? clip->region->elementCount() * qint64(sizeof(QPainterPath::Element)) : 0;
    }
    return total;
}

void DisplayList::translate(QPointF offset)
{
    for (Item &item : items) {
        if (auto *shape = std::get_if<ShapeItem>(&item)) {
            shape->path.translate(offset);
        } else if (auto *text = std::get_if<TextItem>(&item)) {
            text->anchor += offset;
            if (text->box)
                text->box->translate(offset);
        } else if (auto *image = std::get_if<ImageItem>(&item)) {
            image->target.translate(offset);
        } else if (auto *clip = std::get_if<ClipItem>(&item)) {
            if (clip->region)
                clip->region->translate(offset);
        }
    }
}

namespace {

struct RasterCache {
    std::mutex mutex;
    QImage image;
    double twipsPerUnit = 0;
    qreal devicePixelRatio = 0;
};

bool isRaster(const QPaintDevice *device)
{
    if (!device)
        return false;
    const int type = device->devType();
    return type == QInternal::Image || type == QInternal::Pixmap || type == QInternal::Widget;
}

} // namespace

Picture::Drawer drawerFor(std::shared_ptr<const DisplayList> list)
{
    auto cache = std::make_shared<RasterCache>();
    return [list = std::move(list), cache](QPainter &painter, double twipsPerUnit) {
        const QTransform world = painter.worldTransform();
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        const QSizeF pixels = list->size / twipsPerUnit * ratio;
        const bool cacheable = isRaster(painter.device()) && world.type() <= QTransform::TxTranslate
                               && pixels.width() * pixels.height() <= double(kMaxKeptPixels);
        if (!cacheable) {
            list->render(painter, twipsPerUnit);
            return;
        }
        std::lock_guard<std::mutex> lock(cache->mutex);
        if (cache->image.isNull() || cache->twipsPerUnit != twipsPerUnit || cache->devicePixelRatio != ratio) {
            QImage image(std::max(1, int(std::ceil(pixels.width()))), std::max(1, int(std::ceil(pixels.height()))),
                         QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            QPainter offscreen(&image);
            list->render(offscreen, twipsPerUnit);
            offscreen.end();
            cache->image = image;
            cache->twipsPerUnit = twipsPerUnit;
            cache->devicePixelRatio = ratio;
        }
        painter.drawImage(QPointF(0, 0), cache->image);
    };
}

} // namespace velmora::metafile
