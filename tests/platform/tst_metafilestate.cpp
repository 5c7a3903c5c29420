// The metafile reader's own device context (what SaveDC keeps, pens from their
// records), its character sets, the cost budget of a page, and the picture loader's
// bounded memory.
#include "platform/datapaths.h"
#include "platform/fonts.h"
#include "platform/metafile.h"
#include "platform/metafile/wmfcharsets.h"
#include "platform/pictureloader.h"
#include "support/pictureimages.h"
#include "toolkit/image.h"
#include "wmfwriter/wmfwriter.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace velmora;
using namespace velmora::wmf;

namespace {

using Build = std::function<QByteArray()>;

const QColor kWhite(255, 255, 255);
const QColor kRed(220, 0, 0);
const QColor kBlue(0, 0, 200);
const QColor kYellow(255, 255, 0);

struct Probe {
    QPointF twips;
    QColor color;
};

Picture load(const QByteArray &bytes)
{
    const MetafileResult result = loadMetafile(bytes, QStringLiteral("test.wmf"));
    if (!result.error.isEmpty())
        qWarning("%s", qPrintable(result.error));
    return result.picture;
}

using test::nearColour;
using test::renderOnWhite;

// A page two inches by one, 1440 units to the inch, the window equal to the frame.
MetafileWriter page()
{
    MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
    w.mapFrameToWindow();
    return w;
}

// The rows a dark line covers down the column at x (pixels), anti-aliased edges by
// their share.
double thickness(const QImage &image, int x)
{
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum += (255 - image.pixelColor(x, y).red()) / 255.0;
    return sum;
}

} // namespace

