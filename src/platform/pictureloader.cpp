#include "pictureloader.h"

#include "datapaths.h"

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
    QImageReader reader(*path);
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
