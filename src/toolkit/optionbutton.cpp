#include "optionbutton.h"

#include <QWidget>

namespace velmora {

OptionButton::OptionButton(QWidget *parent, QString name, int index)
    : IndicatorButton(parent, Kind::Option, std::move(name), index)
{
}

} // namespace velmora