class TestMetafileState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void savedState_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<QList<Probe>>("probes");
        // Text at its baseline, in a set colour, with a transparent background, over a
        // blue panel: as the writer set it before saving, so inside the saved state.
        const auto textInSavedState = [](bool restoreFirst) {
            MetafileWriter w = page();
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kBlue);
            w.rectangle(QRect(0, 0, 2880, 1440));
            w.setTextAlign(Align::Left | Align::Baseline);
            w.setBackgroundMode(BackgroundMode::Transparent);
            w.setTextColor(kYellow);
            w.selectNewFont(Font{QStringLiteral("Arial"), -720});
            w.saveDC();
            if (restoreFirst) { // what a restore brings back is the state saved
                w.setTextAlign(Align::Left | Align::Top);
                w.setBackgroundMode(BackgroundMode::Opaque);
                w.setTextColor(kRed);
                w.restoreDC();
            }
            w.saveDC();
            w.textOut(QPoint(100, 900), QStringLiteral("HHHH"));
            w.restoreDC();
            return w.finish();
        };
        // Above the baseline at 900 the letters are yellow, below it the panel is
        // blue; opaque text would have a white cell, top-aligned text would hang below.
        const QList<Probe> baselineText{{{190, 600}, kYellow},
                                        {{190, 1100}, kBlue},
                                        {{150, 250}, kBlue},
                                        {{1200, 1000}, kBlue}};
        QTest::newRow("text inside SaveDC") << Build([=] { return textInSavedState(false); }) << baselineText;
        QTest::newRow("text after RestoreDC") << Build([=] { return textInSavedState(true); }) << baselineText;
        QTest::newRow("winding fill inside SaveDC") << Build([] {
            MetafileWriter w = page();
            w.setPolyFillMode(FillMode::Winding);
            w.saveDC();
            w.selectNewPen(Qt::black, 0, PenStyle::Null);
            w.selectNewBrush(kRed);
            // Two overlapping squares in one polygon, both drawn the same way round:
            // winding fills where they overlap, alternate leaves it empty.
            w.polyPolygon({QPolygon(QRect(100, 100, 800, 800)), QPolygon(QRect(500, 500, 800, 800))});
            w.restoreDC();
            return w.finish();
        }) << QList<Probe>{{{700, 700}, kRed}, {{300, 300}, kRed}};
    }

    void savedState()
    {
        QFETCH(Build, build);
        QFETCH(QList<Probe>, probes);
        const QImage image = renderOnWhite(load(build()), 3);
        for (const Probe &probe : probes) {
            const QColor got = image.pixelColor((probe.twips / 3).toPoint());
            QVERIFY2(nearColour(got, probe.color), qPrintable(QStringLiteral("at (%1, %2): %3, not %4")
                                                                  .arg(probe.twips.x())
                                                                  .arg(probe.twips.y())
                                                                  .arg(got.name(), probe.color.name())));
        }
    }

    void penWidths_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<double>("pixels"); // at 15 twips a pixel
        // The window is 10 times the frame when the line is drawn: 150 units are 15 twips.
        const auto line = [](int width, bool penBeforeWindow) {
            MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
            w.setMapMode(MapMode::Anisotropic);
            const ObjectHandle pen = penBeforeWindow ? w.createPen(Qt::black, width) : ObjectHandle{};
            w.setWindowOrg(QPoint(0, 0));
            w.setWindowExt(QSize(28800, 14400));
            if (penBeforeWindow)
                w.selectObject(pen);
            else
                w.selectNewPen(Qt::black, width);
            w.moveTo(QPoint(0, 7200));
            w.lineTo(QPoint(28800, 7200));
            return w.finish();
        };
        QTest::newRow("pen made after the window") << Build([=] { return line(1500, false); }) << 10.0;
        QTest::newRow("pen made before the window") << Build([=] { return line(1500, true); }) << 10.0;
        QTest::newRow("thin pen made before the window") << Build([=] { return line(450, true); }) << 3.0;
        QTest::newRow("width zero: one pixel") << Build([=] { return line(0, true); }) << 1.0;
        QTest::newRow("pen kept through SaveDC") << Build([] {
            MetafileWriter w = page();
            w.selectNewPen(Qt::black, 120);
            w.saveDC();
            w.selectNewPen(Qt::black, 15);
            w.restoreDC();
            w.moveTo(QPoint(0, 720));
            w.lineTo(QPoint(2880, 720));
            return w.finish();
        }) << 8.0;
    }

    void penWidths()
    {
        QFETCH(Build, build);
        QFETCH(double, pixels);
        const QImage image = renderOnWhite(load(build()));
        const double got = thickness(image, image.width() / 2);
        QVERIFY2(std::abs(got - pixels) <= 1.0, qPrintable(QStringLiteral("%1 pixels wide").arg(got)));
    }

    void decoding_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<int>("charset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Symbol by name") << "Symbol" << 1 << QByteArray("abgdlp") << QStringLiteral("αβγδλπ");
        QTest::newRow("Symbol by character set")
            << "Standard Symbols" << 2 << QByteArray("p=3") << QStringLiteral("π=3");
        QTest::newRow("Symbol capitals and signs")
            << "symbol" << 0 << QByteArray("\x44\x57\xA3\xB1\xA5\xD6\xE5\xFE") << QStringLiteral("ΔΩ≤±∞√∑⎭");
        QTest::newRow("Symbol holes print nothing")
            << "Symbol" << 0 << QByteArray("a\x80\xF0z") << QStringLiteral("αζ");
        QTest::newRow("Greek code page") << "Arial" << 161 << QByteArray("\xE1\xE2\xE3 \xC1\xD3\xFE")
                                         << QStringLiteral("αβγ ΑΣώ");
        QTest::newRow("Greek keeps Latin and Western signs")
            << "Arial" << 161 << QByteArray("Pi \x80 \xA3") << QStringLiteral("Pi € £");
        QTest::newRow("Western") << "Arial" << 0 << QByteArray("caf\xE9 \x80") << QStringLiteral("café €");
    }

    void decoding()
    {
        QFETCH(QString, face);
        QFETCH(int, charset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(metafile::decodeText(bytes, metafile::charsetOf(face, charset)), text);
    }

    // A page that would take seconds to draw keeps what it draws first, within its
    // budget, and leaves the rest out.
    void pageBudget()
    {
        MetafileWriter w(QRect(0, 0, 14400, 14400), 1440);
        w.mapFrameToWindow();
        w.selectNewPen(Qt::black, 0, PenStyle::Null);
        w.selectNewBrush(kRed);
        w.rectangle(QRect(0, 0, 14400, 1440)); // the first thing drawn
        w.selectNewBrush(kBlue);
        // A hundred many-sided polygons over the whole page, each as dear as a page.
        for (int i = 0; i < 100; ++i) {
            QPolygon zigzag;
            for (int k = 0; k < 4000; ++k)
                zigzag << QPoint((k * 7919) % 14400, 1440 + (k * 104729) % 12960);
            w.polygon(zigzag);
        }
        w.selectNewBrush(kRed);
        w.rectangle(QRect(0, 13000, 14400, 1400)); // past the budget
        const QImage image = renderOnWhite(load(w.finish()));
        QVERIFY(nearColour(image.pixelColor(480, 48), kRed));
        QVERIFY(nearColour(image.pixelColor(480, 930), kWhite));
    }

    // The loader keeps pictures within its memory bound, lets them all go on request,
    // and tells a page that is there but unreadable from one that is missing.
    void pictureLoader()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("wmf"));
        MetafileWriter w(QRect(0, 0, 11906, 16838), 1440); // an A4 page: 4 MB on screen
        w.mapFrameToWindow();
        w.selectNewBrush(kRed);
        w.rectangle(QRect(100, 100, 1000, 1000));
        const QByteArray bytes = w.finish();
        for (int i = 0; i < 40; ++i) {
            QFile file(dir.filePath(QStringLiteral("wmf/page%1.wmf").arg(i)));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QFile damaged(dir.filePath(QStringLiteral("wmf/damaged.wmf")));
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(bytes.left(60)) == 60);
        damaged.close();
        const DataPaths paths(dir.path());
        const PictureLoader loader(paths);
        for (int i = 0; i < 40; ++i) {
            QVERIFY(loader.load(QStringLiteral("wmf\\page%1.wmf").arg(i)).ok());
            QCOMPARE_LE(loader.cachedBytes(), PictureLoader::kMaxCachedBytes);
        }
        QCOMPARE_GT(loader.cachedBytes(), PictureLoader::kMaxCachedBytes / 2);
        loader.release();
        QCOMPARE(loader.cachedBytes(), 0);

        const PictureLoader::Result unreadable = loader.load(QStringLiteral("wmf\\damaged.wmf"));
        QVERIFY(!unreadable.ok() && unreadable.found);
        const PictureLoader::Result absent = loader.load(QStringLiteral("wmf\\absent.wmf"));
        QVERIFY(!absent.ok() && !absent.found);
        // Repaired, it loads.
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(bytes) == bytes.size());
        damaged.close();
        QVERIFY(loader.load(QStringLiteral("wmf\\damaged.wmf")).ok());
    }
};

QTEST_MAIN(TestMetafileState)
#include "tst_metafilestate.moc"
