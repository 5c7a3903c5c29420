#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QTimer;

namespace velmora {

// A timer of a form: an interval in milliseconds, switched on and off, ticking on the
// user-interface thread. Tests call fire() to run a tick without waiting.
class Timer : public QObject
{
    Q_OBJECT

public:
    Timer(QObject *parent, QString name);

    QString name() const { return objectName(); }
    int interval() const;
    void setInterval(int milliseconds);
    bool enabled() const;
    void setEnabled(bool enabled);

    // Runs the tick handler now, as if the interval had passed.
    void fire();

    std::function<void()> onTick;

private:
    QTimer *m_timer;
    bool m_enabled = false;
};

} // namespace velmora
