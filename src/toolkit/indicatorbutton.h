#pragma once

#include "control.h"

#include <QFont>

class QAbstractButton;

namespace velmora {

// What option buttons and tick boxes share: an indicator in front of an optional
// caption, and a value. The whole designed box is the control: a press and release
// anywhere in it selects or ticks it, not only on the indicator and the text. The
// caption shows whole: a long one wraps and is drawn smaller until it fits.
class IndicatorButton : public Control
{
    Q_OBJECT

public:
    QString caption() const;
    void setCaption(const QString &caption);
    void setFont(const QFont &font);
    bool value() const;
    // Selecting an option clears the others of its group; neither fires a click.
    void setValue(bool on);

protected:
    enum class Kind { Option, Tick };
    IndicatorButton(QWidget *parent, Kind kind, QString name, int index);
    QAbstractButton *button() const;

private:
    void coloursChanged() override;
};

} // namespace velmora
