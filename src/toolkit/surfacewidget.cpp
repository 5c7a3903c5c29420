#include "surfacewidget.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora {

SurfaceWidget::SurfaceWidget(QWidget *parent)
    : QWidget(parent)
{
}

void SurfaceWidget::paintEvent(QPaintEvent *)
{
    if (!painter)
        return;
    QPainter p(this);
    painter(p);
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace velmora
