#pragma once

#include "toolkit/picture.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <future>
#include <optional>

namespace velmora {

class DataPaths;

// Loads the pictures the screens name (JPEG, GIF, BMP, WMF) from the data folder.
class PictureLoader
{
public:
    struct Result {
        Picture picture;
        QString error; // empty on success
        bool found = true; // false: no such file (otherwise it is there but unreadable)
        bool ok() const { return !picture.isNull(); }
    };

    // What the loader keeps of pictures no screen shows any more. Page pictures are
    // large: a few of them fill it.
    static constexpr qint64 kMaxCachedBytes = qint64(48) * 1024 * 1024;

    explicit PictureLoader(const DataPaths &paths);

    // Loads a picture; a file loaded before and unchanged since comes from memory. A
    // failure says whether the file was found at all.
    Result load(const QString &asWritten) const;
    // Starts reading and decoding a picture (not a metafile) on another thread, for the
    // load() of it that will come: start-up reads the title screen's picture meanwhile.
    void readAhead(const QString &asWritten) const;

    // Forgets every kept picture and hands the freed memory back to the system (a
    // viewer of large pages has closed).
    void release() const;
    // The memory the kept pictures take, estimated.
    qint64 cachedBytes() const { return m_cachedBytes; }

private:
    struct Cached {
        QDateTime modified;
        qint64 size;
        Picture picture;
        qint64 bytes; // in memory, estimated
        quint64 used; // when last asked for (a counter)
    };

    Result read(const QString &asWritten, const QString &path, qint64 &bytes) const;
    void keep(const QString &asWritten, Cached entry) const;

    struct Ahead {
        QString asWritten;
        QString path;
        qint64 bytes; // written by the reading thread, before its result is ready
        std::future<Result> result;
    };

    const DataPaths &m_paths;
    mutable std::optional<Ahead> m_ahead;
    // The screens show the same few dozen pictures over and over.
    mutable QHash<QString, Cached> m_cache;
    mutable qint64 m_cachedBytes = 0;
    mutable quint64 m_uses = 0;
};

} // namespace velmora
