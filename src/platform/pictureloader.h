#pragma once

#include "toolkit/picture.h"

#include <QDateTime>
#include <QHash>
#include <QString>

namespace velmora {

class DataPaths;

// Loads the pictures the screens name (JPEG, GIF, BMP) from the data folder.
class PictureLoader
{
public:
    struct Result {
        Picture picture;
        QString error; // empty on success
        bool ok() const { return !picture.isNull(); }
    };

    explicit PictureLoader(const DataPaths &paths);

    // Loads a picture; a file loaded before and unchanged since comes from memory.
    Result load(const QString &asWritten) const;

private:
    Result read(const QString &asWritten, const QString &path) const;

    struct Cached {
        QDateTime modified;
        qint64 size;
        Picture picture;
    };
    const DataPaths &m_paths;
    // The screens show the same few dozen pictures over and over.
    mutable QHash<QString, Cached> m_cache;
};

} // namespace velmora
