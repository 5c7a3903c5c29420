#pragma once

#include "toolkit/picture.h"

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

    Result load(const QString &asWritten) const;

private:
    const DataPaths &m_paths;
};

} // namespace velmora
