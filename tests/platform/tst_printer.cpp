// The line printer over the recording printer, over PDF files (read back with
// poppler's tools), and over the default CUPS queue where there is one.
#include "platform/printer.h"
#include "platform/qtprinttarget.h"
#include "support/recordingprinter.h"
#include "toolkit/picture.h"

#include <QDir>
#include <QDirIterator>
#include <QLocale>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;
using Op = RecordingPrintTarget::Op;

namespace {

QString runTool(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QFont times(double points)
{
    QFont font(u"Times New Roman"_s);
    font.setPointSizeF(points);
    return font;
}

// The same little document on any printer: a centred heading, a line of two parts,
// a frame line and a picture.
void printSample(LinePrinter &printer)
{
    printer.setFontName(u"Times New Roman"_s);
    printer.setFontSize(32);
    printer.setCurrentX((printer.scaleWidth() - printer.textWidth(u"Velmora Heading"_s)) / 2);
    printer.print(u"Velmora Heading"_s);
    printer.setFontSize(12);
    printer.print(u"A. first answer"_s, false);
    printer.print(u" and more"_s);
    printer.setDrawWidth(2);
    printer.line(45, 270, 1000, 270, Qt::black);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    printer.paintPicture(Picture::fromImage(image, u"wmf2\\page.wmf"_s), 1000, 1000);
}

} // namespace

class TestPrinter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineModel()
    {
        RecordingPrintTarget target;
        LinePrinter printer(target);
        printSample(printer);
        const double yAfter = printer.currentY();
        printer.print(QString()); // an empty line draws nothing but still moves down
        printer.print(u" "_s);
        printer.endDoc();

        const QList<Op> texts = target.ofKind(Op::Text);
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[0].x, (11000 - target.textWidth(times(32), u"Velmora Heading"_s)) / 2);
        QCOMPARE(texts[0].y, 0.0);
        QCOMPARE(texts[0].points, 32.0);
        // The next line starts at the left edge, one heading line further down.
        QCOMPARE(QPointF(texts[1].x, texts[1].y), QPointF(0, target.lineHeight(times(32))));
        QCOMPARE(QPointF(texts[2].x, texts[2].y),
                 QPointF(target.textWidth(times(12), u"A. first answer"_s), texts[1].y));
        QCOMPARE(yAfter, texts[1].y + target.lineHeight(times(12)));
        QCOMPARE(texts[3].text, u" "_s);
        QCOMPARE(texts[3].y, yAfter + target.lineHeight(times(12)));

