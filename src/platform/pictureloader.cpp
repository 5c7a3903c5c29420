#include "pictureloader.h"

#include "datapaths.h"
#include "metafile.h"

#include <QFile>
#include <QFileInfo>

#include <QImageReader>

namespace velmora {

namespace {
// Larger than any screen picture needs; a bigger header is a damaged or hostile file.
constexpr int kMaxSide = 8000;
} // namespace

PictureLoader::PictureLoader(const DataPaths &paths)
    : m_paths(paths)
{
}

PictureLoader::Result PictureLoader::load(const QString &asWritten) const
{
    const auto path = m_paths.existing(asWritten);
    if (!path)
        return {Picture(), QStringLiteral("File not found: %1").arg(asWritten)};
    const QFileInfo info(*path);
    const auto cached = m_cache.constFind(asWritten);
    if (cached != m_cache.constEnd() && cached->modified == info.lastModified() && cached->size == info.size())
        return {cached->picture, QString()};
    Result result = read(asWritten, *path);
    if (result.ok()) {
        constexpr qsizetype kMaxCached = 64;
        if (m_cache.size() >= kMaxCached)
            m_cache.clear();
        m_cache.insert(asWritten, {info.lastModified(), info.size(), result.picture});
    }
    return result;
}

PictureLoader::Result PictureLoader::read(const QString &asWritten, const QString &path) const
{
    if (path.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive)) {
        QFile file(path);
        // No page of ours comes near this; a bigger file is damaged or hostile.
        constexpr qint64 kMaxMetafileBytes = qint64(16) * 1024 * 1024;
        if (!file.open(QIODevice::ReadOnly))
            return {Picture(), QStringLiteral("Unreadable picture %1: %2").arg(asWritten, file.errorString())};
        if (file.size() > kMaxMetafileBytes)
            return {Picture(), QStringLiteral("Picture too large: %1").arg(asWritten)};
        const MetafileResult metafile = loadMetafile(file.readAll(), asWritten);
        return {metafile.picture, metafile.error};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
        return {Picture(), QStringLiteral("Picture too large: %1").arg(asWritten)};
    const QImage image = reader.read();
    if (image.isNull())
        return {Picture(), QStringLiteral("Unreadable picture %1: %2").arg(asWritten, reader.errorString())};
    return {Picture::fromImage(image, asWritten), QString()};
}

} // namespace velmora
