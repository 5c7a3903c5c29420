#include "control.h"

#include "surfacewidget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

namespace velmora {

int buttonBits(Qt::MouseButtons buttons)
{
    int bits = 0;
    if (buttons & Qt::LeftButton)
        bits |= LeftButton;
    if (buttons & Qt::RightButton)
        bits |= RightButton;
    if (buttons & Qt::MiddleButton)
        bits |= MiddleButton;
    return bits;
}

int shiftBits(Qt::KeyboardModifiers modifiers)
{
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= ShiftKey;
    if (modifiers & Qt::ControlModifier)
        bits |= CtrlKey;
    if (modifiers & Qt::AltModifier)
        bits |= AltKey;
    return bits;
}

namespace {

// A control given the keyboard focus. A window coming to the front hands its first
// control the focus; a painted entry (one that takes clicks from the keyboard) refuses
// it, so nobody meets an unseen focus or a frame the mouse never asked for. Tab gives
// it back.
void takeFocus(Control &control, Qt::FocusReason reason, bool clicksFromKeyboard)
{
    if (clicksFromKeyboard && reason == Qt::ActiveWindowFocusReason) {
        control.widget()->clearFocus();
        return;
    }
    control.widget()->update();
    if (control.onFocusIn)
        control.onFocusIn();
    if (control.onTabbedIn && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
        control.onTabbedIn();
}

// A key pressed on the focused control that its own handler uses, or a push button:
// a push button takes Enter as well as Space, as on the buttons of a dialog.
bool keyUsed(Control &control, int key)
{
    if (control.onKeyDown && control.widget()->isEnabled() && control.onKeyDown(key))
        return true;
    if (auto *button = qobject_cast<QPushButton *>(control.widget());
        button && button->isEnabled() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        button->click();
        return true;
    }
    return false;
}

} // namespace

Control::Control(QWidget *widget, QString name, int index)
    : QObject(widget)
    , m_widget(widget)
    , m_name(std::move(name))
    , m_index(index)
{
    widget->setObjectName(m_index < 0 ? m_name : m_name + QLatin1Char('_') + QString::number(m_index));
    // Moves without a button must reach every control, or a disabled control would
    // swallow them instead of passing them to the form beneath.
    widget->setMouseTracking(true);
    // An enabled control keeps its pointer events from the form beneath, whether or
    // not its widget acts on them.
    widget->setAttribute(Qt::WA_NoMousePropagation, true);
    widget->installEventFilter(this);
}

Control::~Control() = default;

void Control::setLeft(double twips)
{
    setGeometry(twips, m_top, m_width, m_height);
}

void Control::setTop(double twips)
{
    setGeometry(m_left, twips, m_width, m_height);
}

void Control::setWidth(double twips)
{
    setGeometry(m_left, m_top, twips, m_height);
}

void Control::setHeight(double twips)
{
    setGeometry(m_left, m_top, m_width, twips);
}

void Control::move(double left, double top)
{
    setGeometry(left, top, m_width, m_height);
}

void Control::setGeometry(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = qMax(0.0, width);
    m_height = qMax(0.0, height);
    geometryChanged();
}

void Control::geometryChanged()
{
    if (!m_widget)
        return;
    // Round the edges, not the size, so neighbouring controls meet without gaps.
    const int x = twipsToPixels(m_left);
    const int y = twipsToPixels(m_top);
    const int w = twipsToPixels(m_left + m_width) - x;
    const int h = twipsToPixels(m_top + m_height) - y;
    m_widget->setGeometry(x, y, w, h);
}

bool Control::visible() const
{
    return m_widget && !m_widget->isHidden();
}

void Control::setVisible(bool visible)
{
    if (m_widget)
        m_widget->setVisible(visible);
}

bool Control::enabled() const
{
    return m_widget && m_widget->isEnabled();
}

void Control::setEnabled(bool enabled)
{
    if (m_widget) {
        m_widget->setEnabled(enabled);
        m_widget->setAttribute(Qt::WA_NoMousePropagation, enabled);
        m_widget->update();
    }
}

void Control::setBackColor(const QColor &color)
{
    m_backColor = color;
    coloursChanged();
}

void Control::setForeColor(const QColor &color)
{
    m_foreColor = color;
    coloursChanged();
}

void Control::coloursChanged()
{
    if (m_widget)
        m_widget->update();
}

void Control::setFocus()
{
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

void Control::setAccessibleName(const QString &name)
{
    if (m_widget)
        m_widget->setAccessibleName(name);
}

void Control::setAccessibleDescription(const QString &description)
{
    if (m_widget)
        m_widget->setAccessibleDescription(description);
}

void Control::setAccessibleRole(QAccessible::Role role)
{
    if (auto *surface = qobject_cast<SurfaceWidget *>(m_widget.data()))
        surface->accessibleRole = role;
}

bool Control::hasFocus() const
{
    return m_widget && m_widget->hasFocus();
}

MouseArgs Control::mouseArgs(const QMouseEvent *event, int buttons) const
{
    return MouseArgs{buttons, shiftBits(event->modifiers()), pixelsToTwips(event->position().x()),
                     pixelsToTwips(event->position().y())};
}

bool Control::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        takeFocus(*this, static_cast<QFocusEvent *>(event)->reason(), clicksFromKeyboard());
        return false;
    case QEvent::FocusOut:
        m_widget->update();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (keyUsed(*this, key))
            return true;
        // Enter and Space click a painted control that acts like a button.
        const bool activates = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        if (!activates || !clicksFromKeyboard() || !m_widget->isEnabled())
            return false;
        if (onClick)
            onClick();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        break;
    default:
        return false;
    }
    // A disabled control takes no pointer events: Qt passes them on to the parent.
    if (!m_widget->isEnabled())
        return false;

    // A handler may unload the form, which deletes this control later; keep a guard.
    QPointer<Control> self(this);
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is a press but never a click.
        m_leftPressed = event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton;
        if (onMouseDown)
            onMouseDown(mouseArgs(mouse, buttonBits(mouse->button())));
        break;
    case QEvent::MouseMove:
        if (onMouseMove)
            onMouseMove(mouseArgs(mouse, buttonBits(mouse->buttons())));
        break;
    case QEvent::MouseButtonRelease: {
        const bool click = m_leftPressed && mouse->button() == Qt::LeftButton
                           && m_widget->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            m_leftPressed = false;
        if (onMouseUp)
            onMouseUp(mouseArgs(mouse, buttonBits(mouse->button())));
        if (self && click && onClick && clicksFromPointer())
            onClick();
        break;
    }
    default:
        break;
    }
    // Native widgets (buttons, boxes) still need the event to work.
    return false;
}

} // namespace velmora
