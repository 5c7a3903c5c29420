#include "checkbox.h"

#include <QAbstractButton>

namespace velmora {

CheckBox::CheckBox(QWidget *parent, QString name, int index)
    : IndicatorButton(parent, Kind::Tick, std::move(name), index)
{
    connect(button(), &QAbstractButton::clicked, this, [this] {
        if (onClick)
            onClick();
    });
}

} // namespace velmora
