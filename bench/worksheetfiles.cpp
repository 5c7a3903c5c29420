// Worksheet file figures: reading a 1000-title list, reading a worksheet, saving one
// (through to the disk), and saves killed at random moments.
//   worksheetfiles [--dir DIR] [--kills N]
// DIR (default: a new folder in the current directory) should be on the disk the
// program will use; /tmp may be memory.
#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "support/inertservices.h"
#include "toolkit/formregistry.h"

#include "timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

using bench::report;
using bench::timeRuns;

Worksheet sheetOf(const QString &title)
{
    Worksheet sheet;
    sheet.title = title;
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        sheet.questions[q] = QStringLiteral("Which planet is number %1 from the Sun, counting outwards?").arg(q + 1);
        for (int k = 0; k < 4; ++k)
            sheet.answers[q][k] = QStringLiteral("Answer %1, the %2 one").arg(k + 1).arg(q);
        sheet.correct[q] = QString::number(q % 4 + 1);
    }
    return sheet;
}

// The list file of the figures: 1000 titles.
void writeLongList(FileSlot &file)
{
    file.openForOutput(kListFile);
    file.writeLine(number(1000) + QLatin1Char(' '));
    for (int i = 1; i <= 1000; ++i)
        file.writeLine(QStringLiteral("Worksheet number %1 of the year").arg(i));
    file.close();
}

void saveWorksheet(FileSlot &file, const QString &sheetFile, const Worksheet &sheet)
{
    file.openForOutput(sheetFile);
    writeworksheet(file, sheet);
    file.close();
}

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Reading the list, reading a worksheet and saving one.
void timeReadsAndSaves(Module1 &m, FileSlot &file, const QString &sheetFile, const Worksheet &sheet)
{
    std::printf("%-34s %8s %8s %8s %6s\n", "worksheet files", "median", "p95", "max", "runs");
    report("read a 1000-title list (ms)", timeRuns(200, [&] { m.readtracklist(kListFile); }));
    report("read a worksheet (ms)", timeRuns(200, [&] {
               file.openForInput(sheetFile);
               m.loadquiz();
               file.close();
           }));
    report("save a worksheet, synced (ms)", timeRuns(100, [&] { saveWorksheet(file, sheetFile, sheet); }));
}

// Files no copy of the program writes: refused at once, without reading them in.
void timeRefusals(Module1 &m, FileSlot &file, const QString &folder)
{
    QFile huge(folder + QStringLiteral("/multiple/huge field.txt"));
    if (huge.open(QIODevice::WriteOnly)) {
        huge.write(QByteArray(10 * 1024 * 1024, 'x') + "\r\n");
        huge.close();
    }
    QFile list(folder + QStringLiteral("/multiple/huge list.txt"));
    if (list.open(QIODevice::WriteOnly)) {
        const QByteArray line = "Worksheet number 1234 of the year\r\n";
        list.write(" 1000 \r\n");
        for (qint64 written = 0; written < qint64(50) * 1024 * 1024; written += line.size())
            list.write(line);
        list.close();
    }
    const auto refused = [&](const QString &name) {
        return timeRuns(20, [&] {
            try {
                file.openForInput(name);
                m.loadquiz();
                file.close();
            } catch (const FileError &) {
                // refused as damaged, as intended
            }
        });
    };
    report("refuse a 10 MB field (ms)", refused(QStringLiteral("multiple/huge field.txt")));
    report("refuse a 50 MB list (ms)", refused(QStringLiteral("multiple/huge list.txt")));
}

// Saves killed at random moments, switching between `sheet` and `longer`: true when the
// file is the old or the new one every time.
bool killSaves(FileSlot &file, const QString &folder, const QString &sheetFile, const Worksheet &sheet,
               const Worksheet &longer, int kills)
{
    const QString path = folder + QLatin1Char('/') + sheetFile;
    const QByteArray bytesA = contentsOf(path);
    saveWorksheet(file, sheetFile, longer);
    const QByteArray bytesB = contentsOf(path);
    QRandomGenerator random(2026);
    int intact = 0;
    int strays = 0;
    for (int round = 0; round < kills; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i)
                saveWorksheet(file, sheetFile, i % 2 ? longer : sheet);
        }
        usleep(random.bounded(100u, 20000u));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const QByteArray now = contentsOf(path);
        if (now == bytesA || now == bytesB)
            ++intact;
        strays += removeStrayTemporaries(folder + QStringLiteral("/multiple"));
    }
    std::printf("saves killed at random moments: %d, file intact after %d, stray temporaries cleaned %d\n", kills,
                intact, strays);
    return intact == kills;
}

// Saves onto a full disk, each in a child process whose files may not grow past 1 KB:
// true when every one reports its failure and leaves the old file as it was.
bool saveOntoFullDisk(FileSlot &file, const QString &folder, const QString &sheetFile, const Worksheet &sheet)
{
    const QString path = folder + QLatin1Char('/') + sheetFile;
    const QByteArray old = contentsOf(path);
    int reported = 0;
    int kept = 0;
    constexpr int kFullDisk = 20;
    for (int round = 0; round < kFullDisk; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1024, 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            Worksheet bigger = sheet;
            for (QString &question : bigger.questions)
                question += QString(40 + round, QLatin1Char('x'));
            try {
                saveWorksheet(file, sheetFile, bigger);
            } catch (const FileError &) {
                _exit(3);
            }
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        reported += WIFEXITED(status) && WEXITSTATUS(status) == 3 ? 1 : 0;
        kept += contentsOf(path) == old ? 1 : 0;
    }
    std::printf("saves onto a full disk: %d, failure reported %d, old file byte-identical %d\n", kFullDisk, reported,
                kept);
    return reported == kFullDisk && kept == kFullDisk;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype dirArg = args.indexOf(QStringLiteral("--dir"));
    const qsizetype killsArg = args.indexOf(QStringLiteral("--kills"));
    const int kills = killsArg >= 0 && killsArg + 1 < args.size() ? args[killsArg + 1].toInt() : 300;
    QTemporaryDir dir((dirArg >= 0 && dirArg + 1 < args.size() ? args[dirArg + 1] : QDir::currentPath())
                      + QStringLiteral("/velmora-bench-XXXXXX"));
    QDir(dir.path()).mkpath(QStringLiteral("multiple"));

    test::InertMessageBoxes messages;
    test::InertDesktopShell shell;
    test::InertScreen screen;
    test::NoPrintTarget printer;
    Platform platform(dir.path(), messages, shell, screen, printer);
    FormRegistry forms;
    Module1 m(platform, forms);
    FileSlot &file = platform.file1();

    writeLongList(file);
    const Worksheet sheet = sheetOf(QStringLiteral("Planets, moons"));
    const QString sheetFile = worksheetFile(listTitle(sheet.title));
    saveWorksheet(file, sheetFile, sheet);

    timeReadsAndSaves(m, file, sheetFile, sheet);
    timeRefusals(m, file, dir.path());

    // Saves killed at random moments: the file is the old or the new one every time.
    Worksheet longer = sheet;
    longer.questions[9] += QStringLiteral(" (the longer version)");
    const bool killedSavesSafe = killSaves(file, dir.path(), sheetFile, sheet, longer, kills);
    const bool fullDiskSafe = saveOntoFullDisk(file, dir.path(), sheetFile, sheet);
    return killedSavesSafe && fullDiskSafe ? 0 : 1;
}
