// Pages exported by real drawing programs (see tests/data/metafiles/README.md), against
// their source drawings as an independent SVG renderer drew them (the PNG beside each
// drawing, 400 by 300 pixels at 96 dpi) and by the text a PDF of them carries. The page
// pictures supplied with the program: every one fits where it is shown or printed,
// carries its text, and is a standard metafile that an independent reader (libwmf's
// wmf2svg) takes too. And the page viewer, which cannot print a damaged page and gives
// its pictures' memory back when it closes.
#include "app/ardovin.h"
#include "metafiletesting.h"
#include "pages/teacher.h"
#include "platform/fonts.h"
#include "support/testapp.h"
#include "toolkit/label.h"

#include <QDir>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// What a tool writes on its standard output, when it runs to its end with success.
std::optional<QByteArray> runTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

constexpr double kReferenceTwips = 15; // the drawing programs' references are 96 dpi

// Both exports of a drawing: LibreOffice's and Inkscape's.
QStringList exportsOf(const char *drawing)
{
    return {u"%1.libreoffice.wmf"_s.arg(QLatin1String(drawing)), u"%1.inkscape.wmf"_s.arg(QLatin1String(drawing))};
}

// LibreOffice's export leaves out a margin of 3.64 mm all round its page: the page's
// white background, which the file still draws, starts 364 of its 0.01 mm units before
// the picture's frame on every side.
QPointF originOf(const QString &file)
{
    const double margin = file.contains("libreoffice"_L1) ? 364 / 2540.0 * 96 : 0;
    return {margin, margin};
}

// The export where the drawing has it, on a white page of the drawing's size.
QImage render(const QString &file)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    exported(file).draw(painter, originOf(file), kReferenceTwips);
    return image;
}

// The drawing an export was made from, as the SVG renderer drew it.
QImage reference(const QString &file)
{
    return QImage(kFixtures + file.section(u'.', 0, 0) + u".png"_s).convertToFormat(QImage::Format_RGB32);
}

// A PDF of the export, placed on the page as the drawing has it.
QString writePdf(const QTemporaryDir &dir, const QString &file)
{
    QString pdf = dir.filePath(u"page.pdf"_s); // moved out, not copied
    QPdfWriter writer(pdf);
    writer.setResolution(1440);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    exported(file).draw(painter, originOf(file) * kReferenceTwips, 1);
    return pdf;
}

// Unless every pixel of the drawing's 8 by 8 chequer (20 pixels a square) but those next
// to a square's edge is its square's colour, the first that is not.
QString chequerOff(const QImage &image)
{
    for (int y = 40; y < 200; ++y) {
        for (int x = 40; x < 200; ++x) {
            const int dx = (x - 40) % 20, dy = (y - 40) % 20;
            const QColor want = ((x - 40) / 20 + (y - 40) / 20) % 2 ? QColor(30, 30, 200) : QColor(200, 30, 30);
            if (dx >= 2 && dx <= 17 && dy >= 2 && dy <= 17 && image.pixelColor(x, y) != want)
                return u"at %1, %2: %3"_s.arg(x).arg(y).arg(image.pixelColor(x, y).name());
        }
    }
    return {};
}

// A supplied page's title: the heading of its source text.
QString titleOf(const QString &page)
{
    const QString source = page.section(u'\\', 1).replace(u".wmf"_s, u".txt"_s);
    const QString text = QString::fromUtf8(bytesOf(QStringLiteral(VELMORA_SOURCE_DIR "/tools/pages/text/") + source));
    return QRegularExpression(u"^# (.*)$"_s, QRegularExpression::MultilineOption).match(text).captured(1).trimmed();
}

} // namespace

