// The long random walk: 20 seeds x 10 000 events through the running program, with the
// checks of tests/support/walker.h after every event.
//   bench_walker [SEEDS] [EVENTS]
#include "support/walker.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes (no raise, no keyboard grab) are expected here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg || type == QtCriticalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int seeds = args.size() > 1 ? args[1].toInt() : 20;
    const int events = args.size() > 2 ? args[2].toInt() : 10000;
    int failures = 0;
    std::printf("%-6s %8s %9s %6s %8s %8s  %s\n", "seed", "events", "restarts", "saves", "screens", "seconds",
                "result");
    for (int seed = 1; seed <= seeds; ++seed) {
        QElapsedTimer timer;
        timer.start();
        velmora::test::Walker walker{std::uint32_t(seed)};
        const QString broken = walker.run(events);
        failures += broken.isEmpty() ? 0 : 1;
        std::printf("%-6d %8d %9d %6d %8d %8.1f  %s\n", seed, events, walker.restarts(), walker.saves(),
                    walker.screensSeen(), double(timer.elapsed()) / 1000, broken.isEmpty() ? "ok" : "FAILED");
        if (!broken.isEmpty())
            std::printf("%s\n", qPrintable(broken));
        std::fflush(stdout);
    }
    std::printf("walks: %d, failures: %d\n", seeds, failures);
    return failures == 0 ? 0 : 1;
}
