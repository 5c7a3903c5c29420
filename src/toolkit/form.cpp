#include "form.h"

#include "control.h"
#include "formregistry.h"
#include "image.h"
#include "keyboardorder.h"
#include "surfacewidget.h"
#include "timer.h"
#include "windowmanagerhints.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace velmora {

Form::Form(QString formName)
{
    setObjectName(formName);
    // The window's role names the screen to session managers and desktop tests.
    setWindowRole(formName);
    // A fixed-size window: a title, a minimise and a close button, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setMouseTracking(true);
    setBackColor(QColor(192, 192, 192));
    setFormSize(12000, 9000);
}

Form::~Form() = default;

void Form::setBackColor(const QColor &color)
{
    m_backColor = color;
    update();
}

void Form::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_missingPicture.clear();
    update();
}

void Form::setMissingPicture(const QString &source, bool unreadable)
{
    m_picture = Picture();
    m_missingPicture = source;
    m_pictureUnreadable = unreadable;
    update();
}

void Form::setLeft(double twips)
{
    m_left = twips;
    place();
}

void Form::setTop(double twips)
{
    m_top = twips;
    place();
}

void Form::setFormSize(double width, double height)
{
    m_width = width;
    m_height = height;
    setFixedSize(twipsToPixels(width), twipsToPixels(height));
}

void Form::place()
{
    move(twipsToPixels(m_left), twipsToPixels(m_top));
}

QWidget *Form::surfaceFor(Control *container)
{
    return container ? container->widget() : this;
}

Timer *Form::addTimer(const QString &name, int interval)
{
    auto *timer = new Timer(this, name);
    timer->setInterval(interval);
    m_timers.append(timer);
    return timer;
}

Control *Form::control(const QString &name, int index) const
{
    for (Control *c : m_controls) {
        if (c->name() == name && c->index() == index)
            return c;
    }
    return nullptr;
}

void Form::showForm()
{
    if (m_registry)
        m_registry->noteShown(*this);
    show();
    if (m_registry)
        m_registry->tellWindowManager(*this);
    raise();
    activateWindow();
}

void Form::unload()
{
    if (m_registry)
        m_registry->unload(*this);
}

void Form::closeRequested()
{
    unload();
}

void Form::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    if (!m_missingPicture.isEmpty())
        drawMissingPicture(p, QRect(0, 0, 200, 150), m_missingPicture, m_pictureUnreadable);
    else
        m_picture.draw(p, QPointF(0, 0), kTwipsPerPixel);
    m_painted = true;
}

namespace {
MouseArgs formMouseArgs(const QMouseEvent *event, int buttons)
{
    return MouseArgs{buttons, shiftBits(event->modifiers()), pixelsToTwips(event->position().x()),
                     pixelsToTwips(event->position().y())};
}
} // namespace

void Form::mousePressEvent(QMouseEvent *event)
{
    if (onMouseDown)
        onMouseDown(formMouseArgs(event, buttonBits(event->button())));
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove)
        onMouseMove(formMouseArgs(event, buttonBits(event->buttons())));
}

void Form::mouseReleaseEvent(QMouseEvent *event)
{
    if (onMouseUp)
        onMouseUp(formMouseArgs(event, buttonBits(event->button())));
}

void Form::escapePressed()
{
    if (m_registry)
        m_registry->closeRequested(*this);
    else
        closeRequested();
}

void Form::applyReadingOrder()
{
    if (!m_designedTabOrder)
        chainTabOrder(readingOrder(this));
}

void Form::keyPressEvent(QKeyEvent *event)
{
    // Keys no control took reach the form.
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        escapePressed();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        // Arrows travel between entries along their column or row (option buttons and
        // text boxes keep the arrows for themselves).
        if (qobject_cast<SurfaceWidget *>(focusWidget())) {
            if (QWidget *next = neighbourTowards(this, focusWidget(), event->key()))
                next->setFocus(Qt::TabFocusReason);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    // Windows close only through unload; a request from the window manager is handed
    // to the screen, which decides as its own "Exit" would.
    event->ignore();
    if (m_registry && m_registry->isClosingAll()) {
        event->accept();
        return;
    }
    if (m_registry)
        m_registry->closeRequested(*this);
    else
        closeRequested();
}

void Form::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_centred || m_placedWithFrame)
        return;
    // The window manager frames the window a moment after it is mapped; the frame's
    // size is known only then.
    m_framePolls = 0;
    m_frameTimer.start(25, this);
}

void Form::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_frameTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    constexpr int kPolls = 40; // a second: a bare X server never frames anything
    if (++m_framePolls > kPolls || !isVisible() || m_placedWithFrame) {
        m_frameTimer.stop();
        return;
    }
    const QRect frame = frameGeometry();
    if (frame.size() == size() || !screen())
        return;
    m_frameTimer.stop();
    m_placedWithFrame = true;
    const QRect free = freeScreenArea(*screen());
    const QPoint corner(free.left() + qMax(0, (free.width() - frame.width()) / 2),
                        free.top() + qMax(0, (free.height() - frame.height()) / 2));
    if (frame.topLeft() != corner)
        move(corner); // a window's position is its frame's
}

void Form::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_frameTimer.stop();
}

} // namespace velmora
