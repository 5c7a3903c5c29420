#pragma once

#include "control.h"

#include <QFont>

#include <functional>

class QLineEdit;

namespace velmora {

// A single-line text box with an optional maximum length (0 means none) for typing;
// text that the program sets is never cut to it.
class TextBox : public Control
{
    Q_OBJECT

public:
    TextBox(QWidget *parent, QString name, int index = -1);

    QString text() const;
    void setText(const QString &text);
    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    void setFont(const QFont &font);

    // Key press with the character code (13 for Enter); runs before the box acts on it.
    std::function<void(int)> onKeyPress;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void coloursChanged() override;
    void limitTyping(qsizetype currentLength);
    QLineEdit *edit() const;

    int m_maxLength = 0;
};

} // namespace velmora
