#include "entries.h"

#include "toolkit/form.h"
#include "toolkit/label.h"

namespace velmora {

Label *addEntry(Form &form, ControlArray<Label> &entries, const QString &name, const EntryDesign &design,
                const QFont &font, const QColor &back)
{
    Label *label = form.add<Label>(entries, name, design.index);
    label->setGeometry(design.left, design.top, design.width, design.height);
    label->setCaption(design.caption);
    label->setFont(font);
    label->setForeColor(kEntryText);
    label->setBackColor(back);
    label->setBackStyle(BackStyle::Opaque);
    label->setBorderStyle(BorderStyle::FixedSingle);
    label->setAlignment(Alignment::Center);
    label->setClickable(true);
    return label;
}

Label *styleText(Label *label, const TextDesign &design, const QFont &font, const QColor &color, Alignment alignment)
{
    label->setGeometry(design.left, design.top, design.width, design.height);
    label->setCaption(design.caption);
    label->setFont(font);
    label->setForeColor(color);
    label->setAlignment(alignment);
    label->setBackStyle(BackStyle::Transparent);
    return label;
}

} // namespace velmora
