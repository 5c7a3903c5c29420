#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPointF;

namespace velmora {

// A picture as the screens use it: it has its own size in twips and can draw itself at
// that size onto any painter (a window, a pixmap, a printer page). Raster pictures keep
// their pixels; vector pictures (metafile pages) draw with real lines and text.
// A null picture draws nothing and has no size.
class Picture
{
public:
    // Draws the picture with its top-left corner at the painter's origin, in a device
    // whose unit is given in twips per device unit.
    using Drawer = std::function<void(QPainter &, double twipsPerUnit)>;

    Picture() = default;
    static Picture fromImage(const QImage &image, QString source = {});
    static Picture fromDrawer(QSizeF sizeTwips, Drawer drawer, QString source = {});

    bool isNull() const { return !m_image && !m_drawer; }
    QSizeF sizeTwips() const { return m_size; }
    // The file the picture came from, as the screen asked for it; empty when unknown.
    QString source() const { return m_source; }

    // Draws at `topLeft` (device units) on a device with `twipsPerUnit` twips per unit.
    void draw(QPainter &painter, QPointF topLeft, double twipsPerUnit) const;

    // Raster pictures only: the image itself (null for vector pictures).
    QImage image() const { return m_image ? *m_image : QImage(); }

    // The words the picture shows, in reading order (lines top to bottom, words left to
    // right), for screen readers; empty for pictures without text of their own.
    QString text() const { return m_text; }
    void setText(QString text) { m_text = std::move(text); }

private:
    std::shared_ptr<const QImage> m_image;
    std::shared_ptr<const Drawer> m_drawer;
    QSizeF m_size;
    QString m_source;
    QString m_text;
};

} // namespace velmora
