// Copies of the program changing one worksheet list at once, as classroom machines do
// on a shared network folder: each copy is this program started again, saving and
// deleting worksheets through Module1 (three saves to two deletes). Prints the changes
// per second, the titles lost (must be 0), the changes refused as Locked and how long
// a change took, its wait for the list's lock included.
//   sharedlist [--dir DIR] [--copies N] [--operations N] [--slow-sync MS]
// DIR (default: the current folder) should be on the disk to be measured; --slow-sync
// makes every rename and sync sleep MS milliseconds (default 4; 0 for the bare disk).
#include "support/listcopies.h"

#include "timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace velmora;
using namespace velmora::test;

namespace {

int option(const QStringList &args, const char *name, int fallback)
{
    const qsizetype at = args.indexOf(QLatin1String(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

CopyPlan planOf(int copies, int operations)
{
    const int saves = operations * 3 / 5;
    return CopyPlan{copies, saves, operations - saves};
}

QStringList readTitles(const QString &listPath)
{
    QFile file(listPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return {};
    const int count = lines.takeFirst().trimmed().toInt();
    return lines.mid(0, count);
}

// Starts the copies, each this program again with --copy, in `environment`.
std::vector<std::unique_ptr<QProcess>> startCopies(const QString &root, int copies, int operations,
                                                   const QProcessEnvironment &environment)
{
    std::vector<std::unique_ptr<QProcess>> children;
    for (int c = 1; c <= copies; ++c) {
        auto child = std::make_unique<QProcess>();
        child->setProcessEnvironment(environment);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--copy"), root, QString::number(c),
                                                               QString::number(copies), QString::number(operations)});
        children.push_back(std::move(child));
    }
    return children;
}

// What the copies did: the time of each change, the changes each made, and how many
// stopped at a Locked error or failed otherwise.
struct Outcome {
    std::vector<double> times;
    QList<int> done;
    int refused = 0;
    int failed = 0;
};

Outcome waitForCopies(std::vector<std::unique_ptr<QProcess>> &children)
{
    Outcome outcome;
    for (auto &child : children) {
        child->waitForFinished(-1);
        if (child->exitStatus() != QProcess::NormalExit || child->exitCode() == 4)
            ++outcome.failed;
        else if (child->exitCode() == 3)
            ++outcome.refused; // told on stderr
        outcome.done << 0;
        for (const QByteArray &line : child->readAllStandardOutput().split('\n')) {
            if (!line.isEmpty()) {
                outcome.times.push_back(line.toDouble());
                ++outcome.done.back();
            }
        }
    }
    return outcome;
}

// How many of `titles` are not among `others`.
int missingFrom(const QStringList &titles, const QStringList &others)
{
    const QSet<QString> present(others.begin(), others.end());
    int missing = 0;
    for (const QString &title : titles)
        missing += present.contains(title) ? 0 : 1;
    return missing;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A copy: --copy ROOT N COPIES OPERATIONS; prints the time of each change.
    if (argc == 6 && std::strcmp(argv[1], "--copy") == 0) {
        const CopyPlan plan = planOf(std::atoi(argv[4]), std::atoi(argv[5]));
        return runCopy(QString::fromLocal8Bit(argv[2]), plan, std::atoi(argv[3]),
                       [](double ms) { std::printf("%.3f\n", ms); });
    }

    const QStringList args = QCoreApplication::arguments();
    const int copies = option(args, "--copies", 8);
    const int operations = option(args, "--operations", 100);
    const int slowSync = option(args, "--slow-sync", 4);
    const qsizetype dirArg = args.indexOf(QStringLiteral("--dir"));
    QTemporaryDir dir((dirArg >= 0 && dirArg + 1 < args.size() ? args[dirArg + 1] : QDir::currentPath())
                      + QStringLiteral("/velmora-bench-XXXXXX"));
    QDir(dir.path()).mkpath(QStringLiteral("multiple"));
    const CopyPlan plan = planOf(copies, operations);
    const QString listPath = dir.filePath(QStringLiteral("multiple/track.txt"));
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly) || list.write(listFileOf(plan.startList())) < 0)
        return 2;
    list.close();

#ifdef VELMORA_SLOWSYNC_LIBRARY
    const QString shim = QStringLiteral(VELMORA_SLOWSYNC_LIBRARY);
#else
    const QString shim;
#endif
    const bool slowed = slowSync > 0 && QFile::exists(shim);

    QElapsedTimer wall;
    wall.start();
    std::vector<std::unique_ptr<QProcess>> children =
        startCopies(dir.path(), copies, operations,
                    slowed ? slowSyncEnvironment(shim, slowSync) : QProcessEnvironment::systemEnvironment());
    const Outcome outcome = waitForCopies(children);
    const double seconds = double(wall.nsecsElapsed()) / 1e9;

    const QStringList titles = readTitles(listPath);
    const QStringList expected = plan.listAfter(outcome.done);
    const int lost = missingFrom(expected, titles);
    const int back = missingFrom(titles, expected);

    std::printf("shared worksheet list: %d copies x %d changes (%d saves, %d deletes each), %s\n", copies, operations,
                plan.saves, plan.deletes,
                slowed ? qPrintable(QStringLiteral("renames and syncs slowed by %1 ms").arg(slowSync))
                       : "renames and syncs at the disk's own speed");
    const std::vector<double> &times = outcome.times;
    std::printf("%-34s %8.0f (%zu in %.2f s)\n", "changes per second", double(times.size()) / seconds, times.size(),
                seconds);
    std::printf("%-34s %8d\n", "saved titles lost (must be 0)", lost);
    std::printf("%-34s %8d\n", "deleted titles back (must be 0)", back);
    std::printf("%-34s %8d\n", "copies stopped by a Locked error", outcome.refused);
    std::printf("%-34s %8s %8s %8s %6s\n", "one change, wait included", "median", "p95", "max", "runs");
    bench::report("  (ms)", times);
    return lost == 0 && back == 0 && outcome.refused == 0 && outcome.failed == 0 ? 0 : 1;
}
