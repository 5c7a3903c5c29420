#pragma once

#include "twips.h"

#include <QAccessible>
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;
class QMouseEvent;

namespace velmora {

// One control of a form: a name (and an index when it belongs to an indexed set), a
// geometry kept in twips relative to its container, visibility, enabled state and the
// pointer events of the conventions. The widget underneath is placed at twips / 15.
//
// Pointer routing: an enabled control takes every mouse event over it, handler or not
// (a move over a plain picture reaches nobody else); a disabled control takes none, so
// the event reaches whatever lies beneath, usually the bare form.
class Control : public QObject
{
    Q_OBJECT

public:
    ~Control() override;

    QString name() const { return m_name; }
    // Index within the control's indexed set, or -1 for a single control.
    int index() const { return m_index; }

    double left() const { return m_left; }
    double top() const { return m_top; }
    double width() const { return m_width; }
    double height() const { return m_height; }
    void setLeft(double twips);
    void setTop(double twips);
    void setWidth(double twips);
    void setHeight(double twips);
    void move(double left, double top);
    void setGeometry(double left, double top, double width, double height);

    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);

    // Background colour; what it paints depends on the kind of control.
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);
    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor &color);

    // Keyboard focus (controls that cannot take it ignore the call).
    void setFocus();
    bool hasFocus() const;

    QWidget *widget() const { return m_widget; }

    // What a screen reader calls the control, and what more it says of it (labels are
    // named by their caption).
    void setAccessibleName(const QString &name);
    void setAccessibleDescription(const QString &description);
    // The role of a painted control (native controls keep Qt's own).
    void setAccessibleRole(QAccessible::Role role);

    // Event handlers; one per event, as the screens define them.
    std::function<void()> onClick;
    std::function<void(const MouseArgs &)> onMouseDown;
    std::function<void(const MouseArgs &)> onMouseMove;
    std::function<void(const MouseArgs &)> onMouseUp;
    // The control received the keyboard focus.
    std::function<void()> onFocusIn;
    // The control received the focus from Tab or Shift+Tab.
    std::function<void()> onTabbedIn;
    // A key pressed on the focused control (Qt's key code); true when the handler used
    // it, so the control and the form do nothing more with it.
    std::function<bool(int key)> onKeyDown;

protected:
    Control(QWidget *widget, QString name, int index);

    // Called after the colours changed, so the widget can repaint or restyle itself.
    virtual void coloursChanged();
    // Called after the twips geometry changed; places the widget.
    virtual void geometryChanged();
    // Whether a left press and release over the control make a click. Native buttons
    // report their own clicks instead (keyboard included).
    virtual bool clicksFromPointer() const { return true; }
    // Whether Enter and Space on the focused control make a click (painted controls that
    // act like buttons; native buttons handle their keys themselves).
    virtual bool clicksFromKeyboard() const { return false; }

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MouseArgs mouseArgs(const QMouseEvent *event, int buttons) const;

    QPointer<QWidget> m_widget;
    QString m_name;
    int m_index;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    QColor m_backColor;
    QColor m_foreColor;
    bool m_leftPressed = false;
};

// Turns Qt's button and modifier sets into the conventions' bit sets.
int buttonBits(Qt::MouseButtons buttons);
int shiftBits(Qt::KeyboardModifiers modifiers);

} // namespace velmora
