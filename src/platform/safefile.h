#pragma once

#include "fileslot.h"

#include <QByteArray>
#include <QString>

namespace velmora {

// Reading and writing files in a folder that others can write into too (a school's
// network share): nothing is ever read from or written through a link, a folder, a
// pipe or a device planted under a data file's name, and no file is taken in whole
// when it is far larger than anything the program writes.

// What a failed create, write or rename says (errno), as the kind of a FileError.
FileError::Kind writeErrorKind(int error);

// The bytes of the ordinary file at `path`. What is checked is the file that was
// opened, not the name: a link (even to an ordinary file), a folder, a FIFO or a
// device is refused without waiting on it. Throws FileError: NotFound, NotRegular,
// TooLarge (more than `maxBytes`), or ReadFailed.
QByteArray readRegularFile(const QString &path, qint64 maxBytes);

// A file replaced all at once: the bytes go to a new temporary file of our own beside
// it (created exclusively, so no link can redirect them), which takes the name only
// when commit() has written and synced everything; rename() replaces whatever holds the
// name without following it. A name held by a link, a folder or a special file is
// refused before anything is written. Any failure leaves the old file as it was.
class AtomicFile
{
public:
    // Throws FileError (NotRegular, NotFound for a missing folder, ReadOnly, DiskFull,
    // WriteFailed). `shownName` is the name used in the error's detail.
    AtomicFile(const QString &path, const QString &shownName);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    void write(const QByteArray &bytes);
    // Writes, syncs and puts the file in place. Throws FileError; the old file stays.
    void commit();
    // Drops the temporary file; the old file stays as it was.
    void cancel();

private:
    [[noreturn]] void fail(int error, const QString &what);

    QString m_path;
    QString m_shownName;
    QString m_temporary;
    QByteArray m_bytes;
    int m_fd = -1;
};

} // namespace velmora
