#include "screenfont.h"

#include <QFontMetricsF>

namespace velmora {

QFont fontFittingWidth(const QFont &font, const QString &text, double width)
{
    QFont fitted = font;
    const double designed = font.pointSizeF();
    for (double scale = 1.0; scale > 0.6; scale -= 0.05) {
        fitted.setPointSizeF(designed * scale);
        if (QFontMetricsF(fitted).horizontalAdvance(text) <= width)
            break;
    }
    return fitted;
}

} // namespace velmora
