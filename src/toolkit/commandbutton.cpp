#include "commandbutton.h"

#include <QPushButton>

namespace velmora {

CommandButton::CommandButton(QWidget *parent, QString name, int index)
    : Control(new QPushButton(parent), std::move(name), index)
{
    setBackColor(QColor(192, 192, 192));
    setForeColor(QColor(0, 0, 0));
    // Clicks of a push button come from QPushButton (keyboard included), not from the
    // generic press-and-release of painted controls.
    connect(button(), &QPushButton::clicked, this, [this] {
        if (onClick)
            onClick();
    });
}

QPushButton *CommandButton::button() const
{
    return static_cast<QPushButton *>(widget());
}

QString CommandButton::caption() const
{
    return button()->text();
}

void CommandButton::setCaption(const QString &caption)
{
    button()->setText(caption);
}

void CommandButton::setFont(const QFont &font)
{
    button()->setFont(font);
}

void CommandButton::click()
{
    button()->click();
}

void CommandButton::coloursChanged()
{
    QPalette pal = button()->palette();
    pal.setColor(QPalette::Button, backColor());
    pal.setColor(QPalette::ButtonText, foreColor());
    button()->setPalette(pal);
}

} // namespace velmora
