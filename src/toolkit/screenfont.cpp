#include "screenfont.h"

#include <QFontMetricsF>

namespace velmora {

QFont fontFittingWidth(const QFont &font, const QString &text, double width)
{
    QFont fitted = font;
    const double designed = font.pointSizeF();
    // Down to 65 % of the designed size, in steps of 5 %.
    for (int step = 0; step <= 7; ++step) {
        fitted.setPointSizeF(designed * (1.0 - 0.05 * step));
        if (QFontMetricsF(fitted).horizontalAdvance(text) <= width)
            break;
    }
    return fitted;
}

} // namespace velmora