class TestMetafilePages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { registerScreenFonts(); }

    void exportedText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QRect>("area"); // where the text lies, pixels
        QTest::addColumn<int>("tolerance"); // pixels, twice that at the right end of a line
        for (const QString &file : exportsOf("saved-state")) {
            QTest::addRow("%s yellow on blue", qPrintable(file))
                << file << QColor(Qt::yellow) << QRect(20, 20, 360, 60) << 2;
            QTest::addRow("%s white on blue", qPrintable(file))
                << file << QColor(Qt::white) << QRect(20, 85, 360, 55) << 2;
            QTest::addRow("%s red on white", qPrintable(file))
                << file << QColor(0xc0, 0, 0) << QRect(0, 150, 400, 80) << 2;
        }
        for (const QString &file : exportsOf("symbol"))
            QTest::addRow("%s Greek", qPrintable(file)) << file << QColor(0, 0, 0x80) << QRect(0, 40, 400, 100) << 3;
    }

    // Text sits where the drawing has it (saved-state's inside saved and restored state;
    // symbol's Greek in a face that has it).
    void exportedText()
    {
        QFETCH(QString, file);
        QFETCH(QColor, color);
        QFETCH(QRect, area);
        QFETCH(int, tolerance);
        const QRectF want = inkOf(reference(file), color, 1, 60, area);
        QVERIFY(!want.isNull());
        VERIFY_NOTHING_WRONG(edgesOff(inkOf(render(file), color, 1, 60, area), want, tolerance, 2 * tolerance));
    }

    void exportedBitmap_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString &file : exportsOf("chequer"))
            QTest::newRow(qPrintable(file)) << file;
    }

    // The chequer keeps its two colours exactly and its sharp edges, on screen and in a PDF.
    void exportedBitmap()
    {
        QFETCH(QString, file);
        VERIFY_NOTHING_WRONG(chequerOff(render(file)));
        if (QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString png = dir.filePath(u"page"_s);
        QVERIFY(runTool(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"96"_s, u"-singlefile"_s, writePdf(dir, file), png}));
        VERIFY_NOTHING_WRONG(chequerOff(QImage(png + u".png"_s).convertToFormat(QImage::Format_RGB32)));
    }

    void exportedSizeAndWords_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("words");
        const QStringList savedState{u"Yellow on blue"_s, u"White on blue"_s, u"Red on white"_s};
        // The Greek is Symbol text in Inkscape's export and Greek-alphabet text in
        // LibreOffice's.
        const QStringList symbol{u"Angles"_s, u"αβγδλπ"_s};
        for (const auto &[drawing, words] : {std::pair{"saved-state", savedState},
                                             {"pens", QStringList()},
                                             {"chequer", QStringList()},
                                             {"symbol", symbol}}) {
            for (const QString &file : exportsOf(drawing))
                QTest::newRow(qPrintable(file)) << file << words;
        }
    }

    // Every export is the drawing's 400 by 300 pixels (less LibreOffice's margins), within
    // a pixel, draws its pens as wide as the drawing's, and carries its words as written,
    // for a screen reader and in a PDF's text.
    void exportedSizeAndWords()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, words);
        const Picture picture = exported(file);
        const QSizeF size = picture.sizeTwips() / kReferenceTwips;
        const double margins = 2 * originOf(file).x();
        QCOMPARE_LT(std::abs(size.width() + margins - 400), 1.0);
        QCOMPARE_LT(std::abs(size.height() + margins - 300), 1.0);
        // Each pen is as wide as the drawing's stroke, within a pixel.
        const QImage expected = reference(file), got = render(file);
        for (int y : file.startsWith("pens."_L1) ? QList<int>{50, 110, 170, 240} : QList<int>()) {
            for (int x : {100, 200, 300}) {
                const double want = darkRows(expected, x, y - 20, y + 20), have = darkRows(got, x, y - 20, y + 20);
                QVERIFY2(std::abs(have - want) <= 1.0,
                         qPrintable(u"at %1, %2: %3 px wide, the drawing's %4 px"_s.arg(x).arg(y).arg(have).arg(want)));
            }
        }
        for (const QString &w : words)
            QVERIFY2(picture.text().contains(w), qPrintable(picture.text()));
        if (words.isEmpty())
            return;
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString pdfText = QString::fromUtf8(runTool(u"pdftotext"_s, {writePdf(dir, file), u"-"_s}).value_or("-"));
        for (const QString &w : words)
            QVERIFY2(pdfText.contains(w), qPrintable(pdfText));
    }

    void suppliedPages_data()
    {
        QTest::addColumn<QString>("page"); // as a screen names it
        const QStringList names = QDir(QStringLiteral(VELMORA_SOURCE_DATA "/wmf")).entryList({u"*.wmf"_s});
        QCOMPARE(names.size(), 10);
        for (const char *folder : {"wmf", "wmf2"}) {
            for (const QString &name : names)
                QTest::addRow("%s/%s", folder, qPrintable(name)) << QLatin1String(folder) + u'\\' + name;
        }
    }

    void suppliedPages()
    {
        QFETCH(QString, page);
        const QString path = QStringLiteral(VELMORA_SOURCE_DATA "/") + QString(page).replace(u'\\', u'/');
        const MetafileResult loaded = loadMetafile(bytesOf(path), page);
        QVERIFY2(loaded.error.isEmpty(), qPrintable(loaded.error));
        // A page on screen: above the viewer's buttons, left of "Print" (the acknowledgments
        // leave the logo's corner free). Its print version: drawn at (1000, 1000) on the
        // printable area of A4 and of Letter paper.
        const QSizeF room = page.startsWith("wmf\\"_L1)
                                ? QSizeF(page.endsWith("acknowledgments.wmf"_L1) ? 8400 : 10440, 7800)
                                : QSizeF(11186 - 360 - 1000, 15120 - 1000);
        const QSizeF size = loaded.picture.sizeTwips();
        QVERIFY2(size.width() <= room.width() && size.height() <= room.height(),
                 qPrintable(u"%1 by %2 twips"_s.arg(size.width()).arg(size.height())));
        // Drawn on screen, it carries dark text on its page.
        const QImage image = renderOnWhite(loaded.picture);
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2) {
            for (int x = 0; x < image.width(); x += 2)
                ink += qGray(image.pixel(x, y)) < 90 ? 1 : 0;
        }
        QVERIFY2(ink > 300, qPrintable(u"%1 dark pixels"_s.arg(ink)));
        // A screen reader reads the page's heading first.
        const QString title = titleOf(page);
        QVERIFY(!title.isEmpty());
        const QString firstLine = loaded.picture.text().section(u'\n', 0, 0);
        QVERIFY2(firstLine.contains(title), qPrintable(firstLine));

        // An independent reader takes it too, with its words.
        if (QStandardPaths::findExecutable(u"wmf2svg"_s).isEmpty())
            QSKIP("wmf2svg (package libwmf-bin) is not installed");
        QTemporaryDir dir;
        const QString svg = dir.filePath(u"page.svg"_s);
        QVERIFY(runTool(u"wmf2svg"_s, {u"-o"_s, svg, path}));
        QVERIFY2(QString::fromLatin1(bytesOf(svg)).contains(title), qPrintable(title));
    }

    void pageViewer_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("unreadable") << true
                                    << "The printed version of this page cannot be read, so it cannot be printed.";
        QTest::newRow("missing") << false << "The printed version of this page is missing, so it cannot be printed.";
    }

    // The teacher's notes cannot print a page whose print version is unreadable or
    // missing, and say which; closed, they give their pages' memory back.
    void pageViewer()
    {
        QFETCH(bool, present);
        QFETCH(QString, message);
        TestApp app;
        if (present)
            app.writeDataFile(u"wmf2/ardovinb.wmf"_s, QByteArray("not a metafile at all"));
        else
            app.removeDataFile(u"wmf2/ardovinb.wmf"_s);
        app.forms.ref<ardovin>().Label3[5].onClick(); // the unit page's teacher's notes
        teacher &viewer = *app.forms.loaded<teacher>();
        viewer.Label3[2].onClick(); // Next Page
        QCOMPARE_GT(app.platform.pictures().cachedBytes(), 0);
        viewer.Label3[0].onClick(); // Print
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown.front().text, message);
        QVERIFY(app.printer.ops.isEmpty());
        viewer.unload();
        TestApp::settle();
        QCOMPARE(app.platform.pictures().cachedBytes(), 0);
    }
};

QTEST_MAIN(TestMetafilePages)
#include "tst_metafilepages.moc"
