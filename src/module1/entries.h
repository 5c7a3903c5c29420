#pragma once

#include "toolkit/controlarray.h"
#include "toolkit/label.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace velmora {

class Form;

// The design's shared look: its yellow (entries, headings, texts), its three typefaces.
inline const QColor kYellow(255, 255, 0);
inline const QString kTahoma = QStringLiteral("Tahoma");
inline const QString kTimes = QStringLiteral("Times New Roman");
inline const QString kArial = QStringLiteral("Arial");

// The look every screen gives its entries (clickable labels): yellow text centred in
// a filled box with a single-line border, black unless the screen says otherwise.
inline const QColor kEntryText = kYellow;
inline const QColor kEntryBack(0, 0, 0);

struct EntryDesign {
    int index;
    QString caption;
    double left, top, width, height;
};

// The "Exit" entry in the bottom right corner, where every screen that has one puts it.
inline EntryDesign exitEntry(int index)
{
    return {index, QStringLiteral("Exit"), 10560, 7920, 1245, 495};
}

Label *addEntry(Form &form, ControlArray<Label> &entries, const QString &name, const EntryDesign &design,
                const QFont &font, const QColor &back = kEntryBack);

// A text of a screen: a transparent label with its caption, font, colour and alignment.
struct TextDesign {
    QString caption;
    double left, top, width, height;
};
Label *styleText(Label *label, const TextDesign &design, const QFont &font, const QColor &color, Alignment alignment);

} // namespace velmora
