#include "checkbox.h"

#include "screenfont.h"

#include <QCheckBox>
#include <QStyle>

namespace velmora {

CheckBox::CheckBox(QWidget *parent, QString name, int index)
    : Control(new QCheckBox(parent), std::move(name), index)
{
    // Filled with the control's own back colour, whatever role the style paints.
    box()->setBackgroundRole(QPalette::Window);
    box()->setAutoFillBackground(true);
    m_font = widget()->font();
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

void CheckBox::setCaption(const QString &caption)
{
    box()->setText(caption);
    fitCaption();
}

void CheckBox::setFont(const QFont &font)
{
    m_font = font;
    fitCaption();
}

void CheckBox::geometryChanged()
{
    Control::geometryChanged();
    fitCaption();
}

void CheckBox::fitCaption()
{
    // The caption shares the width with the indicator in front of it.
    const int indicator = box()->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 6;
    box()->setFont(fontFittingWidth(m_font, box()->text(), box()->width() - indicator));
}

} // namespace velmora
