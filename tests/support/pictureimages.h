#pragma once

#include "toolkit/picture.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace velmora::test {

// A picture drawn at `twipsPerUnit` twips a pixel on white, as the screens show it.
inline QImage renderOnWhite(const Picture &picture, double twipsPerUnit = 15)
{
    const QSizeF size = picture.sizeTwips() / twipsPerUnit;
    QImage image(int(std::ceil(size.width())), int(std::ceil(size.height())), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.draw(painter, QPointF(0, 0), twipsPerUnit);
    return image;
}

// Whether two colours agree within `tolerance` in each channel (smoothed edges).
inline bool nearColour(QColor a, QColor b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace velmora::test
