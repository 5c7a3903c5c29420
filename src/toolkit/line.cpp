#include "line.h"

#include "surfacewidget.h"

#include <QPainter>

namespace velmora {

Line::Line(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    static_cast<SurfaceWidget *>(widget())->painter = [this](QPainter &p) { paint(p); };
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColor(QColor(0, 0, 0));
}

void Line::setPoints(QPointF from, QPointF to)
{
    m_from = from;
    m_to = to;
    place();
}

void Line::setLineWidth(int pixels)
{
    m_lineWidth = qMax(1, pixels);
    place();
}

void Line::place()
{
    // The widget spans the line's bounding box, widened by the pen on every side.
    const double pad = pixelsToTwips(m_lineWidth);
    const double l = qMin(m_from.x(), m_to.x()) - pad;
    const double t = qMin(m_from.y(), m_to.y()) - pad;
    setGeometry(l, t, qAbs(m_to.x() - m_from.x()) + 2 * pad, qAbs(m_to.y() - m_from.y()) + 2 * pad);
}

void Line::paint(QPainter &p)
{
    const QPointF origin(twipsToPixels(left()), twipsToPixels(top()));
    const QPointF a = QPointF(m_from.x() / kTwipsPerPixel, m_from.y() / kTwipsPerPixel) - origin;
    const QPointF b = QPointF(m_to.x() / kTwipsPerPixel, m_to.y() / kTwipsPerPixel) - origin;
    p.setPen(QPen(foreColor(), m_lineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

RectangleOutline::RectangleOutline(QWidget *parent, QString name, int index)
    : Control(new SurfaceWidget(parent), std::move(name), index)
{
    static_cast<SurfaceWidget *>(widget())->painter = [this](QPainter &p) { paint(p); };
    widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    setForeColor(QColor(0, 0, 0));
}

void RectangleOutline::setLineWidth(int pixels)
{
    m_lineWidth = qMax(1, pixels);
    widget()->update();
}

void RectangleOutline::paint(QPainter &p)
{
    const double half = m_lineWidth / 2.0;
    p.setPen(QPen(foreColor(), m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QRect r = widget()->rect();
    p.drawRect(QRectF(half, half, r.width() - m_lineWidth, r.height() - m_lineWidth));
}

} // namespace velmora
