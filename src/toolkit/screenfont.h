#pragma once

#include <QFont>
#include <QString>

namespace velmora {

// A font as the screens name it: face, size in points (fractions kept, 32.25 and
// 15.75 are common) and weight.
inline QFont screenFont(const QString &family, double points, bool bold = true)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The font, made up to 35 % smaller when needed, that fits `text` into `width` pixels
// on one line: faces differ a little between machines, and a caption cut off reads
// worse than one a little smaller.
QFont fontFittingWidth(const QFont &font, const QString &text, double width);

} // namespace velmora
