#include "datapaths.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

DataPaths::DataPaths(QString root)
    : m_root(QDir::cleanPath(QDir(root).absolutePath()))
{
}

namespace {
bool refusedComponent(const QString &part)
{
    return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")
           || part.contains(QLatin1Char(':')) || part.contains(QChar(0));
}
} // namespace

void DataPaths::redirect(const QString &folder, const QString &path)
{
    m_redirectedFolder = folder;
    m_redirectPath = QDir::cleanPath(QDir(path).absolutePath());
}

std::optional<QString> DataPaths::resolve(const QString &asWritten, bool lastMayBeNew) const
{
    QString name = asWritten;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QStringList parts = name.split(QLatin1Char('/'));
    if (std::any_of(parts.begin(), parts.end(), refusedComponent))
        return std::nullopt;
    if (!m_redirectedFolder.isEmpty() && parts.size() > 1
        && parts.first().compare(m_redirectedFolder, Qt::CaseInsensitive) == 0) {
        const QStringList rest = parts.mid(1);
        if (auto path = resolveIn(m_redirectPath, rest, false))
            return path;
        if (lastMayBeNew)
            return resolveIn(m_redirectPath, rest, true);
    }
    return resolveIn(m_root, parts, lastMayBeNew);
}

std::optional<QString> DataPaths::resolveIn(const QString &root, const QStringList &parts, bool lastMayBeNew) const
{
    QString path = root;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const bool last = i == parts.size() - 1;
        const QString exact = path + QLatin1Char('/') + part;
        if (QFileInfo::exists(exact) || (last && lastMayBeNew)) {
            // A file to be written keeps the exact name: "maths" must not replace "Maths".
            path = exact;
            continue;
        }
        const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const auto match = std::find_if(entries.begin(), entries.end(), [&part](const QString &entry) {
            return entry.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end())
            return std::nullopt;
        path += QLatin1Char('/') + *match;
    }
    if (!insideRoot(root, path))
        return std::nullopt;
    return path;
}

bool DataPaths::insideRoot(const QString &rootPath, const QString &path)
{
    // Follow links: the real place must still lie in the real data folder.
    const QString root = QFileInfo(rootPath).canonicalFilePath();
    QFileInfo info(path);
    const QString real = info.exists()
                             ? info.canonicalFilePath()
                             : QFileInfo(info.absolutePath()).canonicalFilePath() + QLatin1Char('/') + info.fileName();
    return !root.isEmpty() && real.startsWith(root + QLatin1Char('/'));
}

std::optional<QString> DataPaths::existing(const QString &asWritten) const
{
    return resolve(asWritten, false);
}

std::optional<QString> DataPaths::forWriting(const QString &asWritten) const
{
    return resolve(asWritten, true);
}

} // namespace velmora
