#include "checkbox.h"

#include <QCheckBox>

namespace velmora {

CheckBox::CheckBox(QWidget *parent, QString name, int index)
    : Control(new QCheckBox(parent), std::move(name), index)
{
    // Filled with the control's own back colour, whatever role the style paints.
    box()->setBackgroundRole(QPalette::Window);
    box()->setAutoFillBackground(true);
    setBackColor(QColor(192, 192, 192));
    setForeColor(QColor(0, 0, 0));
    connect(box(), &QCheckBox::clicked, this, [this] {
        if (onClick)
            onClick();
    });
}

QCheckBox *CheckBox::box() const
{
    return static_cast<QCheckBox *>(widget());
}

QString CheckBox::caption() const
{
    return box()->text();
}

void CheckBox::setCaption(const QString &caption)
{
    box()->setText(caption);
}

void CheckBox::setFont(const QFont &font)
{
    box()->setFont(font);
}

bool CheckBox::value() const
{
    return box()->isChecked();
}

void CheckBox::setValue(bool ticked)
{
    box()->setChecked(ticked);
}

void CheckBox::coloursChanged()
{
    QPalette pal = box()->palette();
    pal.setColor(QPalette::Window, backColor());
    pal.setColor(QPalette::WindowText, foreColor());
    box()->setPalette(pal);
}

} // namespace velmora
