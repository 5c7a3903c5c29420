#pragma once

#include <QString>
#include <QStringList>

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

    // Sends one top-level folder of the data folder elsewhere: names under `folder`
    // resolve in `path` (where files are written), and files not found there are read
    // from the data folder itself. Used for the worksheets when the installed folder
    // cannot be written.
    void redirect(const QString &folder, const QString &path);

    // The existing file or folder the name refers to, or nothing.
    std::optional<QString> existing(const QString &asWritten) const;
    // Where a file of that name is to be written: its folders must exist (matched
    // without regard to case); the file keeps its exact name, so a worksheet "maths"
    // never replaces "Maths". Nothing when the name is refused or a folder is missing.
    std::optional<QString> forWriting(const QString &asWritten) const;

private:
    std::optional<QString> resolve(const QString &asWritten, bool lastMayBeNew) const;
    std::optional<QString> resolveIn(const QString &root, const QStringList &parts, bool lastMayBeNew) const;
    static bool insideRoot(const QString &root, const QString &path);

    QString m_root;
    QString m_redirectedFolder;
    QString m_redirectPath;
};

} // namespace velmora
