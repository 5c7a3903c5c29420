#pragma once

#include "control.h"

#include <QPointF>

class QPainter;

namespace velmora {

// A straight line between two points (twips in its container). Lines are drawings,
// not targets: the pointer over a line counts as being over what lies beneath.
class Line : public Control
{
    Q_OBJECT

public:
    Line(QWidget *parent, QString name, int index = -1);

    QPointF from() const { return m_from; }
    QPointF to() const { return m_to; }
    void setPoints(QPointF from, QPointF to);
    // Line width in pixels.
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int pixels);

private:
    void place();
    void paint(QPainter &painter);

    QPointF m_from;
    QPointF m_to;
    int m_lineWidth = 1;
};

// A rectangle outline (twips geometry like any control), drawn with a line of the
// fore colour; like a line it takes no pointer events.
class RectangleOutline : public Control
{
    Q_OBJECT

public:
    RectangleOutline(QWidget *parent, QString name, int index = -1);

    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int pixels);

private:
    void paint(QPainter &painter);

    int m_lineWidth = 1;
};

} // namespace velmora
