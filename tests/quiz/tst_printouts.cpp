#include "module1/messages.h"
#include "platform/qtprinttarget.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "support/testapp.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMap>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;
using Op = RecordingPrintTarget::Op;

namespace {

void fillQuiz(Module1 &m)
{
    m.worktitle = QStringLiteral("The Night Sky");
    for (std::size_t q = 1; q <= 10; ++q) {
        m.quest[q] = QStringLiteral("What is number %1?").arg(q);
        m.ansa[q] = QStringLiteral("one");
        m.ansb[q] = QStringLiteral("two");
        m.ansc[q] = QStringLiteral("three");
        m.ansd[q] = QStringLiteral("four");
        m.rightans[q] = QStringLiteral("1");
    }
}

// The results screen after a full score, as the quiz leaves it.
Welldone &fullScore(TestApp &app, const QString &heading = QStringLiteral("Velmora"))
{
    app.m.score = 10;
    app.m.total = 10;
    app.m.quizhead = heading;
    Welldone &results = app.forms.ref<Welldone>();
    results.showForm();
    return results;
}

multiple &runningQuiz(TestApp &app)
{
    fillQuiz(app.m);
    multiple &quiz = app.forms.ref<multiple>();
    quiz.Label5->setCaption(QStringLiteral("Velmora"));
    return quiz;
}

QList<QLineF> lines(const RecordingPrintTarget &printer)
{
    QList<QLineF> out;
    for (const Op &op : printer.ofKind(Op::Line))
        out << QLineF(op.x, op.y, op.x2, op.y2);
    return out;
}

Op textOp(const RecordingPrintTarget &printer, const QString &text)
{
    for (const Op &op : printer.ofKind(Op::Text)) {
        if (op.text == text)
            return op;
    }
    return Op{Op::Abort};
}

double widthIn(const RecordingPrintTarget &printer, const QString &text, double points)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(points);
    return printer.textWidth(font, text);
}

QFont fontOf(const Op &op)
{
    QFont font(op.family);
    font.setPointSizeF(op.points);
    return font;
}

// The printable area of a paper with the 10-point margins of a PDF page, in twips.
QSizeF printableArea(QPageSize::PageSizeId paper)
{
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)).paintRectPixels(1440).size();
}

// A text of exactly `length` characters: words with spaces, or one word without.
QString longText(qsizetype length, bool spaces)
{
    const QString words =
        spaces ? QStringLiteral("the telescope shows the Moon ") : QStringLiteral("Wonderfulstargazing");
    return words.repeated(length / words.size() + 1).left(length).trimmed();
}

void useSuppliedQuiz(TestApp &app)
{
    app.platform.file1().openForInput(QStringLiteral("multiple\\Ardovin Sevrani.txt"));
    app.m.loadquiz();
    app.platform.file1().close();
}

void fillWith(Module1 &m, const QString &question, const QString &answer)
{
    for (std::size_t q = 1; q <= 10; ++q) {
        m.quest[q] = question;
        m.ansa[q] = m.ansb[q] = m.ansc[q] = m.ansd[q] = answer;
    }
}

struct PdfWord {
    int page = 0;
    QRectF box; // points, from the top-left corner of the sheet
    QString text;
};

// The words of a PDF with their boxes, as pdftotext finds them.
QList<PdfWord> pdfWords(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(html)) {
        if (m.captured(0) == QStringLiteral("<page ")) {
            ++page;
            continue;
        }
        words.append({page,
                      QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                             QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                      m.captured(5)});
    }
    return words;
}

