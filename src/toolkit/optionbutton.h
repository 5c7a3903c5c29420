#pragma once

#include "indicatorbutton.h"

namespace velmora {

// An option button: one of a group of mutually exclusive choices. The group is every
// option button in the same container.
class OptionButton : public IndicatorButton
{
    Q_OBJECT

public:
    OptionButton(QWidget *parent, QString name, int index = -1);
};

} // namespace velmora
