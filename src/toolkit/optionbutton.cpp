#include "optionbutton.h"

#include <QRadioButton>

namespace velmora {

OptionButton::OptionButton(QWidget *parent, QString name, int index)
    : Control(new QRadioButton(parent), std::move(name), index)
{
    // Filled with the control's own back colour, whatever role the style paints.
    button()->setBackgroundRole(QPalette::Window);
    button()->setAutoFillBackground(true);
    button()->setFocusPolicy(Qt::StrongFocus);
    setBackColor(QColor(192, 192, 192));
    setForeColor(QColor(0, 0, 0));
}

QRadioButton *OptionButton::button() const
{
    return static_cast<QRadioButton *>(widget());
}

QString OptionButton::caption() const
{
    return button()->text();
}

void OptionButton::setCaption(const QString &caption)
{
    button()->setText(caption);
}

void OptionButton::setFont(const QFont &font)
{
    button()->setFont(font);
}

bool OptionButton::value() const
{
    return button()->isChecked();
}

void OptionButton::setValue(bool selected)
{
    button()->setChecked(selected);
}

void OptionButton::coloursChanged()
{
    QPalette pal = button()->palette();
    pal.setColor(QPalette::Window, backColor());
    pal.setColor(QPalette::WindowText, foreColor());
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    button()->setPalette(pal);
}

} // namespace velmora
