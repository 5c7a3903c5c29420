#include "optionbutton.h"

#include "screenfont.h"

#include <QRadioButton>
#include <QStyle>

namespace velmora {

OptionButton::OptionButton(QWidget *parent, QString name, int index)
    : Control(new QRadioButton(parent), std::move(name), index)
{
    // Filled with the control's own back colour, whatever role the style paints.
    button()->setBackgroundRole(QPalette::Window);
    button()->setAutoFillBackground(true);
    button()->setFocusPolicy(Qt::StrongFocus);
    m_font = widget()->font();
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
    // The dot inside the white circle stays dark, whatever colour the caption has.
    pal.setColor(QPalette::Text, QColor(0, 0, 0));
    pal.setColor(QPalette::Base, QColor(255, 255, 255));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    button()->setPalette(pal);
}

void OptionButton::setCaption(const QString &caption)
{
    button()->setText(caption);
    fitCaption();
}

void OptionButton::setFont(const QFont &font)
{
    m_font = font;
    fitCaption();
}

void OptionButton::geometryChanged()
{
    Control::geometryChanged();
    fitCaption();
}

void OptionButton::fitCaption()
{
    // The caption shares the width with the indicator in front of it.
    const int indicator = button()->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6;
    button()->setFont(fontFittingWidth(m_font, button()->text(), button()->width() - indicator));
}

} // namespace velmora
