#include "listcopies.h"

#include "inertservices.h"
#include "module1/module1.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "toolkit/formregistry.h"

#include <QElapsedTimer>
#include <QHash>

#include <cstdio>

namespace velmora::test {

namespace {
const QStringList kUntouched = {QStringLiteral("Kept 1"), QStringLiteral("Kept 2"), QStringLiteral("Kept 3")};
} // namespace

QString CopyPlan::saved(int copy, int i)
{
    return QStringLiteral("Copy %1 sheet %2").arg(copy).arg(i);
}

QString CopyPlan::seeded(int copy, int i)
{
    return QStringLiteral("Seed %1-%2").arg(copy).arg(i);
}

QStringList CopyPlan::startList() const
{
    QStringList list = kUntouched;
    for (int c = 1; c <= copies; ++c) {
        for (int i = 1; i <= deletes; ++i)
            list << seeded(c, i);
    }
    return list;
}

QList<CopyPlan::Change> CopyPlan::changes(int copy) const
{
    QList<Change> list;
    int saved = 0;
    int deleted = 0;
    for (int step = 0; saved < saves || deleted < deletes; ++step) {
        if (saved < saves && (step % 3 != 2 || deleted == deletes))
            list.append({true, CopyPlan::saved(copy, ++saved)});
        else
            list.append({false, seeded(copy, ++deleted)});
    }
    return list;
}

QStringList CopyPlan::listAfter(const QList<int> &done) const
{
    QStringList list = kUntouched;
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

QString CopyPlan::problems(const QStringList &list, const QList<int> &finished) const
{
    // Where each title of the plan is: (copy, number, is a save).
    struct Place {
        int copy;
        int i;
        bool save;
    };
    QHash<QString, Place> plan;
    for (int c = 1; c <= copies; ++c) {
        for (int i = 1; i <= saves; ++i)
            plan.insert(saved(c, i), {c, i, true});
        for (int i = 1; i <= deletes; ++i)
            plan.insert(seeded(c, i), {c, i, false});
    }
    QStringList found;
    QHash<QString, int> seen;
    QList<QList<int>> savesOf(copies + 1);
    QList<QList<int>> seedsOf(copies + 1);
    for (const QString &title : list) {
        if (++seen[title] == 2)
            found << QStringLiteral("\"%1\" listed twice").arg(title);
        if (kUntouched.contains(title))
            continue;
        const auto place = plan.constFind(title);
        if (place == plan.constEnd()) {
            found << QStringLiteral("\"%1\" was never saved").arg(title);
            continue;
        }
        (place->save ? savesOf : seedsOf)[place->copy] << place->i;
    }
    for (const QString &title : kUntouched) {
        if (!seen.contains(title))
            found << QStringLiteral("\"%1\" lost").arg(title);
    }
    for (int c = 1; c <= copies; ++c) {
        // Saves are never deleted and deletes never undone: copy c's saves so far are
        // its first ones, in order, and its seeds left are its last ones.
        const QList<int> &got = savesOf[c];
        for (int k = 0; k < got.size(); ++k) {
            if (got[k] != k + 1) {
                found << QStringLiteral("copy %1: \"%2\" listed without \"%3\" before it")
                             .arg(c)
                             .arg(saved(c, got[k]), saved(c, k + 1));
                break;
            }
        }
        const QList<int> &left = seedsOf[c];
        for (int k = 0; k < left.size(); ++k) {
            if (left[k] != deletes - int(left.size()) + k + 1) {
                found << QStringLiteral("copy %1: a deleted seed is listed again (%2 left)").arg(c).arg(left.size());
                break;
            }
        }
        if (finished.contains(c) && (got.size() != saves || !left.isEmpty()))
            found << QStringLiteral("copy %1 finished: %2 of %3 saves listed, %4 seeds left")
                         .arg(c)
                         .arg(got.size())
                         .arg(saves)
                         .arg(left.size());
    }
    return found.join(QStringLiteral("; "));
}

QByteArray listFileOf(const QStringList &titles)
{
    QByteArray bytes = ' ' + QByteArray::number(titles.size()) + " \r\n";
    for (const QString &title : titles)
        bytes += title.toLatin1() + "\r\n";
    return bytes;
}

int runCopy(const QString &root, const CopyPlan &plan, int copy, const std::function<void(double)> &timed)
{
    InertProgram program(root);
    Module1 &m = program.m;
    Platform &platform = program.platform;
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
        platform.file1().abandon();
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
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), asan.isEmpty() ? QStringLiteral("verify_asan_link_order=0")
                                                              : asan + QStringLiteral(":verify_asan_link_order=0"));
    return env;
}

} // namespace velmora::test