        const Op line = target.ofKind(Op::Line).value(0);
        QCOMPARE(QLineF(line.x, line.y, line.x2, line.y2), QLineF(45, 270, 1000, 270));
        QCOMPARE(line.width, 4.8); // two dots of a 600-dpi printer
        const Op picture = target.ofKind(Op::Picture).value(0);
        QCOMPARE(QPointF(picture.x, picture.y), QPointF(1000, 1000));
        QCOMPARE(picture.text, u"wmf2\\page.wmf"_s);
        QCOMPARE(target.documents(), 1);
        QCOMPARE(printer.currentY(), 0.0); // a new document starts at the top
    }

    // A PDF printout: two pages in one new file of the folder, on the paper of the user's
    // country; what lies outside the printable area never reaches the paper (a picture of
    // the first page shows no ink in the margins); an abandoned document leaves no file.
    // The recording printer, which the other tests measure by, measures text as this
    // real printer does.
    void pdfPrintout()
    {
        QTemporaryDir dir;
        QtPrintTarget target(dir.filePath(u"out"_s));
        LinePrinter printer(target);
        printSample(printer);
        const double w = printer.scaleWidth(), h = printer.scaleHeight();
        printer.setDrawWidth(40);
        printer.line(-2000, h / 2, w + 2000, h / 2, Qt::black);
        printer.line(w / 2, -2000, w / 2, h + 2000, Qt::black);
        QImage black(400, 400, QImage::Format_RGB32);
        black.fill(Qt::black);
        printer.paintPicture(Picture::fromImage(black, u"black"_s), w - 1000, h - 1000);
        printer.setFontSize(36);
        printer.setCurrentX(w - 500);
        printer.print(u"WWWW"_s);
        RecordingPrintTarget recording;
        for (const double points : {12.0, 25.0, 36.0}) {
            const QString message = u"There was a problem printing to your printer."_s;
            QVERIFY(qAbs(target.textWidth(times(points), message) - recording.textWidth(times(points), message)) < 2);
            QVERIFY(qAbs(target.lineHeight(times(points)) - recording.lineHeight(times(points))) < 2);
        }
        printer.newPage();
        printer.print(u"Second page"_s);
        printer.endDoc();
        for (const QString &tool : {u"pdftotext"_s, u"pdftoppm"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("pdftotext and pdftoppm (poppler-utils) are not installed");
        }
        const QString text = runTool(u"pdftotext"_s, {u"-layout"_s, target.lastFile(), u"-"_s});
        const qsizetype heading = text.indexOf(u"Velmora Heading"_s);
        const qsizetype answer = text.indexOf(u"A. first answer and more"_s);
        QVERIFY2(heading >= 0 && answer > heading && text.indexOf(u"Second page"_s) > answer, qPrintable(text));
        const QString info = runTool(u"pdfinfo"_s, {target.lastFile()});
        QVERIFY(info.contains(QRegularExpression(u"Pages:\\s+2\\n"_s)));
        const bool letter = localePaper(QLocale::system()).id() == QPageSize::Letter;
        QVERIFY2(info.contains(letter ? u"(letter)"_s : u"(A4)"_s), qPrintable(info));
        const QString png = dir.filePath(u"page"_s);
        runTool(u"pdftoppm"_s, {u"-png"_s, u"-r"_s, u"72"_s, u"-singlefile"_s, target.lastFile(), png});
        const QImage page(png + u".png"_s);
        QVERIFY(!page.isNull());
        const QRectF area = target.lastLayout().paintRect(QPageLayout::Point).adjusted(-1, -1, 1, 1); // 1 px = 1 pt
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128 && !area.contains(QPointF(x, y)))
                    QFAIL(qPrintable(u"ink at %1, %2"_s.arg(x).arg(y)));
            }
        }

        printer.print(u"dropped"_s);
        printer.abort();
        QCOMPARE(QDir(dir.filePath(u"out"_s)).entryList(QDir::Files).size(), 1);
    }

    void wrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widest"); // the line width is this text's width
        QTest::addColumn<QString>("lines"); // separated by "|"
        QTest::newRow("fits") << "A telescope" << u"A telescope"_s << "A telescope";
        QTest::newRow("between words") << "He was questioned by the Inquisition  " << u"He was questioned by"_s
                                       << "He was questioned by|the Inquisition";
        QTest::newRow("after a hyphen") << "a well-known lens" << u"known lens"_s << "a well-|known lens";
        QTest::newRow("inside a long word") << "Moon Supermoonlight" << u"Supermoon"_s << "Moon|Supermoon|light";
        QTest::newRow("narrower than a letter, accents kept") << "Cafe\u0301" << QString() << "C|a|f|e\u0301";
        QTest::newRow("only spaces") << "   " << QString() << "";
    }

    void wrap()
    {
        QFETCH(QString, text);
        QFETCH(QString, widest);
        QFETCH(QString, lines);
        RecordingPrintTarget target;
        LinePrinter printer(target);
        QCOMPARE(printer.wrap(text, printer.textWidth(widest)), lines.split(u'|'));
    }

    void papers_data()
    {
        QTest::addColumn<bool>("fromLocale");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("paper"); // -1: none
        QTest::newRow("a4") << false << "a4" << int(QPageSize::A4);
        QTest::newRow("Letter") << false << "Letter" << int(QPageSize::Letter);
        QTest::newRow("legal") << false << "legal" << -1;
        QTest::newRow("padded") << false << " a4" << -1;
        QTest::newRow("locale en_US") << true << "en_US" << int(QPageSize::Letter);
        QTest::newRow("locale fr_CA") << true << "fr_CA" << int(QPageSize::Letter);
        QTest::newRow("locale en_GB") << true << "en_GB" << int(QPageSize::A4);
        QTest::newRow("locale C") << true << "C" << int(QPageSize::A4);
    }

    void papers()
    {
        QFETCH(bool, fromLocale);
        QFETCH(QString, name);
        QFETCH(int, paper);
        const std::optional<QPageSize> found = fromLocale ? localePaper(QLocale(name)) : paperNamed(name);
        QCOMPARE(found ? int(found->id()) : -1, paper);
    }

    void defaultPrinterThroughCups()
    {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            // Without a printer the default target must fail, never pretend to print.
            QtPrintTarget target;
            QVERIFY_THROWS_EXCEPTION(PrintError, target.begin());
            QSKIP("no default printer (no cupsd reachable): the end-to-end print runs in CI");
        }
        const auto pdfs = [] {
            QStringList out;
            for (const QString &folder : {QDir::homePath() + u"/PDF"_s, u"/var/spool/cups-pdf/ANONYMOUS"_s,
                                          u"/var/spool/cups-pdf/"_s + qEnvironmentVariable("USER")}) {
                for (QDirIterator it(folder, {u"*.pdf"_s}, QDir::Files); it.hasNext();)
                    out << it.next();
            }
            return out;
        };
        const qsizetype before = pdfs().size();
        QtPrintTarget target;
        LinePrinter printer(target);
        printer.print(u"Velmora test page"_s);
        printer.endDoc();
        QTRY_VERIFY_WITH_TIMEOUT(pdfs().size() > before, 30000);
        qInfo("printed through %s", qPrintable(info.printerName()));
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
