#include "indicatorbutton.h"

#include "screenfont.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace velmora {

namespace {

// Qt's option button or tick box, answering anywhere in its box and drawing its
// caption fitted to the box.
template <class Base, QStyle::ControlElement Element, QStyle::SubElement Contents>
class WholeBoxButton final : public Base
{
public:
    explicit WholeBoxButton(QWidget *parent)
        : Base(parent)
    {
    }

protected:
    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }

    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        const QString text = option.text;
        option.text.clear();
        painter.drawControl(Element, option);
        if (text.isEmpty())
            return;
        const QRect box = this->style()->subElementRect(Contents, &option, this);
        if (text != m_fittedFor || box.size() != m_fittedSize || this->font() != m_fittedFont) {
            m_fitted =
                fitText(this->font(), text, QSizeF(box.size()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap);
            m_fittedFor = text;
            m_fittedSize = box.size();
            m_fittedFont = this->font();
        }
        painter.setFont(m_fitted.font);
        painter.setPen(
            this->palette().color(this->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(box, m_fitted.flags, text);
    }

private:
    FittedText m_fitted;
    QString m_fittedFor;
    QSize m_fittedSize;
    QFont m_fittedFont;
};

QAbstractButton *makeButton(QWidget *parent, bool option)
{
    if (option)
        return new WholeBoxButton<QRadioButton, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents>(parent);
    return new WholeBoxButton<QCheckBox, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents>(parent);
}

} // namespace

IndicatorButton::IndicatorButton(QWidget *parent, Kind kind, QString name, int index)
    : Control(makeButton(parent, kind == Kind::Option), std::move(name), index)
{
    QAbstractButton *button = this->button();
    // Filled with the control's own back colour, whatever role the style paints.
    button->setBackgroundRole(QPalette::Window);
    button->setAutoFillBackground(true);
    button->setFocusPolicy(Qt::StrongFocus);
    setBackColor(QColor(192, 192, 192));
    setForeColor(QColor(0, 0, 0));
}

QAbstractButton *IndicatorButton::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QString IndicatorButton::caption() const
{
    return button()->text();
}

void IndicatorButton::setCaption(const QString &caption)
{
    button()->setText(caption);
}

void IndicatorButton::setFont(const QFont &font)
{
    button()->setFont(font);
}

bool IndicatorButton::value() const
{
    return button()->isChecked();
}

void IndicatorButton::setValue(bool on)
{
    button()->setChecked(on);
}

void IndicatorButton::coloursChanged()
{
    QPalette pal = button()->palette();
    pal.setColor(QPalette::Window, backColor());
    pal.setColor(QPalette::WindowText, foreColor());
    // The mark inside the white indicator stays dark, whatever colour the caption has.
    pal.setColor(QPalette::Text, QColor(0, 0, 0));
    pal.setColor(QPalette::Base, QColor(255, 255, 255));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    button()->setPalette(pal);
}

} // namespace velmora
