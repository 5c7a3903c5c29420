#include "textbox.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

TextBox::TextBox(QWidget *parent, QString name, int index)
    : Control(new QLineEdit(parent), std::move(name), index)
{
    setBackColor(QColor(255, 255, 255));
    setForeColor(QColor(0, 0, 0));
}

QLineEdit *TextBox::edit() const
{
    return static_cast<QLineEdit *>(widget());
}

QString TextBox::text() const
{
    return edit()->text();
}

void TextBox::setText(const QString &text)
{
    edit()->setText(m_maxLength > 0 ? text.left(m_maxLength) : text);
}

void TextBox::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    // QLineEdit's own default limit is 32767.
    edit()->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

void TextBox::setFont(const QFont &font)
{
    edit()->setFont(font);
}

void TextBox::coloursChanged()
{
    QPalette pal = edit()->palette();
    pal.setColor(QPalette::Base, backColor());
    pal.setColor(QPalette::Text, foreColor());
    edit()->setPalette(pal);
}

bool TextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::KeyPress && onKeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        int code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (!key->text().isEmpty())
            code = key->text().at(0).unicode();
        if (code != 0)
            onKeyPress(code);
        if (code == 13)
            return true; // a single-line box adds nothing for Enter
    }
    return Control::eventFilter(watched, event);
}

} // namespace velmora
