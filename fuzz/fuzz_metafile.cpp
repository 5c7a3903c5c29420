// Fuzz target over the metafile pages: any bytes go through the pre-scan and libwmf,
// and whatever picture comes out is drawn twice, once the way a screen re-shows it
// (the kept rendering) and once from the vectors (a scaled painter), as a damaged or
// hostile file in the data folder would be.
#include "platform/metafile.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Fonts need a GUI application: one for the whole run, ended at exit so that
// fontconfig's caches go with it.
QGuiApplication *application = nullptr;

void endApplication()
{
    delete application;
    application = nullptr;
}

void ensureApplication()
{
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char *argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
    std::atexit(endApplication);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const velmora::MetafileResult result = velmora::loadMetafile(bytes, QStringLiteral("wmf\\fuzz.wmf"));
    // A picture or a reason, never both, never neither.
    if (result.picture.isNull() == result.error.isEmpty())
        __builtin_trap();
    if (result.picture.isNull())
        return 0;
    const QSizeF twips = result.picture.sizeTwips();
    const double twipsPerUnit = std::max({twips.width() / 120, twips.height() / 90, 1.0});
    QImage image(120, 90, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    result.picture.draw(painter, QPointF(0, 0), twipsPerUnit);
    painter.scale(0.5, 0.5);
    result.picture.draw(painter, QPointF(0, 0), twipsPerUnit / 2);
    return 0;
}
