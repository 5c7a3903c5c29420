#include "textbox.h"

#include <QKeyEvent>
#include <QLineEdit>

#include <limits>

namespace velmora {

TextBox::TextBox(QWidget *parent, QString name, int index)
    : Control(new QLineEdit(parent), std::move(name), index)
{
    connect(edit(), &QLineEdit::textEdited, this, [this](const QString &text) { limitTyping(text.size()); });
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
    // The maximum length limits typing only: a text the program sets shows whole.
    limitTyping(text.size());
    edit()->setText(text);
}

void TextBox::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    limitTyping(edit()->text().size());
}

void TextBox::limitTyping(qsizetype currentLength)
{
    // QLineEdit cuts its text to its limit, so the limit never goes below the text in
    // the box. A box holding more than the maximum thus takes no further character,
    // and once shortened it is held at the new length until it is below the maximum.
    constexpr qsizetype kUnlimited = 32767; // QLineEdit's own default limit
    const qsizetype limit = qMax(m_maxLength > 0 ? qsizetype(m_maxLength) : kUnlimited, currentLength);
    edit()->setMaxLength(int(qMin<qsizetype>(limit, std::numeric_limits<int>::max())));
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
