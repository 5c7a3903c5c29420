// velmora-artwork: paints Velmora's bundled pictures and writes them into the
// data folder given on the command line, e.g.
//
//     velmora-artwork /path/to/velmora/data
//
// The pictures are deterministic (fixed random seeds), so rebuilding them
// gives the same result every time.

#include "artwork.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace {

struct Picture {
    QString relativePath;
    int width;
    int height;
    int quality;
    std::function<QImage()> paint;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "velmora-artwork: %s\n", qPrintable(message));
}

bool writePicture(const QDir &dataDir, const Picture &picture)
{
    const QString filePath = dataDir.filePath(picture.relativePath);
    const QString folder = QFileInfo(filePath).absolutePath();
    if (!QDir().mkpath(folder)) {
        printError(QStringLiteral("cannot create folder %1").arg(folder));
        return false;
    }

    const QImage image = picture.paint();
    if (image.isNull() || image.width() != picture.width || image.height() != picture.height) {
        printError(QStringLiteral("%1: painted image has the wrong size (%2 x %3, expected %4 x %5)")
                       .arg(picture.relativePath)
                       .arg(image.width())
                       .arg(image.height())
                       .arg(picture.width)
                       .arg(picture.height));
        return false;
    }

    // JPEG has no alpha channel; make sure nothing transparent sneaks through.
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    if (!opaque.save(filePath, "JPEG", picture.quality)) {
        printError(QStringLiteral("cannot write %1").arg(filePath));
        return false;
    }

    std::printf("wrote %s (%d x %d)\n", qPrintable(QDir::toNativeSeparators(filePath)), opaque.width(),
                opaque.height());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // No display is needed: paint on the offscreen platform unless the caller
    // asked for something else.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("velmora-artwork"));

    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2 || args.at(1).isEmpty()) {
        std::fprintf(stderr, "usage: velmora-artwork <data folder>\n");
        return 2;
    }

    const QDir dataDir(args.at(1));
    if (!QDir().mkpath(dataDir.absolutePath())) {
        printError(QStringLiteral("cannot create data folder %1").arg(dataDir.absolutePath()));
        return 1;
    }

    const Picture pictures[] = {
        {QStringLiteral("Images/quintaransm.jpg"), 320, 240, 90, artwork::paintTitlePicture},
        {QStringLiteral("Images/logo2.jpg"), 120, 100, 92, artwork::paintPublisherLogo},
    };

    for (const Picture &picture : pictures) {
        if (!writePicture(dataDir, picture))
            return 1;
    }
    return 0;
}
