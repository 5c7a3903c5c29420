#include "listcopies.h"

#include "platform/fileslot.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

namespace velmora::test {

QList<CopyPlan::Change> CopyPlan::changes(int copy) const
{
    QList<Change> list;
    int saved = 0;
    int deleted = 0;
    for (int step = 0; saved < saves || deleted < deletes; ++step) {
        if (saved < saves && (step % 3 != 2 || deleted == deletes))
            list.append({true, QStringLiteral("Copy %1 sheet %2").arg(copy).arg(++saved)});
        else
            list.append({false, QStringLiteral("Seed %1-%2").arg(copy).arg(++deleted)});
    }
    return list;
}

QStringList CopyPlan::listAfter(const QList<int> &done) const
{
    QStringList list = {QStringLiteral("Kept 1"), QStringLiteral("Kept 2"), QStringLiteral("Kept 3")}; // untouched
    for (int c = 1; c <= copies; ++c) {
        const QList<Change> all = changes(c);
        const qsizetype made = done.isEmpty() ? all.size() : done.value(c - 1);
        for (qsizetype k = 0; k < all.size(); ++k) {
            if (all[k].save == (k < made))
                list << all[k].title;
        }
    }
    return list;
}

QByteArray listFileOf(const QStringList &titles)
{
    QByteArray bytes = ' ' + QByteArray::number(titles.size()) + " \r\n";
    for (const QString &title : titles)
        bytes += title.toLatin1() + "\r\n";
    return bytes;
}

QByteArray DataFolder::read(const QString &relative) const
{
    QFile f(path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void DataFolder::write(const QString &relative, const QByteArray &bytes, int ageSeconds) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
    f.flush(); // before the time is set, or the write would set it again
    if (ageSeconds != 0)
        f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
}

int runCopy(const QString &root, const CopyPlan &plan, int copy, const std::function<void(double)> &timed)
{
    InertProgram program(root);
    Module1 &m = program.m;
    QElapsedTimer timer;
    try {
        for (const CopyPlan::Change &change : plan.changes(copy)) {
            timer.start();
            const bool changed =
                change.save ? m.appendToWorksheetList(change.title) : m.removeFromWorksheetList(change.title);
            if (!changed) {
                std::fprintf(stderr, "copy %d: %s did not change the list\n", copy, qPrintable(change.title));
                return 4;
            }
            if (timed)
                timed(double(timer.nsecsElapsed()) / 1e6);
        }
    } catch (const FileError &e) {
        program.platform.file1().abandon();
        std::fprintf(stderr, "copy %d: %s\n", copy, qPrintable(e.detail()));
        return 3;
    }
    return 0;
}

QProcessEnvironment slowSyncEnvironment(const QString &library, int ms)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString preload = env.value(QStringLiteral("LD_PRELOAD"));
    env.insert(QStringLiteral("LD_PRELOAD"), preload.isEmpty() ? library : library + QLatin1Char(':') + preload);
    env.insert(QStringLiteral("VELMORA_SLOW_SYNC_MS"), QString::number(ms));
    // Under AddressSanitizer a preloaded library ahead of its runtime is refused.
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
    return env;
}

} // namespace velmora::test
