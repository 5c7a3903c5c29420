#pragma once

#include <QObject>

namespace velmora {

// For the start-up benchmark: installed on a window, it prints the time from
// `startNs` (the launcher's wall clock, nanoseconds since the epoch) to that window's
// first paint as "first-paint-ms N", and the processor time spent until then as
// "first-paint-cpu-ms N", then quits the event loop.
class FirstPaintProbe : public QObject
{
    Q_OBJECT

public:
    explicit FirstPaintProbe(long long startNs, QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    long long m_startNs;
    bool m_done = false;
};

} // namespace velmora
