#pragma once

#include "control.h"

class QPainter;

namespace velmora {

// A frame: a filled area with an etched outline and an optional caption that holds
// other controls; their positions are relative to the frame.
class Frame : public Control
{
    Q_OBJECT

public:
    Frame(QWidget *parent, QString name, int index = -1);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

private:
    void paint(QPainter &painter);

    QString m_caption;
};

} // namespace velmora
