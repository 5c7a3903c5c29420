#include "pictureloader.h"

#include "datapaths.h"
#include "metafile.h"
#include "safefile.h"

#include <QBuffer>
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
    // No picture or page of ours comes near these sizes; a bigger file is damaged or
    // hostile. Only ordinary files are read: a pipe planted under a page's name would
    // otherwise hold the program forever.
    constexpr qint64 kMaxMetafileBytes = qint64(16) * 1024 * 1024;
    constexpr qint64 kMaxImageBytes = qint64(32) * 1024 * 1024;
    const bool metafile = path.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive);
    QByteArray bytes;
    try {
        bytes = readRegularFile(path, metafile ? kMaxMetafileBytes : kMaxImageBytes);
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::TooLarge)
            return {Picture(), QStringLiteral("Picture too large: %1").arg(asWritten)};
        return {Picture(), QStringLiteral("Unreadable picture %1: %2").arg(asWritten, error.detail())};
    }
    if (metafile) {
        const MetafileResult result = loadMetafile(bytes, asWritten);
        return {result.picture, result.error};
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
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
