// velmora-artwork: paints Velmora's bundled pictures and writes them into the
// data folder given on the command line, e.g.
//
//     velmora-artwork /path/to/velmora/data [frames folder]
//
// The pictures are deterministic (fixed random seeds), so rebuilding them
// gives the same result every time.
//
// The teacher's page shows its spinning logo as GIF frames, which Qt cannot
// write. When a frames folder is given, the frames are painted there as PNG
// files (kest0000.png ...) for tools/make-artwork.sh to turn into GIFs.

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
    int quality; // JPEG quality; not used by the other formats
    std::function<QImage()> paint;
    const char *format = "JPEG";
    // Optional check of the finished picture; it runs on the painted image
    // and again on the file read back from disk.
    std::function<bool(const QImage &, QStringList &)> check = {};
};

void printError(const QString &message)
{
    std::fprintf(stderr, "velmora-artwork: %s\n", qPrintable(message));
}

bool runCheck(const Picture &picture, const QImage &image, const QString &what)
{
    QStringList report;
    const bool ok = picture.check(image, report);
    for (const QString &line : report)
        std::printf("  %s [%s] %s\n", qPrintable(picture.relativePath), qPrintable(what), qPrintable(line));
    if (!ok)
        printError(QStringLiteral("%1: %2 failed its check").arg(picture.relativePath, what));
    return ok;
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

    if (picture.check && !runCheck(picture, image, QStringLiteral("painted")))
        return false;

    bool saved = false;
    QImage written;
    if (qstrcmp(picture.format, "JPEG") == 0) {
        // JPEG has no alpha channel; make sure nothing transparent sneaks through.
        written = image.convertToFormat(QImage::Format_RGB32);
        saved = written.save(filePath, "JPEG", picture.quality);
    } else if (qstrcmp(picture.format, "BMP") == 0) {
        // Plain 24-bit bitmap.
        written = image.convertToFormat(QImage::Format_RGB888);
        saved = written.save(filePath, "BMP");
    } else {
        written = image;
        saved = written.save(filePath, picture.format);
    }
    if (!saved) {
        printError(QStringLiteral("cannot write %1").arg(filePath));
        return false;
    }

    if (picture.check) {
        const QImage reread(filePath);
        if (reread.isNull()) {
            printError(QStringLiteral("cannot read back %1").arg(filePath));
            return false;
        }
        if (!runCheck(picture, reread, QStringLiteral("file")))
            return false;
    }

    std::printf("wrote %s (%d x %d)\n", qPrintable(QDir::toNativeSeparators(filePath)), written.width(),
                written.height());
    return true;
}

bool writeLogoFrames(const QDir &framesDir)
{
    if (!QDir().mkpath(framesDir.absolutePath())) {
        printError(QStringLiteral("cannot create frames folder %1").arg(framesDir.absolutePath()));
        return false;
    }
    for (int frame = 0; frame < artwork::kLogoFrameCount; ++frame) {
        const QImage image = artwork::paintLogoFrame(frame);
        if (image.width() != 120 || image.height() != 120) {
            printError(QStringLiteral("logo frame %1 has the wrong size").arg(frame));
            return false;
        }
        const QString filePath = framesDir.filePath(QStringLiteral("kest%1.png").arg(frame, 4, 10, QLatin1Char('0')));
        if (!image.convertToFormat(QImage::Format_RGB32).save(filePath, "PNG")) {
            printError(QStringLiteral("cannot write %1").arg(filePath));
            return false;
        }
    }
    std::printf("wrote %d logo frames (120 x 120) to %s\n", artwork::kLogoFrameCount,
                qPrintable(QDir::toNativeSeparators(framesDir.absolutePath())));
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
    if (args.size() < 2 || args.size() > 3 || args.at(1).isEmpty()) {
        std::fprintf(stderr, "usage: velmora-artwork <data folder> [logo frames folder]\n");
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
        {QStringLiteral("Images/globe.jpg"), 800, 600, 90, artwork::paintGlobeBackground},
        {QStringLiteral("Images/ardovin1.jpg"), 240, 330, 92, artwork::paintPortrait},
        // The screens ask for "images\ardovin1sm.jpg"; data paths are matched
        // without regard to case, so it lives beside the others.
        {QStringLiteral("Images/ardovin1sm.jpg"), 57, 41, 95, artwork::paintSmallPortrait},
        {QStringLiteral("Images/telescope.jpg"), 800, 520, 92, artwork::paintTelescopeDiagram, "JPEG",
         artwork::checkTelescopeDiagram},
        {QStringLiteral("logo/halvorn2.bmp"), 120, 89, 0, artwork::paintPublisherBitmap, "BMP"},
    };

    for (const Picture &picture : pictures) {
        if (!writePicture(dataDir, picture))
            return 1;
    }

    if (args.size() == 3) {
        if (!writeLogoFrames(QDir(args.at(2))))
            return 1;
    } else {
        std::printf("no frames folder given: logo animation frames not painted\n");
    }
    return 0;
}
