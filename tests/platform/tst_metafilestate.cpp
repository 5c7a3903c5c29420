// Pens from their records, the metafile reader's character sets, the cost budget of a
// page, and the picture loader's bounded memory. (What SaveDC keeps is drawn in
// tst_metafile's pixel table.)
#include "platform/datapaths.h"
#include "platform/fonts.h"
#include "platform/metafile/wmfcharsets.h"
#include "platform/pictureloader.h"
#include "support/pictureimages.h"
#include "wmfwriter/wmfwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace velmora::wmf;

namespace {

enum PenMade { AfterTheWindow, BeforeTheWindow, KeptThroughSaveDC };

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestMetafileState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void penWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("made");
        QTest::addColumn<double>("pixels"); // at 15 twips a pixel
        QTest::newRow("pen made after the window") << 1500 << int(AfterTheWindow) << 10.0;
        QTest::newRow("pen made before the window") << 1500 << int(BeforeTheWindow) << 10.0;
        QTest::newRow("thin pen made before the window") << 450 << int(BeforeTheWindow) << 3.0;
        QTest::newRow("width zero: one pixel") << 0 << int(BeforeTheWindow) << 1.0;
        QTest::newRow("pen kept through SaveDC") << 1200 << int(KeptThroughSaveDC) << 8.0;
    }

    // A line across the page, its pen's width in the units of the window that is set
    // when the line is drawn: ten times the frame, so 150 units are 15 twips.
    void penWidths()
    {
        QFETCH(int, width);
        QFETCH(int, made);
        QFETCH(double, pixels);
        MetafileWriter w(QRect(0, 0, 2880, 1440), 1440);
        w.setMapMode(MapMode::Anisotropic);
        const ObjectHandle pen = made != AfterTheWindow ? w.createPen(Qt::black, width) : ObjectHandle{};
        w.setWindowOrg(QPoint(0, 0));
        w.setWindowExt(QSize(28800, 14400));
        if (made == AfterTheWindow)
            w.selectNewPen(Qt::black, width);
        else
            w.selectObject(pen);
        if (made == KeptThroughSaveDC) {
            w.saveDC();
            w.selectNewPen(Qt::black, 150);
            w.restoreDC();
        }
        w.moveTo(QPoint(0, 7200));
        w.lineTo(QPoint(28800, 7200));
        const QImage image = renderOnWhite(loadWmf(w.finish()));
        const double got = darkRows(image, image.width() / 2, 0, image.height() - 1);
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
        w.selectNewBrush(Qt::red);
        w.rectangle(QRect(0, 0, 14400, 1440)); // the first thing drawn
        w.selectNewBrush(Qt::blue);
        // A hundred many-sided polygons over the whole page, each as dear as a page.
        for (int i = 0; i < 100; ++i) {
            QPolygon zigzag;
            for (int k = 0; k < 4000; ++k)
                zigzag << QPoint((k * 7919) % 14400, 1440 + (k * 104729) % 12960);
            w.polygon(zigzag);
        }
        w.selectNewBrush(Qt::red);
        w.rectangle(QRect(0, 13000, 14400, 1400)); // past the budget
        const QString wrong =
            mismatches(renderOnWhite(loadWmf(w.finish())), {{7200, 720, Qt::red}, {7200, 13950, Qt::white}}, 15);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    }

    // The loader finds a page by the name a screen gives, keeps pictures within its
    // memory bound, lets them all go on request, and tells a page that is there but
    // unreadable from one that is missing.
    void pictureLoader()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("wmf"));
        MetafileWriter w(QRect(0, 0, 11906, 16838), 1440); // an A4 page: 4 MB on screen
        w.mapFrameToWindow();
        w.rectangle(QRect(100, 100, 1000, 1000));
        const QByteArray bytes = w.finish();
        for (int i = 0; i < 40; ++i)
            QVERIFY(writeFile(dir.filePath(QStringLiteral("wmf/page%1.wmf").arg(i)), bytes));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("wmf/damaged.wmf")), bytes.left(60)));
        const DataPaths paths(dir.path());
        const PictureLoader loader(paths);
        const PictureLoader::Result first = loader.load(QStringLiteral("wmf\\page0.wmf"));
        QCOMPARE(first.picture.source(), QStringLiteral("wmf\\page0.wmf"));
        QCOMPARE(first.picture.sizeTwips(), QSizeF(11906, 16838));
        for (int i = 1; i < 40; ++i) {
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
        QVERIFY(writeFile(dir.filePath(QStringLiteral("wmf/damaged.wmf")), bytes));
        QVERIFY(loader.load(QStringLiteral("wmf\\damaged.wmf")).ok());
    }
};

QTEST_MAIN(TestMetafileState)
#include "tst_metafilestate.moc"
