#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace velmora {

class DataPaths;

// A lock on one file that every copy of the program honours, copies on other machines
// sharing the folder over the network included. The lock is a file beside the guarded
// one ("track.txt.lock"), made with O_CREAT | O_EXCL, which network file systems carry
// out atomically (unlike flock and fcntl locks on some of them). It names its holder:
//
//     host=classroom-3            the machine's name
//     boot=808c71e0-...           the machine's boot id, where it has one
//     pid=4242                    the process
//     time=1718000000000          milliseconds since 1970, UTC
//     token=9f2c...               random, so a holder knows its own lock
//
// A copy that crashed leaves its lock behind. Such a lock is stale, and is broken, when
//   - it was taken on this machine (same host and boot id) by a process that is gone, or
//   - neither its recorded time nor the lock file's own time lies within `staleAge` of
//     our clock (both, so that one machine's wrong clock cannot break a live lock; a
//     file cut short by a crash has only its file time).
// Copies break stale locks one at a time, under a second lock file ("track.txt.lock.break"),
// so that a lock just broken by one copy and taken afresh by another is never removed
// by a third that still remembers the stale one.
//
// The lock is held for milliseconds; the stale age is generous so that a slow network
// never makes a live holder look dead.
class ListLock
{
public:
    struct Timing {
        std::chrono::milliseconds wait{5000}; // then Locked
        std::chrono::milliseconds retry{10}; // pause between tries, randomised up to twice this
        std::chrono::milliseconds staleAge{30000};
    };

    // Takes the lock of the file `asWritten` names, beside the place where that file is
    // written (a redirected folder has its own lock). Retries for at most timing.wait.
    // Throws FileError: Refused when the name cannot be written; NotFound, ReadOnly,
    // DiskFull or WriteFailed when the folder refuses the lock file; NotRegular when a
    // link, folder or pipe sits under the lock's name (never followed or waited on);
    // Locked, naming the holder, when another copy keeps the lock past the wait.
    ListLock(const DataPaths &paths, const QString &asWritten, Timing timing);
    ListLock(const DataPaths &paths, const QString &asWritten);
    // Releases the lock, unless another copy has broken it as stale meanwhile (its new
    // lock is then left alone).
    ~ListLock();
    ListLock(const ListLock &) = delete;
    ListLock &operator=(const ListLock &) = delete;

    QString lockPath() const { return m_lockPath; }

private:
    void take(const QString &asWritten);

    Timing m_timing;
    QString m_lockPath;
    QString m_breakPath;
    QByteArray m_text; // what our lock file holds
};

} // namespace velmora
