#include "picture.h"

#include "twips.h"

#include <QPainter>

namespace velmora {

Picture Picture::fromImage(const QImage &image, QString source)
{
    Picture p;
    if (image.isNull())
        return p;
    p.m_image = std::make_shared<const QImage>(image);
    // A raster picture's own size is one screen pixel per image pixel.
    p.m_size = QSizeF(pixelsToTwips(image.width()), pixelsToTwips(image.height()));
    p.m_source = std::move(source);
    return p;
}

Picture Picture::fromDrawer(QSizeF sizeTwips, Drawer drawer, QString source)
{
    Picture p;
    if (!drawer)
        return p;
    p.m_drawer = std::make_shared<const Drawer>(std::move(drawer));
    p.m_size = sizeTwips;
    p.m_source = std::move(source);
    return p;
}

void Picture::draw(QPainter &painter, QPointF topLeft, double twipsPerUnit) const
{
    if (isNull() || twipsPerUnit <= 0)
        return;
    painter.save();
    painter.translate(topLeft);
    if (m_image) {
        const QRectF target(0, 0, m_size.width() / twipsPerUnit, m_size.height() / twipsPerUnit);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, twipsPerUnit != kTwipsPerPixel);
        painter.drawImage(target, *m_image);
    } else {
        (*m_drawer)(painter, twipsPerUnit);
    }
    painter.restore();
}

} // namespace velmora
