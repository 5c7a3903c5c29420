#pragma once

// Copies of the program changing one worksheet list at once, as classroom machines do
// on a network share. Used by the test of the list's lock and by its benchmark, which
// both start themselves again as child processes, one per copy.
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmora::test {

// What each copy does: copy c saves "Copy c sheet 1" to "Copy c sheet <saves>" and
// deletes "Seed c-1" to "Seed c-<deletes>" (listed before the copies start), two saves
// to one delete, through the program's own Module1 and file slot.
struct CopyPlan {
    int copies = 4;
    int saves = 10;
    int deletes = 5;

    static QString saved(int copy, int i);
    static QString seeded(int copy, int i);

    struct Change {
        bool save; // else a delete
        QString title;
    };
    // Copy c's changes in the order it makes them.
    QList<Change> changes(int copy) const;

    // The list before the copies start: a few titles nobody touches, then the seeds.
    QStringList startList() const;
    // The titles listed once each copy c has made its first done[c - 1] changes (all of
    // them when `done` is empty), in no particular order across copies.
    QStringList listAfter(const QList<int> &done = {}) const;

    // What is wrong with a list read while the copies work (empty when nothing is):
    // titles outside the plan or listed twice; a copy's saves that are not its first
    // ones in order (a save was lost); a copy's remaining seeds that are not its last
    // ones (a deleted title came back). For the copies in `finished`, also every save
    // missing or seed left.
    QString problems(const QStringList &list, const QList<int> &finished) const;
};

// The list file as the program writes it.
QByteArray listFileOf(const QStringList &titles);

// Runs copy `copy` of the plan on the data folder `root`, in this process. Returns 0
// when every save added its title and every delete removed one, 3 on a FileError
// (told on stderr), 4 when a list change did not happen. Reports the time of each
// change made, its wait for the list's lock included, in milliseconds.
int runCopy(const QString &root, const CopyPlan &plan, int copy, const std::function<void(double)> &timed = {});

// The environment of a child whose renames and syncs sleep `ms` milliseconds (the
// slow-sync library in LD_PRELOAD).
QProcessEnvironment slowSyncEnvironment(const QString &library, int ms);

} // namespace velmora::test
