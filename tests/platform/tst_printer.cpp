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
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(points);
    return font;
}

// The same little document on any printer: a centred heading, a line of two parts,
// a frame line and a picture.
void printSample(LinePrinter &printer)
{
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(32);
    printer.setCurrentX((printer.scaleWidth() - printer.textWidth(QStringLiteral("Velmora Heading"))) / 2);
    printer.print(QStringLiteral("Velmora Heading"));
    printer.setFontSize(12);
    printer.print(QStringLiteral("A. first answer"), false);
    printer.print(QStringLiteral(" and more"));
    printer.setDrawWidth(2);
    printer.line(45, 270, 1000, 270, Qt::black);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    printer.paintPicture(Picture::fromImage(image, QStringLiteral("wmf2\\page.wmf")), 1000, 1000);
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
        printer.print(QStringLiteral(" "));
        printer.endDoc();

        const QList<Op> texts = target.ofKind(Op::Text);
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[0].x, (11000 - target.textWidth(times(32), QStringLiteral("Velmora Heading"))) / 2);
        QCOMPARE(texts[0].y, 0.0);
        QCOMPARE(texts[0].points, 32.0);
        // The next line starts at the left edge, one heading line further down.
        QCOMPARE(QPointF(texts[1].x, texts[1].y), QPointF(0, target.lineHeight(times(32))));
        QCOMPARE(QPointF(texts[2].x, texts[2].y),
                 QPointF(target.textWidth(times(12), QStringLiteral("A. first answer")), texts[1].y));
        QCOMPARE(yAfter, texts[1].y + target.lineHeight(times(12)));
        QCOMPARE(texts[3].text, QStringLiteral(" "));
        QCOMPARE(texts[3].y, yAfter + target.lineHeight(times(12)));

        const Op line = target.ofKind(Op::Line).value(0);
        QCOMPARE(QLineF(line.x, line.y, line.x2, line.y2), QLineF(45, 270, 1000, 270));
        QCOMPARE(line.width, 4.8); // two dots of a 600-dpi printer
        const Op picture = target.ofKind(Op::Picture).value(0);
        QCOMPARE(QPointF(picture.x, picture.y), QPointF(1000, 1000));
        QCOMPARE(picture.text, QStringLiteral("wmf2\\page.wmf"));
        QCOMPARE(target.documents(), 1);
        QCOMPARE(printer.currentY(), 0.0); // a new document starts at the top
    }

    // The recording printer's metrics, which the other tests measure by, are a real
    // printer's.
    void recordingMetricsMatchARealPrinter()
    {
        QTemporaryDir dir;
        QtPrintTarget pdf(dir.path());
        RecordingPrintTarget recording;
        pdf.begin();
        for (const double points : {12.0, 25.0, 36.0}) {
            const QString text = QStringLiteral("There was a problem printing to your printer.");
            QVERIFY(qAbs(pdf.textWidth(times(points), text) - recording.textWidth(times(points), text)) < 2);
            QVERIFY(qAbs(pdf.lineHeight(times(points)) - recording.lineHeight(times(points))) < 2);
        }
        pdf.abort();
    }

    // Two pages in one new file of the folder, on the paper of the user's country; an
    // abandoned document leaves no file behind.
    void pdfFolder()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrintTarget target(dir.filePath(QStringLiteral("out")));
        LinePrinter printer(target);
        printSample(printer);
        printer.newPage();
        printer.print(QStringLiteral("Second page"));
        printer.endDoc();
        const QString text =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), target.lastFile(), QStringLiteral("-")});
        const qsizetype heading = text.indexOf(QStringLiteral("Velmora Heading"));
        const qsizetype answer = text.indexOf(QStringLiteral("A. first answer and more"));
        QVERIFY2(heading >= 0 && answer > heading && text.indexOf(QStringLiteral("Second page")) > answer,
                 qPrintable(text));
        const QString info = runTool(QStringLiteral("pdfinfo"), {target.lastFile()});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
        const bool letter = localePaper(QLocale::system()).id() == QPageSize::Letter;
        QVERIFY2(info.contains(letter ? QStringLiteral("(letter)") : QStringLiteral("(A4)")), qPrintable(info));

        printer.print(QStringLiteral("dropped"));
        printer.abort();
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files).size(), 1);
    }

    void wrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widest"); // the line width is this text's width
        QTest::addColumn<QString>("lines"); // separated by "|"
        QTest::newRow("fits") << "A telescope" << QStringLiteral("A telescope") << "A telescope";
        QTest::newRow("between words") << "He was questioned by the Inquisition  "
                                       << QStringLiteral("He was questioned by")
                                       << "He was questioned by|the Inquisition";
        QTest::newRow("after a hyphen") << "a well-known lens" << QStringLiteral("known lens") << "a well-|known lens";
        QTest::newRow("inside a long word")
            << "Moon Supermoonlight" << QStringLiteral("Supermoon") << "Moon|Supermoon|light";
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
        QCOMPARE(printer.wrap(text, printer.textWidth(widest)), lines.split(QLatin1Char('|')));
    }

    // What lies outside the printable area never reaches the paper: a picture of the
    // PDF's page shows no ink in the margins.
    void pdfClippedAtThePrintableArea()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrintTarget target(dir.path());
        LinePrinter printer(target);
        const double w = printer.scaleWidth();
        const double h = printer.scaleHeight();
        printer.setDrawWidth(40);
        printer.line(-2000, h / 2, w + 2000, h / 2, Qt::black);
        printer.line(w / 2, -2000, w / 2, h + 2000, Qt::black);
        QImage black(400, 400, QImage::Format_RGB32);
        black.fill(Qt::black);
        printer.paintPicture(Picture::fromImage(black, QStringLiteral("black")), w - 1000, h - 1000);
        printer.setFontSize(36);
        printer.setCurrentX(w - 500);
        printer.print(QStringLiteral("WWWW"));
        printer.endDoc();
        const QString png = dir.filePath(QStringLiteral("page"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
                           QStringLiteral("-singlefile"), target.lastFile(), png});
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        const QRectF area = target.lastLayout().paintRect(QPageLayout::Point).adjusted(-1, -1, 1, 1); // 1 px = 1 pt
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128 && !area.contains(QPointF(x, y)))
                    QFAIL(qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));
            }
        }
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
            for (const QString &folder :
                 {QDir::homePath() + QStringLiteral("/PDF"), QStringLiteral("/var/spool/cups-pdf/ANONYMOUS"),
                  QStringLiteral("/var/spool/cups-pdf/") + qEnvironmentVariable("USER")}) {
                for (QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files); it.hasNext();)
                    out << it.next();
            }
            return out;
        };
        const qsizetype before = pdfs().size();
        QtPrintTarget target;
        LinePrinter printer(target);
        printer.print(QStringLiteral("Velmora test page"));
        printer.endDoc();
        QTRY_VERIFY_WITH_TIMEOUT(pdfs().size() > before, 30000);
        qInfo("printed through %s", qPrintable(info.printerName()));
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
