#pragma once

#include "control.h"

#include <QFont>

class QRadioButton;

namespace velmora {

// An option button: one of a group of mutually exclusive choices. The group is every
// option button in the same container.
class OptionButton : public Control
{
    Q_OBJECT

public:
    OptionButton(QWidget *parent, QString name, int index = -1);

    QString caption() const;
    void setCaption(const QString &caption);
    void setFont(const QFont &font);
    bool value() const;
    // Selecting one clears the others of its group; it does not fire a click.
    void setValue(bool selected);

private:
    void coloursChanged() override;
    void geometryChanged() override;
    void fitCaption();
    QRadioButton *button() const;

    QFont m_font;
};

} // namespace velmora
