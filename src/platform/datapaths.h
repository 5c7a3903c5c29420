#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Maps the file names the screens quote ("Images\globe.jpg", "multiple/" + title +
// ".txt") onto the data folder: backslashes become slashes, and a component whose
// exact name is missing is matched without regard to case ("images" finds "Images").
// A name never leads out of the data folder: absolute names, "." and ".." components,
// empty components and links pointing outside are refused.
class DataPaths
{
public:
    explicit DataPaths(QString root);

    QString root() const { return m_root; }

    // The existing file or folder the name refers to, or nothing.
    std::optional<QString> existing(const QString &asWritten) const;
    // Where a file of that name is to be written: its folders must exist (matched
    // without regard to case); the file keeps its exact name, so a worksheet "maths"
    // never replaces "Maths". Nothing when the name is refused or a folder is missing.
    std::optional<QString> forWriting(const QString &asWritten) const;

private:
    std::optional<QString> resolve(const QString &asWritten, bool lastMayBeNew) const;
    bool insideRoot(const QString &path) const;

    QString m_root;
};

} // namespace velmora
