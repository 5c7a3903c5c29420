#include "timer.h"

#include <QTimer>

namespace velmora {

Timer::Timer(QObject *parent, QString name)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    setObjectName(name);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &Timer::fire);
}

int Timer::interval() const
{
    return m_timer->interval();
}

void Timer::setInterval(int milliseconds)
{
    m_timer->setInterval(qMax(0, milliseconds));
}

bool Timer::enabled() const
{
    return m_enabled;
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    // An interval of 0 means a timer that never ticks, not one that ticks at once.
    if (enabled && m_timer->interval() > 0)
        m_timer->start();
    else
        m_timer->stop();
}

void Timer::fire()
{
    if (onTick)
        onTick();
}

} // namespace velmora