QString withoutSpaces(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class TestPrintouts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void certificateFramesByFixedDistances()
    {
        TestApp app;
        Welldone &results = fullScore(app);
        results.Text1->setText(QStringLiteral("Maria Lopez"));
        results.Label3[0].onClick();
        QCOMPARE(app.printer.documents(), 1);
        const QList<QLineF> drawn = lines(app.printer);
        QCOMPARE(drawn.size(), 5 * 4 + 3 * 4);
        // The outermost frame, the innermost one and the outermost box round the award.
        QVERIFY(drawn.contains(QLineF(45, 270, 10955, 270)));
        QVERIFY(drawn.contains(QLineF(45, 15730, 10955, 15730)));
        QVERIFY(drawn.contains(QLineF(10955, 270, 10955, 15730)));
        QVERIFY(drawn.contains(QLineF(225, 450, 10775, 450)));
        QVERIFY(drawn.contains(QLineF(225, 15550, 10775, 15550)));
        QVERIFY(drawn.contains(QLineF(645, 7320, 10355, 7320)));
        QVERIFY(drawn.contains(QLineF(645, 11980, 10355, 11980)));
        QVERIFY(!drawn.contains(QLineF(780, 7500, 10220, 7500))); // no fourth box
        for (const Op &op : app.printer.ofKind(Op::Line))
            QCOMPARE(op.color, QColor(0, 0, 0));

        const Op title = textOp(app.printer, QStringLiteral("Velmora"));
        QCOMPARE(title.color, QColor(255, 0, 0));
        QCOMPARE(title.points, 36.0);
        QCOMPARE(title.x, (11000 - widthIn(app.printer, QStringLiteral("Velmora"), 36)) / 2);
        const Op name = textOp(app.printer, QStringLiteral("Maria Lopez"));
        QCOMPARE(name.color, QColor(0, 0, 128));
        QCOMPARE(name.x, (11000 - widthIn(app.printer, QStringLiteral("Maria Lopez"), 28)) / 2);
        QVERIFY(textOp(app.printer, QStringLiteral("You have scored 10 out of 10.")).kind == Op::Text);
        QVERIFY(textOp(app.printer, QStringLiteral("Excellent Work")).y < name.y);

        // Both banners start at the left edge, unwrapped; what runs past the right edge
        // is lost, down to the last character that fits whole.
        const QString banner =
            QStringLiteral("   Well Done      Well Done     Well Done     Well Done    ").repeated(2);
        QList<Op> banners;
        for (const Op &op : app.printer.ofKind(Op::Text)) {
            if (op.text.contains(QStringLiteral("Well Done")))
                banners << op;
        }
        QCOMPARE(banners.size(), 2);
        QCOMPARE(banners[0].x, 0.0);
        QVERIFY(banner.startsWith(banners[0].text));
        QCOMPARE(banners[1].text, banners[0].text);
        QVERIFY(widthIn(app.printer, banners[0].text, 25) <= 11000);
        QVERIFY(widthIn(app.printer, banner.left(banners[0].text.size() + 1), 25) > 11000);
        QCOMPARE(banners[0].color, QColor(0, 0, 255));
        QCOMPARE(banners[1].color, QColor(0, 0, 0));

        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, QStringLiteral("Your certificate is now printing."));
    }

    void headingSizeFollowsItsScreenWidth_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<double>("points");
        QTest::newRow("the unit's own heading") << QStringLiteral("Velmora") << 36.0;
        QTest::newRow("a long heading") << QStringLiteral(
            "Velmora: a very long heading for a certificate of this unit on the scientist")
                                        << 28.0;
    }

    void headingSizeFollowsItsScreenWidth()
    {
        QFETCH(QString, heading);
        QFETCH(double, points);
        TestApp app;
        fullScore(app, heading).Label3[0].onClick();
        // (A heading wider than the paper loses what lies past its edges.)
        QList<Op> found;
        for (const Op &op : app.printer.ofKind(Op::Text)) {
            if (!op.text.trimmed().isEmpty() && heading.contains(op.text) && op.color == QColor(0, 0, 255))
                found << op;
        }
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].points, points);
    }

    void emptyNameAndReprints()
    {
        TestApp app;
        Welldone &results = fullScore(app);
        results.Label3[0].onClick();
        const QList<Op> first = app.printer.ops;
        results.Label3[0].onClick();
        QCOMPARE(app.printer.documents(), 2);
        // The second page is the same as the first.
        QCOMPARE(app.printer.ops.size(), 2 * first.size());
        for (qsizetype i = 0; i < first.size(); ++i) {
            QCOMPARE(app.printer.ops[first.size() + i].text, first[i].text);
            QCOMPARE(app.printer.ops[first.size() + i].y, first[i].y);
        }
        // No text for the empty name: the line between the award and the score is empty.
        QStringList texts;
        for (const Op &op : first) {
            if (op.kind == Op::Text && op.text.trimmed().size() > 0)
                texts << op.text;
        }
        QCOMPARE(texts.indexOf(QStringLiteral("Excellent Work")) + 1,
                 texts.indexOf(QStringLiteral("You have scored 10 out of 10.")));
    }

    void certificateFailuresLeaveTheScreen_data()
    {
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::newRow("no printer") << true << 0;
        QTest::newRow("fails while drawing the frames") << false << 20;
    }

    void certificateFailuresLeaveTheScreen()
    {
        QFETCH(bool, noPrinter);
        QFETCH(int, failAt);
        TestApp app;
        app.printer.noPrinter = noPrinter;
        app.printer.failAtDrawing = failAt;
        Welldone &results = fullScore(app);
        results.Text1->setText(QStringLiteral("Sam"));
        results.Label3[0].onClick();
        QCOMPARE(app.printer.documents(), 0);
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, kPrintProblem);
        QVERIFY(results.isVisible());
        QCOMPARE(results.Text1->text(), QStringLiteral("Sam"));
        QVERIFY(!app.platform.printer().inDocument());
    }

    void worksheetLayout()
    {
        TestApp app;
        multiple &quiz = runningQuiz(app);
        for (int i = 0; i < 4; ++i)
            quiz.Label3[1].onClick(); // on question 5
        quiz.Option1[2].setValue(true);
        quiz.Label3[3].onClick(); // Print Worksheet
        QCOMPARE(app.printer.documents(), 1);
        const float w = 11000;
        const Op header = app.printer.ofKind(Op::Text).value(1);
        QCOMPARE(header.text,
                 QStringLiteral("Velmora") + QString(57, QLatin1Char(' ')) + QStringLiteral("Halvorne Publishing Ltd"));
        QCOMPARE(header.x, double(w / 16));
        QCOMPARE(header.points, 16.0);
        QCOMPARE(header.color, QColor(0, 0, 0));
        const Op title = textOp(app.printer, QStringLiteral("The Night Sky"));
        QCOMPARE(title.points, 32.0);
        QCOMPARE(title.x, (11000 - widthIn(app.printer, QStringLiteral("The Night Sky"), 32)) / 2);
        const Op question = textOp(app.printer, QStringLiteral("Question 3    What is number 3?"));
        QCOMPARE(question.x, double(w / 16));
        QCOMPARE(question.points, 12.0);
        // A and C in the left column, B and D in the right one; C and D a line lower.
        const QList<Op> texts = app.printer.ofKind(Op::Text);
        QList<Op> answers;
        for (const Op &op : texts) {
            if (op.y > question.y && answers.size() < 4 && op.text.contains(QStringLiteral(". ")))
                answers << op;
        }
        QCOMPARE(answers[0].text, QStringLiteral("A. one"));
        QCOMPARE(answers[0].x, double(2 * w / 6));
        QCOMPARE(answers[1].text, QStringLiteral("B. two"));
        QCOMPARE(answers[1].x, double(4 * w / 6));
        QCOMPARE(answers[1].y, answers[0].y);
        QCOMPARE(answers[2].text, QStringLiteral("C. three"));
        QVERIFY(answers[2].y > answers[0].y);
        QCOMPARE(answers[3].x, double(4 * w / 6));
        // Ten questions, and the quiz on screen is as it was.
        int questions = 0;
        for (const Op &op : texts)
            questions += op.text.startsWith(QStringLiteral("Question ")) ? 1 : 0;
        QCOMPARE(questions, 10);
        QCOMPARE(app.m.questno, 5);
        QVERIFY(quiz.Option1[2].value());
        QCOMPARE(app.messages.shown.value(0).text, QStringLiteral("Your worksheet is now printing."));
    }

    void printoutsStayInsideThePrintableArea_data()
    {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QString>("printout");
        for (const auto &[name, paper] :
             {std::pair{"A4", QPageSize::A4}, {"Letter", QPageSize::Letter}, {"A5", QPageSize::A5}}) {
            for (const char *printout :
                 {"certificate", "certificate for a long name", "supplied worksheet", "worksheet of long texts"})
                QTest::addRow("%s on %s", printout, name) << printableArea(paper) << QString::fromLatin1(printout);
        }
    }

    void printoutsStayInsideThePrintableArea()
    {
        QFETCH(QSizeF, area);
        QFETCH(QString, printout);
        TestApp app;
        app.printer.size = area;
        if (printout.startsWith(QStringLiteral("certificate"))) {
            Welldone &results = fullScore(app);
            results.Text1->setText(printout.endsWith(QStringLiteral("name")) ? QString(25, QLatin1Char('W'))
                                                                             : QStringLiteral("Maria Lopez"));
            results.Label3[0].onClick();
        } else {
            multiple &quiz = runningQuiz(app);
            if (printout == QStringLiteral("supplied worksheet"))
                useSuppliedQuiz(app);
            else
                fillWith(app.m, longText(200, true), longText(80, false));
            quiz.Label3[3].onClick();
        }
        QCOMPARE(app.printer.documents(), 1);
        const QRectF paper(QPointF(0, 0), area);
        for (const Op &op : app.printer.ops) {
            if (op.kind == Op::Text) {
                const QRectF box(op.x, op.y, app.printer.textWidth(fontOf(op), op.text),
                                 app.printer.lineHeight(fontOf(op)));
                QVERIFY2(box.left() >= 0 && box.top() >= 0 && box.right() <= area.width()
                             && box.bottom() <= area.height(),
                         qPrintable(op.text));
            }
            if (op.kind == Op::Line)
                QVERIFY(paper.contains(QPointF(op.x, op.y)) && paper.contains(QPointF(op.x2, op.y2)));
            QVERIFY2(!op.cut, qPrintable(op.text));
        }
    }

    void answersStayInTheirColumns_data()
    {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QString>("answer"); // empty: the supplied quiz
        for (const auto &[name, paper] : {std::pair{"A4", QPageSize::A4}, {"Letter", QPageSize::Letter}}) {
            const QSizeF area = printableArea(paper);
            QTest::addRow("supplied quiz on %s", name) << area << QString();
            QTest::addRow("30 characters in words on %s", name) << area << longText(30, true);
            QTest::addRow("30 wide letters on %s", name) << area << QString(30, QLatin1Char('W'));
            QTest::addRow("80 characters in words on %s", name) << area << longText(80, true);
            QTest::addRow("80 characters in one word on %s", name) << area << longText(80, false);
        }
    }

    void answersStayInTheirColumns()
    {
        QFETCH(QSizeF, area);
        QFETCH(QString, answer);
        TestApp app;
        app.printer.size = area;
        multiple &quiz = runningQuiz(app);
        if (answer.isEmpty())
            useSuppliedQuiz(app);
        else
            fillWith(app.m, QStringLiteral("Which answer is right?"), answer);
        quiz.Label3[3].onClick();
        QCOMPARE(app.printer.documents(), 1);

        const float w = float(area.width());
        QString left;
        QString right;
        for (const Op &op : app.printer.ofKind(Op::Text)) {
            if (op.points != 12 || op.x < double(2 * w / 6))
                continue;
            const bool inLeft = op.x < double(4 * w / 6);
            const double end = op.x + app.printer.textWidth(fontOf(op), op.text);
            QVERIFY2(inLeft ? end < double(4 * w / 6) : end <= area.width(),
                     qPrintable(QStringLiteral("\"%1\" ends at %2").arg(op.text).arg(end)));
            (inLeft ? left : right) += op.text;
        }
        // Wrapping loses nothing: the columns hold every answer whole, in order.
        QString a;
        QString b;
        for (std::size_t q = 1; q <= 10; ++q) {
            a += QStringLiteral("A. ") + app.m.ansa[q] + QStringLiteral("C. ") + app.m.ansc[q];
            b += QStringLiteral("B. ") + app.m.ansb[q] + QStringLiteral("D. ") + app.m.ansd[q];
        }
        QCOMPARE(withoutSpaces(left), withoutSpaces(a));
        QCOMPARE(withoutSpaces(right), withoutSpaces(b));
    }

    void longWorksheetStartsNewPages_data()
    {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QString>("answer"); // empty: short answers
        QTest::addColumn<int>("pages");
        QTest::newRow("short answers on a short page") << QSizeF(11000, 5000) << QString() << 3;
        QTest::newRow("wrapped answers on a short page") << QSizeF(11000, 5000) << longText(80, true) << 5;
        QTest::newRow("broken words on a short page") << QSizeF(11000, 5000) << longText(80, false) << 5;
        QTest::newRow("wrapped answers on Letter") << printableArea(QPageSize::Letter) << longText(80, true) << 2;
    }

    void longWorksheetStartsNewPages()
    {
        QFETCH(QSizeF, area);
        QFETCH(QString, answer);
        QFETCH(int, pages);
        TestApp app;
        app.printer.size = area;
        multiple &quiz = runningQuiz(app);
        if (!answer.isEmpty())
            fillWith(app.m, QStringLiteral("Which answer is right?"), answer);
        quiz.Label3[3].onClick();
        QCOMPARE(app.printer.documents(), 1);
        QVERIFY(app.printer.ofKind(Op::NewPage).size() >= pages - 1);
        // Nothing runs off the bottom, and a page only ever starts with a question, so
        // each question keeps all its lines on one page.
        bool pageStarted = false;
        int questions = 0;
        for (const Op &op : app.printer.ops) {
            pageStarted = pageStarted || op.kind == Op::NewPage;
            if (op.kind != Op::Text)
                continue;
            const bool question = op.text.startsWith(QStringLiteral("Question "));
            QVERIFY2(op.y + app.printer.lineHeight(fontOf(op)) <= area.height(), qPrintable(op.text));
            QVERIFY2(!pageStarted || question, qPrintable(op.text));
            pageStarted = false;
            questions += question ? 1 : 0;
        }
        QCOMPARE(questions, 10);
    }

    void worksheetFailureIsTold()
    {
        TestApp app;
        app.printer.noPrinter = true;
        multiple &quiz = runningQuiz(app);
        quiz.Label3[3].onClick();
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, kPrintProblem);
        QCOMPARE(app.m.questno, 1);
        QVERIFY(app.forms.loaded<multiple>());
    }

    void printoutsAsPdf_data()
    {
        QTest::addColumn<bool>("certificate");
        QTest::addColumn<int>("paper");
        QTest::newRow("certificate on A4") << true << int(QPageSize::A4);
        QTest::newRow("certificate on Letter") << true << int(QPageSize::Letter);
        QTest::newRow("worksheet on A4") << false << int(QPageSize::A4);
        QTest::newRow("worksheet on Letter") << false << int(QPageSize::Letter);
    }

    // The same program printing through Qt into a PDF: every word lies inside the
    // printable area, and no answer reaches into the next column.
    void printoutsAsPdf()
    {
        QFETCH(bool, certificate);
        QFETCH(int, paper);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrintTarget pdf(dir.path());
        pdf.setPaper(QPageSize(QPageSize::PageSizeId(paper)));
        TestApp app;
        Platform platform(app.root, app.messages, app.shell, app.screen, pdf);
        FormRegistry forms;
        Module1 m(platform, forms);
        if (certificate) {
            m.score = 10;
            m.total = 10;
            m.quizhead = QStringLiteral("Velmora");
            Welldone results(m);
            results.load();
            results.Text1->setText(QStringLiteral("Maria Lopez"));
            results.Printpage();
        } else {
            platform.file1().openForInput(QStringLiteral("multiple\\Ardovin Sevrani.txt"));
            m.loadquiz();
            platform.file1().close();
            multiple quiz(m);
            quiz.load();
            quiz.Label5->setCaption(QStringLiteral("Velmora"));
            quiz.Printpage();
        }
        QCOMPARE(pdf.lastLayout().pageSize().id(), QPageSize::PageSizeId(paper));
        // VELMORA_KEEP_PRINTOUTS=DIR keeps the PDFs (the README's pictures are made of them).
        if (const QString keep = qEnvironmentVariable("VELMORA_KEEP_PRINTOUTS"); !keep.isEmpty()) {
            const QString name =
                QStringLiteral("%1/print-%2-%3.pdf")
                    .arg(keep, certificate ? QStringLiteral("certificate") : QStringLiteral("worksheet"),
                         paper == QPageSize::A4 ? QStringLiteral("a4") : QStringLiteral("letter"));
            QFile::remove(name);
            QFile::copy(pdf.lastFile(), name);
        }

        const QRectF area = pdf.lastLayout().paintRect(QPageLayout::Point);
        const QList<PdfWord> words = pdfWords(pdf.lastFile());
        constexpr double kRounding = 0.1; // points, as pdftotext writes its figures
        QString text;
        for (const PdfWord &word : words) {
            QVERIFY2(area.adjusted(-kRounding, -kRounding, kRounding, kRounding).contains(word.box),
                     qPrintable(word.text));
            text += word.text + QLatin1Char(' ');
        }
        const QStringList order =
            certificate ? QStringList{QStringLiteral("Velmora"), QStringLiteral("Excellent Work"),
                                      QStringLiteral("Maria Lopez"), QStringLiteral("You have scored 10 out of 10.")}
                        : QStringList{QStringLiteral("Halvorne Publishing Ltd"),
                                      QStringLiteral("Question 8 What happened to Ardovin in 1616?"),
                                      QStringLiteral("He was questioned by"), QStringLiteral("Inquisition"),
                                      QStringLiteral("Question 10")};
        qsizetype at = -1;
        for (const QString &part : order) {
            at = text.indexOf(part, at + 1);
            QVERIFY2(at >= 0, qPrintable(part + QStringLiteral(" in ") + text));
        }
        if (certificate)
            return;

        // Lines of answers: below the first question, starting in an answer column.
        const double left = area.left() + area.width() * 2 / 6;
        const double right = area.left() + area.width() * 4 / 6;
        QMap<std::pair<int, qint64>, QList<PdfWord>> lines;
        for (const PdfWord &word : words)
            lines[{word.page, qRound64(word.box.top() * 10)}] << word;
        bool questions = false;
        int answerLines = 0;
        for (const QList<PdfWord> &line : std::as_const(lines)) {
            const PdfWord &first = *std::min_element(line.begin(), line.end(), [](const auto &a, const auto &b) {
                return a.box.left() < b.box.left();
            });
            questions = questions || first.text == QStringLiteral("Question");
            if (!questions || first.box.left() < left - kRounding)
                continue;
            ++answerLines;
            for (const PdfWord &word : line) {
                if (word.box.left() < right - kRounding)
                    QVERIFY2(word.box.right() < right, qPrintable(word.text));
            }
        }
        QVERIFY(answerLines >= 20);
    }
};

QTEST_MAIN(TestPrintouts)
#include "tst_printouts.moc"
