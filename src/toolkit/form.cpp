#include "form.h"

#include "control.h"
#include "formregistry.h"
#include "image.h"
#include "timer.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace velmora {

Form::Form(QString formName)
{
    setObjectName(formName);
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

void Form::setMissingPicture(const QString &source)
{
    m_picture = Picture();
    m_missingPicture = source;
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
        drawMissingPicture(p, QRect(0, 0, 200, 150), m_missingPicture);
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

void Form::closeEvent(QCloseEvent *event)
{
    // Windows close only through unload; a request from the window manager is handed
    // to the screen, which decides as its own "Exit" would.
    event->ignore();
    if (m_registry && m_registry->isClosingAll()) {
        event->accept();
        return;
    }
    closeRequested();
}

} // namespace velmora
