#include "platform/printer.h"
#include "platform/qtprinttarget.h"
#include "support/recordingprinter.h"
#include "toolkit/picture.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
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

Picture squarePicture()
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(QColor(200, 0, 0));
    return Picture::fromImage(image, QStringLiteral("wmf2\\page.wmf"));
}

// The same little document on any printer: a centred heading, a line of two parts,
// a frame line and a picture.
void printSample(LinePrinter &printer)
{
    printer.setFontName(QStringLiteral("Times New Roman"));
    printer.setFontSize(32);
    const QString heading = QStringLiteral("Velmora Heading");
    printer.setCurrentX((printer.scaleWidth() - printer.textWidth(heading)) / 2);
    printer.print(heading);
    printer.setFontSize(12);
    printer.print(QStringLiteral("A. first answer"), false);
    printer.print(QStringLiteral(" and more"));
    printer.setDrawWidth(2);
    printer.line(45, 270, 1000, 270, QColor(0, 0, 0));
    printer.paintPicture(squarePicture(), 1000, 1000);
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
        printer.endDoc();

        const QList<Op> texts = target.ofKind(Op::Text);
        QCOMPARE(texts.size(), 3);
        QFont heading(QStringLiteral("Times New Roman"));
        heading.setPointSizeF(32);
        const double headingWidth = target.textWidth(heading, QStringLiteral("Velmora Heading"));
        QCOMPARE(texts[0].x, (11000 - headingWidth) / 2);
        QCOMPARE(texts[0].y, 0.0);
        QCOMPARE(texts[0].points, 32.0);
        // The next line starts at the left edge, one heading line further down.
        QCOMPARE(texts[1].x, 0.0);
        QCOMPARE(texts[1].y, target.lineHeight(heading));
        QFont body(QStringLiteral("Times New Roman"));
        body.setPointSizeF(12);
        QCOMPARE(texts[2].x, target.textWidth(body, QStringLiteral("A. first answer")));
        QCOMPARE(texts[2].y, texts[1].y);
        QCOMPARE(yAfter, texts[1].y + target.lineHeight(body));
        // A line height follows the printer font: 32 points is a little over 640 twips.
        QVERIFY(target.lineHeight(heading) > 640 && target.lineHeight(heading) < 800);

        const Op line = target.ofKind(Op::Line).value(0);
        QCOMPARE(QList<double>({line.x, line.y, line.x2, line.y2}), QList<double>({45, 270, 1000, 270}));
        QCOMPARE(line.width, 4.8); // two dots of a 600-dpi printer
        const Op picture = target.ofKind(Op::Picture).value(0);
        QCOMPARE(QPointF(picture.x, picture.y), QPointF(1000, 1000));
        QCOMPARE(picture.text, QStringLiteral("wmf2\\page.wmf"));
        QCOMPARE(target.documents(), 1);
        QCOMPARE(printer.currentY(), 0.0); // a new document starts at the top
    }

    void emptyAndBlankLines()
    {
        RecordingPrintTarget target;
        LinePrinter printer(target);
        printer.print(QString());
        printer.print(QStringLiteral(" "));
        printer.endDoc();
        const QList<Op> texts = target.ofKind(Op::Text);
        QCOMPARE(texts.size(), 1); // an empty line draws nothing but still moves down
        QCOMPARE(texts[0].text, QStringLiteral(" "));
        QVERIFY(texts[0].y > 0);
    }

    void failuresReachTheCaller_data()
    {
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::newRow("no printer") << true << 0;
        QTest::newRow("fails on the first text") << false << 1;
        QTest::newRow("fails on the picture") << false << 4;
    }

    void failuresReachTheCaller()
    {
        QFETCH(bool, noPrinter);
        QFETCH(int, failAt);
        RecordingPrintTarget target;
        target.noPrinter = noPrinter;
        target.failAtDrawing = failAt;
        LinePrinter printer(target);
        QVERIFY_THROWS_EXCEPTION(PrintError, {
            printSample(printer);
            printer.endDoc();
        });
        printer.abort();
        QCOMPARE(target.documents(), 0);
        QVERIFY(!printer.inDocument());
        QCOMPARE(target.ofKind(Op::Abort).size(), noPrinter ? 0 : 1);
    }

    void recordingMetricsMatchARealPrinter()
    {
        QTemporaryDir dir;
        QtPrintTarget pdf(dir.path());
        RecordingPrintTarget recording;
        pdf.begin();
        for (const double points : {12.0, 25.0, 36.0}) {
            QFont font(QStringLiteral("Times New Roman"));
            font.setPointSizeF(points);
            const QString text = QStringLiteral("There was a problem printing to your printer.");
            QVERIFY(qAbs(pdf.textWidth(font, text) - recording.textWidth(font, text)) < 2);
            QVERIFY(qAbs(pdf.lineHeight(font) - recording.lineHeight(font)) < 2);
        }
        pdf.abort();
    }

    void pdfFolder()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrintTarget target(dir.path() + QStringLiteral("/out"));
        LinePrinter printer(target);
        printSample(printer);
        printer.newPage();
        printer.print(QStringLiteral("Second page"));
        printer.endDoc();
        const QString file = target.lastFile();
        QVERIFY(QFileInfo::exists(file));
        const QString text =
            runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        const qsizetype heading = text.indexOf(QStringLiteral("Velmora Heading"));
        const qsizetype answer = text.indexOf(QStringLiteral("A. first answer and more"));
        const qsizetype second = text.indexOf(QStringLiteral("Second page"));
        QVERIFY2(heading >= 0 && answer > heading && second > answer, qPrintable(text));
        const QString info = runTool(QStringLiteral("pdfinfo"), {file});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
        // Without a chosen paper a PDF is on the paper of the user's country.
        QVERIFY2(info.contains(localePaper(QLocale::system()).id() == QPageSize::Letter ? QStringLiteral("(letter)")
                                                                                        : QStringLiteral("(A4)")),
                 qPrintable(info));

        // A failed document leaves no half-written file behind.
        QVERIFY(QDir(dir.path() + QStringLiteral("/out")).entryList(QDir::Files).size() == 1);
        printer.print(QStringLiteral("dropped"));
        printer.abort();
        QCOMPARE(QDir(dir.path() + QStringLiteral("/out")).entryList(QDir::Files).size(), 1);
    }

    void wrap_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("widest"); // the line width is this text's width
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits") << QStringLiteral("A telescope") << QStringLiteral("A telescope")
                              << QStringList{QStringLiteral("A telescope")};
        QTest::newRow("between words") << QStringLiteral("He was questioned by the Inquisition  ")
                                       << QStringLiteral("He was questioned by")
                                       << QStringList{QStringLiteral("He was questioned by"),
                                                      QStringLiteral("the Inquisition")};
        QTest::newRow("after a hyphen") << QStringLiteral("a well-known lens") << QStringLiteral("known lens")
                                        << QStringList{QStringLiteral("a well-"), QStringLiteral("known lens")};
        QTest::newRow("inside a long word")
            << QStringLiteral("Moon Supermoonlight") << QStringLiteral("Supermoon")
            << QStringList{QStringLiteral("Moon"), QStringLiteral("Supermoon"), QStringLiteral("light")};
        QTest::newRow("narrower than a letter, accents kept")
            << QStringLiteral("Cafe\u0301") << QString()
            << QStringList{QStringLiteral("C"), QStringLiteral("a"), QStringLiteral("f"), QStringLiteral("e\u0301")};
        QTest::newRow("only spaces") << QStringLiteral("   ") << QString() << QStringList{QString()};
    }

    void wrap()
    {
        QFETCH(QString, text);
        QFETCH(QString, widest);
        QFETCH(QStringList, lines);
        RecordingPrintTarget target;
        LinePrinter printer(target);
        QCOMPARE(printer.wrap(text, printer.textWidth(widest)), lines);
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
        printer.line(-2000, h / 2, w + 2000, h / 2, QColor(0, 0, 0));
        printer.line(w / 2, -2000, w / 2, h + 2000, QColor(0, 0, 0));
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
        QTest::newRow("a4") << false << QStringLiteral("a4") << int(QPageSize::A4);
        QTest::newRow("Letter") << false << QStringLiteral("Letter") << int(QPageSize::Letter);
        QTest::newRow("legal") << false << QStringLiteral("legal") << -1;
        QTest::newRow("padded") << false << QStringLiteral(" a4") << -1;
        QTest::newRow("locale en_US") << true << QStringLiteral("en_US") << int(QPageSize::Letter);
        QTest::newRow("locale fr_CA") << true << QStringLiteral("fr_CA") << int(QPageSize::Letter);
        QTest::newRow("locale en_GB") << true << QStringLiteral("en_GB") << int(QPageSize::A4);
        QTest::newRow("locale C") << true << QStringLiteral("C") << int(QPageSize::A4);
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
        const QStringList folders = {QDir::homePath() + QStringLiteral("/PDF"),
                                     QStringLiteral("/var/spool/cups-pdf/ANONYMOUS"),
                                     QStringLiteral("/var/spool/cups-pdf/") + qEnvironmentVariable("USER")};
        const auto pdfs = [&folders] {
            QStringList out;
            for (const QString &folder : folders) {
                QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files);
                while (it.hasNext())
                    out << it.next();
            }
            return out;
        };
        const QStringList before = pdfs();
        QtPrintTarget target;
        LinePrinter printer(target);
        printer.print(QStringLiteral("Velmora test page"));
        printer.endDoc();
        QTRY_VERIFY_WITH_TIMEOUT(pdfs().size() > before.size(), 30000);
        qInfo("printed through %s", qPrintable(info.printerName()));
    }
};

QTEST_MAIN(TestPrinter)
#include "tst_printer.moc"
