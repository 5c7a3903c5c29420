// Heavy metafile pages: files as costly as the reader accepts (16 MB, 250 000 records,
// 1 000 000 points, 100 000 characters), each shown once the way a page viewer shows
// it (read through the picture loader, drawn at screen scale), then let go the way a
// closing viewer lets go of it. One kind of page a run, so the peak memory is that
// page's own:
//   bench_heavypages KIND      (KIND: text, big-text, letters, rectangles, polylines, wide,
//                               dashed, polygons, outlines, bitmaps, photo, clips)
//   bench/heavypages.sh        (every kind, one table)
#include "platform/datapaths.h"
#include "platform/fonts.h"
#include "platform/pictureloader.h"
#include "wmfwriter/wmfwriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <unistd.h>

using namespace velmora;
using namespace velmora::wmf;

namespace {

const QRect kA4(0, 0, 11906, 16838); // twips

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024) : 0;
}

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

MetafileWriter a4()
{
    MetafileWriter w(kA4, 1440);
    w.mapFrameToWindow();
    w.setBackgroundMode(BackgroundMode::Transparent);
    return w;
}

QPoint anywhere(QRandomGenerator &random)
{
    return {random.bounded(kA4.width()), random.bounded(kA4.height())};
}

// 100 000 characters as 25 000 words, each in its own text record, in three fonts.
QByteArray text()
{
    MetafileWriter w = a4();
    QRandomGenerator random(1);
    const Font fonts[] = {{QStringLiteral("Arial"), -200},
                          {QStringLiteral("Times New Roman"), -240},
                          {QStringLiteral("Tahoma"), -180}};
    for (int i = 0; i < 25000; ++i) {
        if (i % 1000 == 0)
            w.selectNewFont(fonts[(i / 1000) % 3]);
        w.textOut(anywhere(random), QStringLiteral("word"));
    }
    return w.finish();
}

// 25 000 words in letters as high as the page allows.
QByteArray bigText()
{
    MetafileWriter w = a4();
    w.selectNewFont(Font{QStringLiteral("Times New Roman"), -20000});
    QRandomGenerator random(7);
    for (int i = 0; i < 25000; ++i)
        w.textOut(anywhere(random), QStringLiteral("WMWM"));
    return w.finish();
}

// 100 000 text records of one letter each.
QByteArray letters()
{
    MetafileWriter w = a4();
    w.selectNewFont(Font{QStringLiteral("Arial"), -200});
    for (int i = 0; i < 100000; ++i)
        w.textOut(QPoint(100 + (i % 400) * 29, 100 + (i / 400) * 66), QStringLiteral("x"));
    return w.finish();
}

// 249 000 outlined and filled rectangles.
QByteArray rectangles()
{
    MetafileWriter w = a4();
    w.selectNewPen(Qt::black, 0);
    w.selectNewBrush(QColor(200, 220, 255));
    QRandomGenerator random(2);
    for (int i = 0; i < 249000; ++i)
        w.rectangle(QRect(anywhere(random), QSize(200, 120)));
    return w.finish();
}

// 1 000 000 points in lines of 4000 points across the page.
QByteArray polylines(int penWidth, PenStyle style, bool filled)
{
    MetafileWriter w = a4();
    w.selectNewPen(QColor(0, 0, 128), penWidth, style);
    w.selectNewBrush(QColor(255, 200, 0));
    w.setPolyFillMode(FillMode::Winding);
    QRandomGenerator random(3);
    for (int line = 0; line < 250; ++line) {
        QPolygon points;
        for (int i = 0; i < 4000; ++i)
            points << anywhere(random);
        if (filled)
            w.polygon(points);
        else
            w.polyline(points);
    }
    return w.finish();
}

// 1 000 000 points as 250 detailed outlines (short edges, like a map's coasts), filled
// and outlined.
QByteArray outlines()
{
    MetafileWriter w = a4();
    w.selectNewPen(QColor(0, 0, 128), 0);
    w.selectNewBrush(QColor(120, 200, 120));
    QRandomGenerator random(8);
    for (int shape = 0; shape < 250; ++shape) {
        const QPoint centre = anywhere(random);
        QPolygon points;
        for (int i = 0; i < 4000; ++i) {
            const double angle = i * 2 * 3.14159265358979 / 4000;
            const double radius = 600 + random.bounded(60);
            points << centre + QPoint(int(radius * std::cos(angle)), int(radius * std::sin(angle)));
        }
        w.polygon(points);
    }
    return w.finish();
}

