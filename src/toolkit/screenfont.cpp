#include "screenfont.h"

#include <QFontMetricsF>

#include <optional>

namespace velmora {

namespace {
bool fits(const QFont &font, const QString &text, const QSizeF &box, int flags)
{
    // A pixel of slack: metrics and the drawn text may round differently.
    const QRectF needed = QFontMetricsF(font).boundingRect(QRectF(QPointF(0, 0), box), flags, text);
    return needed.width() <= box.width() + 1 && needed.height() <= box.height() + 1;
}

std::optional<QFont> largestFitting(const QFont &font, const QString &text, const QSizeF &box, int flags)
{
    const double designed = font.pointSizeF();
    const double smallest = qMin(designed, kSmallestFitPoints);
    QFont sized = font;
    // In steps of 5 % of the designed size, down to the smallest readable size.
    for (int step = 0;; ++step) {
        const double points = qMax(smallest, designed * (1.0 - 0.05 * step));
        sized.setPointSizeF(points);
        if (fits(sized, text, box, flags))
            return sized;
        if (points <= smallest)
            return std::nullopt;
    }
}
} // namespace

FittedText fitText(const QFont &font, const QString &text, const QSizeF &box, int flags)
{
    if (text.isEmpty())
        return {font, flags};
    if (const auto sized = largestFitting(font, text, box, flags))
        return {*sized, flags};
    // A word longer than a line even at the smallest size: words break anywhere then.
    if (flags & Qt::TextWordWrap)
        flags = (flags & ~Qt::TextWordWrap) | Qt::TextWrapAnywhere;
    if (const auto sized = largestFitting(font, text, box, flags))
        return {*sized, flags};
    QFont smallest = font;
    smallest.setPointSizeF(qMin(font.pointSizeF(), kSmallestFitPoints));
    return {smallest, flags};
}

} // namespace velmora
