#pragma once

#include "control.h"

#include <QFont>

class QPushButton;

namespace velmora {

// A push button. Its click comes from the button itself (mouse or keyboard).
class CommandButton : public Control
{
    Q_OBJECT

public:
    CommandButton(QWidget *parent, QString name, int index = -1);

    QString caption() const;
    void setCaption(const QString &caption);
    void setFont(const QFont &font);
    // Presses the button as a click would.
    void click();

private:
    void coloursChanged() override;
    bool clicksFromPointer() const override { return false; }
    QPushButton *button() const;
};

} // namespace velmora
