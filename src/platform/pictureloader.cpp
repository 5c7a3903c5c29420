#include "pictureloader.h"

#include "datapaths.h"
#include "metafile.h"
#include "safefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QWidget> // for the toolkit header

#include <system_error>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace velmora {

namespace {
// Larger than any screen picture needs; a bigger header is a damaged or hostile file.
constexpr int kMaxSide = 8000;

// glibc keeps freed memory for the process; after a large page goes it is handed back.
void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// The image format whose signature opens `bytes` ("jpeg", "gif", "bmp", "png"), or nothing.
QByteArray formatByItsFirstBytes(const QByteArray &bytes)
{
    struct Signature {
        QByteArrayView start;
        const char *format;
    };
    static constexpr Signature kSignatures[] = {{"\xFF\xD8\xFF", "jpeg"},
                                                {"GIF8", "gif"},
                                                {"BM", "bmp"},
                                                {"\x89PNG", "png"}};
    for (const Signature &signature : kSignatures) {
        if (bytes.startsWith(signature.start))
            return signature.format;
    }
    return {};
}

} // namespace

PictureLoader::PictureLoader(const DataPaths &paths)
    : m_paths(paths)
{
}

PictureLoader::Result PictureLoader::load(const QString &asWritten) const
{
    const auto path = m_paths.existing(asWritten);
    if (!path) {
        return {Picture(), QStringLiteral("File not found: %1").arg(asWritten), false};
    }
    const QFileInfo info(*path);
    if (m_ahead && m_ahead->asWritten == asWritten && m_ahead->path == *path) {
        Result result = m_ahead->result.get();
        const qint64 bytes = m_ahead->bytes;
        m_ahead.reset();
        if (result.ok())
            keep(asWritten, {info.lastModified(), info.size(), result.picture, bytes, ++m_uses});
        return result;
    }
    const auto cached = m_cache.find(asWritten);
    if (cached != m_cache.end() && cached->modified == info.lastModified() && cached->size == info.size()) {
        cached->used = ++m_uses;
        return {cached->picture, QString()};
    }
    qint64 bytes = 0;
    Result result = read(asWritten, *path, bytes);
    if (result.ok())
        keep(asWritten, {info.lastModified(), info.size(), result.picture, bytes, ++m_uses});
    return result;
}

void PictureLoader::readAhead(const QString &asWritten) const
{
    const auto path = m_paths.existing(asWritten);
    if (!path || path->endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive))
        return;
    m_ahead.emplace();
    m_ahead->asWritten = asWritten;
    m_ahead->path = *path;
    m_ahead->bytes = 0;
    try {
        m_ahead->result = std::async(std::launch::async, [this, asWritten, path = *path, &bytes = m_ahead->bytes] {
            return read(asWritten, path, bytes);
        });
    } catch (const std::system_error &) {
        m_ahead.reset(); // no thread to be had: the picture is read when it is shown
    }
}

// Keeps a picture, forgetting the least recently used ones until all fit. One larger
// than everything the loader may keep is not kept.
void PictureLoader::keep(const QString &asWritten, Cached entry) const
{
    if (const auto old = m_cache.constFind(asWritten); old != m_cache.constEnd()) {
        m_cachedBytes -= old->bytes;
        m_cache.erase(old);
    }
    if (entry.bytes > kMaxCachedBytes)
        return;
    while (m_cachedBytes + entry.bytes > kMaxCachedBytes && !m_cache.isEmpty()) {
        auto oldest = m_cache.begin();
        for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
            if (it->used < oldest->used)
                oldest = it;
        }
        m_cachedBytes -= oldest->bytes;
        m_cache.erase(oldest);
    }
    m_cachedBytes += entry.bytes;
    m_cache.insert(asWritten, entry);
}

void PictureLoader::release() const
{
    m_cache.clear();
    m_cache.squeeze();
    m_cachedBytes = 0;
    returnFreedMemory();
}

PictureLoader::Result PictureLoader::read(const QString &asWritten, const QString &path, qint64 &bytes) const
{
    // No picture or page of ours comes near these sizes; a bigger file is damaged or
    // hostile. Only ordinary files are read: a pipe planted under a page's name would
    // otherwise hold the program forever.
    constexpr qint64 kMaxMetafileBytes = qint64(16) * 1024 * 1024;
    constexpr qint64 kMaxImageBytes = qint64(32) * 1024 * 1024;
    const bool metafile = path.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive);
    QByteArray contents;
    try {
        contents = readRegularFile(path, metafile ? kMaxMetafileBytes : kMaxImageBytes);
    } catch (const FileError &error) {
        if (error.kind() == FileError::Kind::TooLarge)
            return {Picture(), QStringLiteral("Picture too large: %1").arg(asWritten)};
        return {Picture(), QStringLiteral("Unreadable picture %1: %2").arg(asWritten, error.detail())};
    }
    if (metafile) {
        const MetafileResult result = loadMetafile(contents, asWritten);
        bytes = result.bytes;
        return {result.picture, result.error};
    }
    QBuffer buffer(&contents);
    QImageReader reader(&buffer);
    // The format told by the first bytes is tried first; only a file that starts like
    // none of them has every image plugin loaded to be asked (which costs start-up time).
    const QByteArray format = formatByItsFirstBytes(contents);
    if (format.isEmpty())
        reader.setDecideFormatFromContent(true);
    else
        reader.setFormat(format);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide))
        return {Picture(), QStringLiteral("Picture too large: %1").arg(asWritten)};
    const QImage image = reader.read();
    if (image.isNull())
        return {Picture(), QStringLiteral("Unreadable picture %1: %2").arg(asWritten, reader.errorString())};
    bytes = image.sizeInBytes();
    return {Picture::fromImage(image, asWritten), QString()};
}

} // namespace velmora
