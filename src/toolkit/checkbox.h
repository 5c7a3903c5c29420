#pragma once

#include "indicatorbutton.h"

namespace velmora {

// A tick box with an optional caption.
class CheckBox : public IndicatorButton
{
    Q_OBJECT

public:
    CheckBox(QWidget *parent, QString name, int index = -1);

private:
    // The click comes after the box has changed its value (mouse or keyboard).
    bool clicksFromPointer() const override { return false; }
};

} // namespace velmora
