// Metafile page figures: an A4 page full of text (made with the metafile writer, as the
// content tool makes the program's pages) loaded and shown the first time, shown again,
// and printed to PDF.
//   bench_metafile [--runs N] [--save FILE.wmf]
#include "platform/metafile.h"
#include "platform/fonts.h"
#include "wmfwriter/wmfwriter.h"

#include "timing.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

using namespace velmora;
using namespace velmora::wmf;

namespace {

using bench::timeRuns;

// The labels of this table are longer than the others'.
void row(const char *what, std::vector<double> ms)
{
    bench::report(what, std::move(ms), 46);
}

// A teachers' guide page: a title, a framed panel of key facts, two columns of body
// text (some lines with per-character advances, as other writers make them), a few
// rules and a small picture.
QByteArray guidePage()
{
    const QRect a4(0, 0, 11906, 16838);
    MetafileWriter w(a4, 1440);
    w.mapFrameToWindow();
    w.setBackgroundMode(BackgroundMode::Transparent);
    w.selectNewPen(QColor(0, 0, 96), 15);
    w.selectNewBrush(QColor(230, 236, 255));
    w.rectangle(QRect(720, 1900, 10466, 2600));
    Font title{QStringLiteral("Times New Roman"), -480};
    title.weight = 700;
    w.selectNewFont(title);
    w.setTextColor(QColor(0, 0, 96));
    w.setTextAlign(Align::Center | Align::Top);
    w.textOut(QPoint(a4.width() / 2, 720), QStringLiteral("Ardovin Sevrani and the Northern Telescope"));
    w.setTextAlign(Align::Left | Align::Top);
    w.selectNewFont(Font{QStringLiteral("Tahoma"), -240});
    w.setTextColor(Qt::black);
    for (int i = 0; i < 8; ++i)
        w.textOut(QPoint(960, 2040 + i * 300),
                  QStringLiteral("Key fact %1: the lens was ground by hand over %2 winters.").arg(i + 1).arg(i + 2));
    const Font body{QStringLiteral("Tahoma"), -220};
    w.selectNewFont(body);
    const QString line = QStringLiteral("Pupils compare the sketches in the notebook with a modern photograph.");
    QList<int> advances;
    const QFontMetricsF metrics = [] {
        QFont f(QStringLiteral("Tahoma"));
        f.setPixelSize(220);
        return QFontMetricsF(f);
    }();
    for (QChar c : line)
        advances << int(std::lround(metrics.horizontalAdvance(c)));
    for (int i = 0; i < 38; ++i) {
        const int y = 4900 + i * 290;
        if (i % 3 == 0)
            w.extTextOut(QPoint(720, y), line, 0, {}, advances);
        else
            w.textOut(QPoint(720, y), QStringLiteral("%1. Read the passage aloud, then answer the questions on "
                                                     "the worksheet in full sentences.")
                                          .arg(i + 1));
    }
    w.selectNewPen(QColor(128, 128, 128), 10);
    for (int i = 0; i < 4; ++i) { // between every tenth line
        w.moveTo(QPoint(720, 4880 + i * 2900));
        w.lineTo(QPoint(11186, 4880 + i * 2900));
    }
    QImage picture(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 4, 160));
    }
    w.stretchDib(QRect(9000, 15200, 1440, 1440), picture);
    return w.finish();
}

Picture loaded(const QByteArray &bytes)
{
    const MetafileResult result = loadMetafile(bytes, QStringLiteral("wmf\\guide1.wmf"));
    if (!result.error.isEmpty())
        qFatal("%s", qPrintable(result.error));
    return result.picture;
}

void show(const Picture &picture, QPaintDevice &device, double twipsPerUnit)
{
    QPainter painter(&device);
    picture.draw(painter, QPointF(0, 0), twipsPerUnit);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    const qsizetype runsArg = args.indexOf(QStringLiteral("--runs"));
    const int runs = runsArg >= 0 && runsArg + 1 < args.size() ? std::max(1, args[runsArg + 1].toInt()) : 100;
    registerScreenFonts();

    const QByteArray bytes = guidePage();
    const qsizetype saveArg = args.indexOf(QStringLiteral("--save"));
    if (saveArg >= 0 && saveArg + 1 < args.size()) {
        QFile file(args[saveArg + 1]);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(args[saveArg + 1]));
    }
    // The whole page fitted into an 800 by 600 screen, and the page at the screen's own
    // scale (15 twips a pixel) as a viewer shows its top part.
    QElapsedTimer cold;
    cold.start();
    const Picture firstEver = loaded(bytes);
    {
        QPixmap pixmap(800, 600);
        pixmap.fill(Qt::white);
        show(firstEver, pixmap, std::max(firstEver.sizeTwips().width() / 800, firstEver.sizeTwips().height() / 600));
    }
    const double coldMs = double(cold.nsecsElapsed()) / 1e6;
    const QSizeF page = firstEver.sizeTwips();
    const double fitted = std::max(page.width() / 800, page.height() / 600);
    const double screen = 15;

    std::printf("A4 page of %lld bytes, %.0f x %.0f twips\n", static_cast<long long>(bytes.size()), page.width(),
                page.height());
    std::printf("%-46s %8s %8s %8s %6s\n", "metafile page (ms)", "median", "p95", "max", "runs");
    row("first show in a fresh process, fitted", {coldMs});
    row("first show, fitted into 800x600 (load + draw)", timeRuns(runs, [&] {
            QPixmap pixmap(800, 600);
            pixmap.fill(Qt::white);
            show(loaded(bytes), pixmap, fitted);
        }));
    row("first show, 800x600 at 15 twips a pixel", timeRuns(runs, [&] {
            QPixmap pixmap(800, 600);
            pixmap.fill(Qt::white);
            show(loaded(bytes), pixmap, screen);
        }));
    row("load only", timeRuns(runs, [&] { loaded(bytes); }));
    const Picture picture = loaded(bytes);
    {
        QPixmap first(800, 600);
        show(picture, first, fitted);
    }
    row("re-show, fitted (kept rendering)", timeRuns(runs, [&] {
            QPixmap pixmap(800, 600);
            pixmap.fill(Qt::white);
            show(picture, pixmap, fitted);
        }));
    row("re-show, fitted, from the vectors", timeRuns(runs, [&] {
            QPixmap pixmap(800, 600);
            pixmap.fill(Qt::white);
            QPainter painter(&pixmap);
            painter.scale(2, 2); // not a plain translation: no kept rendering
            picture.draw(painter, QPointF(0, 0), fitted * 2);
        }));
    row("print to PDF at 1440 dpi", timeRuns(std::max(1, runs / 10), [&] {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(1440);
            QPainter painter(&writer);
            picture.draw(painter, QPointF(0, 0), 1);
        }));
    return 0;
}
