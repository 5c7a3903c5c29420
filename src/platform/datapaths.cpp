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

std::optional<QString> DataPaths::resolve(const QString &asWritten, bool lastMayBeNew) const
{
    QString name = asWritten;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return std::nullopt;
    const QStringList parts = name.split(QLatin1Char('/'));
    QString path = m_root;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (refusedComponent(part))
            return std::nullopt;
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
    if (!insideRoot(path))
        return std::nullopt;
    return path;
}

bool DataPaths::insideRoot(const QString &path) const
{
    // Follow links: the real place must still lie in the real data folder.
    const QString root = QFileInfo(m_root).canonicalFilePath();
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
