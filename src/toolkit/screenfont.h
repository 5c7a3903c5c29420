#pragma once

#include <QFont>
#include <QSizeF>
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

// How a text is drawn so that all of it shows inside a box: the font and the
// QPainter::drawText flags to draw it with.
struct FittedText {
    QFont font;
    int flags = 0;
};

// Fits `text` into `box` (pixels): at the designed size when it fits, otherwise made
// smaller step by step (never below kSmallestFitPoints) until it does. Faces differ
// between machines and teachers write long questions: a text cut off reads worse than
// one drawn smaller. `flags` holds the alignment and Qt::TextWordWrap when the text may
// take several lines; a word too long for any line is then broken where it must be.
FittedText fitText(const QFont &font, const QString &text, const QSizeF &box, int flags);

inline constexpr double kSmallestFitPoints = 6.0;

} // namespace velmora
