#pragma once

#include "control.h"

#include <QFont>

class QCheckBox;

namespace velmora {

// A tick box with an optional caption.
class CheckBox : public Control
{
    Q_OBJECT

public:
    CheckBox(QWidget *parent, QString name, int index = -1);

    QString caption() const;
    void setCaption(const QString &caption);
    void setFont(const QFont &font);
    bool value() const;
    void setValue(bool ticked);

private:
    void coloursChanged() override;
    void geometryChanged() override;
    void fitCaption();
    // The click comes after the box has changed its value (mouse or keyboard).
    bool clicksFromPointer() const override { return false; }
    QCheckBox *box() const;

    QFont m_font;
};

} // namespace velmora
