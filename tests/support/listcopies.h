#pragma once

// Copies of the program changing one worksheet list at once, as classroom machines do
// on a network share. Used by the tests of the list and its lock and by the list's
// benchmark, which start themselves again as child processes, one per copy.
#include "inertservices.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

namespace velmora::test {

// What each copy does: copy c saves "Copy c sheet 1" to "Copy c sheet <saves>" and
// deletes "Seed c-1" to "Seed c-<deletes>" (listed before the copies start), two saves
// to one delete, through the program's own Module1 and file slot.
struct CopyPlan {
    int copies = 4;
    int saves = 10;
    int deletes = 5;

    struct Change {
        bool save; // else a delete
        QString title;
    };
    // Copy c's changes in the order it makes them.
    QList<Change> changes(int copy) const;

    // The list before the copies start: a few titles nobody touches, then the seeds.
    QStringList startList() const { return listAfter(QList<int>(copies, 0)); }
    // The titles listed once each copy c has made its first done[c - 1] changes (all of
    // them when `done` is empty), in no particular order across copies.
    QStringList listAfter(const QList<int> &done = {}) const;
};

// The list file as the program writes it.
QByteArray listFileOf(const QStringList &titles);

// A data folder of its own (with "multiple") and the program's file layer over it,
// without screens.
struct DataFolder {
    DataFolder() { QDir(dir.path()).mkpath(QStringLiteral("multiple")); }
    // A file in the folder; an absolute path is taken as it is.
    QString path(const QString &relative) const { return QDir(dir.path()).filePath(relative); }
    // What the file holds; "<missing>" when there is none.
    QByteArray read(const QString &relative) const;
    // Writes the file, its time set `ageSeconds` back when not 0.
    void write(const QString &relative, const QByteArray &bytes, int ageSeconds = 0) const;
    // The files in "multiple", hidden ones included.
    QStringList files() const { return QDir(path(QStringLiteral("multiple"))).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    InertProgram program{dir.path()};
    Platform &platform = program.platform;
    Module1 &m = program.m;
};

// Runs copy `copy` of the plan on the data folder `root`, in this process. Returns 0
// when every save added its title and every delete removed one, 3 on a FileError
// (told on stderr), 4 when a list change did not happen. Reports the time of each
// change made, its wait for the list's lock included, in milliseconds.
int runCopy(const QString &root, const CopyPlan &plan, int copy, const std::function<void(double)> &timed = {});

// The environment of a child whose renames and syncs sleep `ms` milliseconds (the
// slow-sync library in LD_PRELOAD).
QProcessEnvironment slowSyncEnvironment(const QString &library, int ms);

} // namespace velmora::test
