#include "firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include <sys/resource.h>

namespace velmora {

FirstPaintProbe::FirstPaintProbe(long long startNs, QObject *parent)
    : QObject(parent)
    , m_startNs(startNs)
{
}

bool FirstPaintProbe::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Paint || m_done)
        return false;
    m_done = true;
    // Measured once the paint has been handed over, on the next turn of the loop.
    QTimer::singleShot(0, this, [this] {
        const auto now =
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        std::printf("first-paint-ms %.3f\n", double(now - m_startNs) / 1e6);
        // The processor time of every thread so far: what the start-up cost, whatever
        // else the machine was doing meanwhile.
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
        std::printf("first-paint-cpu-ms %.3f\n", ms(usage.ru_utime) + ms(usage.ru_stime));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return false;
}

} // namespace velmora
