#pragma once

#include <QAccessible>
#include <QWidget>

#include <functional>

namespace velmora {

// A plain widget that paints through a callback and accepts the pointer events over
// it, so that a painted control captures the pointer from press to release exactly
// like a native one.
class SurfaceWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SurfaceWidget(QWidget *parent);

    std::function<void(QPainter &)> painter;
    // What a screen reader is told: the role, and (for a button) how to press it. The
    // name is the widget's accessible name.
    QAccessible::Role accessibleRole = QAccessible::StaticText;
    std::function<void()> press;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace velmora
