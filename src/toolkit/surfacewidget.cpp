#include "surfacewidget.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace velmora {

namespace {

// A painted control as a screen reader sees it: its role and name, and the press
// action of a button.
class SurfaceAccessible : public QAccessibleWidget
{
public:
    explicit SurfaceAccessible(SurfaceWidget *widget)
        : QAccessibleWidget(widget, widget->accessibleRole)
    {
    }

    // Read each time: the control may become clickable after it was first asked about.
    QAccessible::Role role() const override { return surface()->accessibleRole; }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (surface()->press)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && surface()->press && widget()->isEnabled())
            surface()->press();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    SurfaceWidget *surface() const { return static_cast<SurfaceWidget *>(widget()); }
};

QAccessibleInterface *surfaceAccessible(const QString &, QObject *object)
{
    if (auto *surface = qobject_cast<SurfaceWidget *>(object))
        return new SurfaceAccessible(surface);
    return nullptr;
}

} // namespace

SurfaceWidget::SurfaceWidget(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(surfaceAccessible);
        return true;
    }();
    Q_UNUSED(installed);
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