// Small bitmaps filling the file: 1 300 of 64 x 64 pixels, scattered and scaled up.
QByteArray bitmaps()
{
    MetafileWriter w = a4();
    QRandomGenerator random(4);
    QImage tile(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            tile.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    }
    for (int i = 0; i < 1300; ++i)
        w.stretchDib(QRect(anywhere(random), QSize(1500, 1500)), tile);
    return w.finish();
}

// One photograph as large as the file allows (2 300 x 2 300 pixels, 24 bits), over the page.
QByteArray photo()
{
    MetafileWriter w = a4();
    QImage image(2300, 2300, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = random.generate() | 0xFF000000;
    }
    w.stretchDib(kA4, image);
    return w.finish();
}

// 2 000 clipping records, each followed by a page of shapes.
QByteArray clips()
{
    MetafileWriter w = a4();
    w.selectNewPen(Qt::black, 30);
    w.selectNewBrush(QColor(0, 160, 0));
    QRandomGenerator random(6);
    for (int i = 0; i < 2000; ++i) {
        w.intersectClipRect(QRect(anywhere(random), QSize(4000, 4000)));
        for (int j = 0; j < 100; ++j)
            w.ellipse(QRect(anywhere(random), QSize(3000, 3000)));
    }
    return w.finish();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    registerScreenFonts();
    const std::map<QString, std::function<QByteArray()>> kinds{
        {QStringLiteral("text"), text},
        {QStringLiteral("letters"), letters},
        {QStringLiteral("big-text"), bigText},
        {QStringLiteral("rectangles"), rectangles},
        {QStringLiteral("polylines"), [] { return polylines(0, PenStyle::Solid, false); }},
        {QStringLiteral("wide"), [] { return polylines(60, PenStyle::Solid, false); }},
        {QStringLiteral("dashed"), [] { return polylines(0, PenStyle::Dash, false); }},
        {QStringLiteral("polygons"), [] { return polylines(0, PenStyle::Solid, true); }},
        {QStringLiteral("outlines"), outlines},
        {QStringLiteral("bitmaps"), bitmaps},
        {QStringLiteral("photo"), photo},
        {QStringLiteral("clips"), clips},
    };
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto found = kinds.find(kind);
    if (found == kinds.end()) {
        std::fprintf(stderr,
                     "usage: bench_heavypages KIND (text, big-text, letters, rectangles, polylines, wide, dashed, "
                     "polygons, outlines, bitmaps, photo, clips)\n");
        return 2;
    }
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.wmf")));
    const QByteArray bytes = found->second();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 1;
    file.close();

    const double before = residentMb();
    const DataPaths paths(dir.path());
    const PictureLoader loader(paths);
    QElapsedTimer timer;
    timer.start();
    PictureLoader::Result page = loader.load(QStringLiteral("page.wmf"));
    const double loadMs = double(timer.nsecsElapsed()) / 1e6;
    if (qEnvironmentVariableIsSet("HEAVY_DEBUG"))
        std::fprintf(stderr, "after load: %.0f MB resident, %.0f MB peak\n", residentMb(), peakMb());
    double showMs = 0;
    {
        const QSizeF pixels = page.picture.sizeTwips() / 15;
        QImage screen(qMax(1, int(pixels.width())), qMax(1, int(pixels.height())), QImage::Format_ARGB32_Premultiplied);
        screen.fill(Qt::white);
        timer.start();
        QPainter painter(&screen);
        page.picture.draw(painter, QPointF(0, 0), 15);
        painter.end();
        showMs = double(timer.nsecsElapsed()) / 1e6;
    }
    const double peak = peakMb();
    const QString problem = page.error;
    page = {};
    loader.release();
    const double after = residentMb();
    std::printf("%-11s %6.1f MB %8.0f %8.0f %8.0f %8.0f %8.0f %8.0f   %s\n", qPrintable(kind),
                double(bytes.size()) / (1024 * 1024), loadMs, showMs, loadMs + showMs, before, peak, after,
                qPrintable(problem));
    return 0;
}
