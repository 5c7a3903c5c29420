// The quiz library: the quiz, its results and wrong answers as a pupil meets them, and the
// certificate and worksheet they print (on the recording printer, and through Qt into PDF).
#include "app/ardovin.h"
#include "app/screens.h"
#include "module1/messages.h"
#include "platform/qtprinttarget.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "support/testapp.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"

#include <QFile>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;
using Op = RecordingPrintTarget::Op;

namespace {

// The unit page's quiz, as "Multiple Choice" opens it.
multiple &startQuiz(TestApp &app)
{
    app.forms.ref<ardovin>().Label3[0].onClick();
    return *app.forms.loaded<multiple>();
}

// Answers every question: right unless its number is in `wrong` (then the next option).
void answerAll(TestApp &app, multiple &quiz, const QList<int> &wrong)
{
    for (int q = 1; q <= 10; ++q) {
        const int right = app.m.rightans[q].toInt();
        quiz.Option1[wrong.contains(q) ? right % 4 + 1 : right].setValue(true);
        quiz.Label3[1].onClick();
    }
}

// The supplied quiz on the screen, headed "Velmora"; with a question given, all ten
// questions are that one, each with four times the answer given.
multiple &runningQuiz(Module1 &m, const QString &question = {}, const QString &answer = {})
{
    m.platform().file1().openForInput(u"multiple\\Ardovin Sevrani.txt"_s);
    m.loadquiz();
    m.platform().file1().close();
    for (std::size_t q = 1; !question.isEmpty() && q <= 10; ++q) {
        m.quest[q] = question;
        m.ansa[q] = m.ansb[q] = m.ansc[q] = m.ansd[q] = answer;
    }
    multiple &quiz = m.forms().ref<multiple>();
    quiz.Label5->setCaption(u"Velmora"_s);
    return quiz;
}

// The results after a full score, as the quiz leaves them, with the certificate printed.
Welldone &printCertificate(Module1 &m, const QString &name, const QString &heading = u"Velmora"_s)
{
    m.score = m.total = 10;
    m.quizhead = heading;
    Welldone &results = m.forms().ref<Welldone>();
    results.showForm();
    results.Text1->setText(name);
    results.Label3[0].onClick();
    return results;
}

// How wide the printer prints a text, in twips.
double widthOf(const RecordingPrintTarget &printer, const QString &text, double points,
               const QString &family = u"Times New Roman"_s)
{
    QFont font(family);
    font.setPointSizeF(points);
    return printer.textWidth(font, text);
}

// A text as printed: what, how big, in what colour and from where.
QString described(const QString &text, double points, const QColor &colour, double x)
{
    return u"%1: %2 pt, %3, from %4"_s.arg(text).arg(points).arg(colour.name()).arg(x);
}

// The first text or line that the printer cut at the edge of its printable area (what
// lies wholly outside it is not printed at all).
QString offPaper(const RecordingPrintTarget &printer)
{
    const auto cut = std::find_if(printer.ops.begin(), printer.ops.end(), [](const Op &op) { return op.cut; });
    return cut == printer.ops.end() ? QString() : cut->kind == Op::Line ? u"a line"_s : cut->text;
}

// The printable area of a paper with the 10-point margins of a PDF page, in twips.
QSizeF printableArea(QPageSize::PageSizeId paper)
{
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)).paintRectPixels(1440).size();
}

// A text of exactly `length` characters: words with spaces, or one word without.
QString longText(qsizetype length, bool spaces)
{
    const QString words = spaces ? u"the telescope shows the Moon "_s : u"Wonderfulstargazing"_s;
    return words.repeated(length / words.size() + 1).left(length).trimmed();
}

} // namespace

class TestQuiz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A quiz after earlier ones (one finished, one left by "Exit", which shows no
    // results) starts afresh at question 1, headed by the unit's name, nothing chosen:
    // the no-choice option, hidden under the picture, holds the focus. A choice counts
    // only when the pupil moves on; going back records nothing.
    void oneQuestionAtATime()
    {
        TestApp app;
        answerAll(app, startQuiz(app), {1, 2, 3});
        app.forms.loaded<Welldone>()->Label3[1].onClick();
        TestApp::settle();
        startQuiz(app).Label3[1].onClick();
        app.forms.loaded<multiple>()->Label3[2].onClick(); // Exit
        QVERIFY(!app.forms.loaded<multiple>() && !app.forms.loaded<Welldone>());
        TestApp::settle();
        multiple &quiz = startQuiz(app);
        QCOMPARE(std::tuple(app.m.score, app.m.total, app.m.questno), std::tuple(0, 10, 1));
        QCOMPARE(QStringList({quiz.Label5->caption(), quiz.Label6->caption(), quiz.Label4->caption(),
                              quiz.Label2->caption(), quiz.Option1[3].caption()}),
                 QStringList({u"Velmora"_s, app.m.worktitle, u"Question 1"_s, app.m.quest[1], app.m.ansc[1]}));
        QCOMPARE(quiz.Picture1->picture().source(), u"images\\ardovin1sm.jpg"_s);
        QVERIFY(!quiz.Label3[0].visible() && quiz.Option1[5].value());
        QVERIFY(QTest::qWaitForWindowExposed(&quiz) && quiz.Option1[5].hasFocus());

        quiz.Label3[1].onClick();
        quiz.Label3[1].onClick();
        quiz.Option1[app.m.rightans[3].toInt()].setValue(true);
        quiz.Label3[0].onClick(); // back to 2
        QCOMPARE(std::tuple(app.m.questno, app.m.marks[3], quiz.Option1[5].value()), std::tuple(2, 0, true));
        quiz.Label3[1].onClick();
        QVERIFY(quiz.Option1[5].value()); // question 3 comes back unselected
        for (int q = 3; q < 10; ++q)
            quiz.Label3[1].onClick();
        quiz.Label3[0].onClick(); // back from 10 restores "Next Question >>"
        QCOMPARE(std::pair(quiz.Label3[1].caption(), quiz.Label3[0].visible()), std::pair(u"Next Question >>"_s, true));
        quiz.Label3[1].onClick();
        quiz.Label3[1].onClick(); // Check Score
        QVERIFY(app.m.score == 0 && !app.forms.loaded<multiple>());
        // The wrong answers wait, unseen, with the quiz's title; the results get its heading.
        const Wrong *list = app.forms.loaded<Wrong>();
        QCOMPARE(std::tuple(list->isVisible(), list->Label6->caption(), app.m.quizhead),
                 std::tuple(false, app.m.worktitle, u"Velmora"_s));
    }

    void results_data()
    {
        QTest::addColumn<QList<int>>("wrong");
        QTest::addColumn<QString>("message");
        QTest::newRow("10") << QList<int>{} << u"Excellent work. You have scored 10 out of 10."_s;
        QTest::newRow("9") << QList<int>{9} << u"Good work. You have scored 9 out of 10."_s;
        QTest::newRow("8") << QList<int>{2, 7} << u"Good work. You have scored 8 out of 10."_s;
        QTest::newRow("7") << QList<int>{1, 4, 10} << u"You have scored 7 out of 10."_s;
        QTest::newRow("0") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << u"You have scored 0 out of 10."_s;
    }

    // The score in one of three wordings; for a full score the name box (25 characters)
    // and "Print Certificate", else "Check Wrong Answers", which (pressed twice) shows one
    // list of the wrong answers in order, on top. "Exit" on that list, or on the results
    // with the list never shown, closes both.
    void results()
    {
        QFETCH(QList<int>, wrong);
        QFETCH(QString, message);
        TestApp app;
        answerAll(app, startQuiz(app), wrong);
        Welldone &results = *app.forms.loaded<Welldone>();
        QCOMPARE(results.Label1->caption(), message);
        const bool full = wrong.isEmpty();
        QCOMPARE(results.Label3[0].caption(), full ? u"Print Certificate"_s : u"Check Wrong Answers"_s);
        QVERIFY(results.Label3[0].visible() && results.Label5->visible());
        QCOMPARE(std::tuple(results.Text1->visible(), results.Label2->visible(), results.Label5->caption().isEmpty()),
                 std::tuple(full, full, full));

        // The picture comes with the first tick; the entries light up and the name box
        // takes the focus with the second.
        QVERIFY(results.Picture1->picture().isNull());
        QVERIFY(QTest::qWaitForWindowExposed(&results));
        results.Label3[0].setBackStyle(BackStyle::Transparent);
        QTRY_VERIFY(!results.Timer2->enabled() && !results.Timer1->enabled());
        QCOMPARE(std::tuple(results.Picture1->picture().source(), results.Label3[0].isOpaque(),
                            results.Text1->hasFocus()),
                 std::tuple(u"images\\quintaransm.jpg"_s, true, full));
        if (full) { // a name of 25 characters at most
            QTest::keyClicks(results.Text1->widget(), u"Abcdefghijklmnopqrstuvwxyz"_s);
            QCOMPARE(results.Text1->text(), u"Abcdefghijklmnopqrstuvwxy"_s);
        }

        Wrong &list = *app.forms.loaded<Wrong>();
        if (!full) {
            results.Label3[0].onClick();
            results.Label3[0].onClick();
            QCOMPARE(app.forms.stackingOrder().last(), &list);
        }
        QStringList lines, shown;
        for (int q : wrong)
            lines << u" %1. "_s.arg(q) + app.m.quest[std::size_t(q)];
        for (const auto &[index, line] : list.Label2) {
            if (line->visible())
                shown << line->caption();
        }
        QCOMPARE(shown, lines);
        (full ? results.Label3[1] : list.Label3[1]).onClick();
        QVERIFY(!app.forms.loaded<Wrong>() && !app.forms.loaded<Welldone>());
    }

    // A damaged worksheet's correct answer that is not 1 to 4 can never be chosen; "5"
    // would otherwise be the covered no-choice option, selected when nothing is chosen.
    void rightAnswersThatAreNotOneToFour_data()
    {
        QTest::addColumn<QString>("rightans");
        for (const char *rightans : {"0", "5", "B", "", "99999999999"})
            QTest::newRow(rightans) << QString::fromLatin1(rightans);
    }

    void rightAnswersThatAreNotOneToFour()
    {
        QFETCH(QString, rightans);
        TestApp app;
        multiple &quiz = startQuiz(app);
        app.m.rightans[1] = rightans;
        quiz.Label3[1].onClick(); // nothing chosen: the no-choice option is selected
        QCOMPARE(app.m.marks[1], 0);
    }

    void certificate_data()
    {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("name");
        QTest::newRow("the unit's heading, a name, on A4")
            << printableArea(QPageSize::A4) << u"Velmora"_s << 36.0 << u"Maria Lopez"_s;
        // A heading wider on screen than a quarter of the page prints smaller (and loses
        // what lies past the paper's edges).
        QTest::newRow("a long heading, no name, on Letter")
            << printableArea(QPageSize::Letter)
            << u"Velmora: a very long heading for a certificate of this unit on the scientist"_s << 28.0 << QString();
    }

    // Five frames and three boxes round the award in black, at fixed distances from the
    // paper's edges; the title in red and the award in navy, centred; the heading in
    // light blue; the banners cut at the right edge; nothing outside the printable area.
    void certificate()
    {
        QFETCH(QSizeF, area);
        QFETCH(QString, heading);
        QFETCH(double, points);
        QFETCH(QString, name);
        TestApp app;
        app.printer.size = area;
        printCertificate(app.m, name, heading);
        QCOMPARE(std::tuple(app.printer.documents(), app.messages.shown.value(0).text, offPaper(app.printer)),
                 std::tuple(1, u"Your certificate is now printing."_s, QString()));
        const double w = area.width(), h = area.height();
        QList<QLineF> drawn;
        for (const Op &op : app.printer.ofKind(Op::Line)) {
            drawn << QLineF(op.x, op.y, op.x2, op.y2);
            QCOMPARE(op.color, QColor(0, 0, 0));
        }
        QCOMPARE(drawn.size(), 5 * 4 + 3 * 4);
        // The outermost frame, the innermost one and the outermost box round the award.
        for (const QLineF &line :
             {QLineF(45, 270, w - 45, 270), QLineF(45, h - 270, w - 45, h - 270), QLineF(w - 45, 270, w - 45, h - 270),
              QLineF(225, 450, w - 225, 450), QLineF(225, h - 450, w - 225, h - 450), QLineF(645, 7320, w - 645, 7320),
              QLineF(645, h - 4020, w - 645, h - 4020)})
            QVERIFY(drawn.contains(line));

        QStringList award; // no line for an empty name
        QList<double> headings;
        QList<Op> banners;
        for (const Op &op : app.printer.ofKind(Op::Text)) {
            if (op.text.trimmed().isEmpty())
                continue;
            if (op.text.contains(u"Well Done"_s))
                banners << op;
            else if (op.color == QColor(0, 0, 255))
                headings << op.points;
            else
                award << described(op.text, op.points, op.color, op.x);
        }
        QCOMPARE(headings, QList<double>{points});
        const auto centred = [&app, w](const QString &text, double size, const QColor &colour) {
            return described(text, size, colour, (w - widthOf(app.printer, text, size)) / 2);
        };
        const QColor navy(0, 0, 128);
        QStringList expected{centred(u"Velmora"_s, 36, QColor(255, 0, 0)), centred(u"Excellent Work"_s, 28, navy)};
        if (!name.isEmpty())
            expected << centred(name, 28, navy);
        QCOMPARE(award, expected << centred(u"You have scored 10 out of 10."_s, 28, navy));

        // Both banners start at the left edge, unwrapped; what runs past the right edge
        // is lost, down to the last character that fits whole.
        const QString banner = u"   Well Done      Well Done     Well Done     Well Done    "_s.repeated(2);
        QCOMPARE(banners.size(), 2);
        QCOMPARE(std::tuple(banners[0].x, banners[0].color, banners[1].text, banners[1].color),
                 std::tuple(0.0, QColor(0, 0, 255), banners[0].text, QColor(0, 0, 0)));
        QVERIFY(banner.startsWith(banners[0].text));
        QVERIFY(widthOf(app.printer, banner.left(banners[0].text.size() + 1), 25) > w);
    }

    void printFailuresAreTold_data()
    {
        QTest::addColumn<bool>("certificate");
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::newRow("certificate, no printer") << true << true << 0;
        QTest::newRow("certificate, fails while drawing the frames") << true << false << 20;
        QTest::newRow("worksheet, no printer") << false << true << 0;
        QTest::newRow("worksheet, fails on a question") << false << false << 10;
    }

    // Nothing is printed, the problem is told once, and the screen stays as it was.
    void printFailuresAreTold()
    {
        QFETCH(bool, certificate);
        QFETCH(bool, noPrinter);
        QFETCH(int, failAt);
        TestApp app;
        app.printer.noPrinter = noPrinter;
        app.printer.failAtDrawing = failAt;
        if (certificate)
            QCOMPARE(printCertificate(app.m, u"Sam"_s).Text1->text(), u"Sam"_s);
        else
            runningQuiz(app.m).Label3[3].onClick();
        QVERIFY(certificate ? app.forms.loaded<Welldone>()->isVisible() : app.forms.loaded<multiple>() != nullptr);
        QCOMPARE(std::tuple(app.printer.documents(), app.messages.shown.size(), app.platform.printer().inDocument()),
                 std::tuple(0, qsizetype(1), false));
        QCOMPARE(app.messages.shown[0].text, kPrintProblem);
    }

    void worksheet_data()
    {
        QTest::addColumn<QSizeF>("area");
        QTest::addColumn<QString>("question"); // empty: the supplied quiz
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("pages"); // at least
        // Each paper is as good as another for most cases; a narrow one cuts the header.
        const QSizeF a4 = printableArea(QPageSize::A4), a5 = printableArea(QPageSize::A5);
        const QSizeF letter = printableArea(QPageSize::Letter), shortPage(11000, 5000);
        const QString question = u"Which answer is right?"_s;
        QTest::newRow("supplied quiz on A4") << a4 << QString() << QString() << 1;
        QTest::newRow("supplied quiz on A5") << a5 << QString() << QString() << 1;
        QTest::newRow("200-character questions, 80-letter words on A5")
            << a5 << longText(200, true) << longText(80, false) << 1;
        QTest::newRow("30 characters in words on A4") << a4 << question << longText(30, true) << 1;
        QTest::newRow("30 wide letters on Letter") << letter << question << QString(30, QLatin1Char('W')) << 1;
        QTest::newRow("80 characters in words on Letter") << letter << question << longText(80, true) << 2;
        QTest::newRow("80 characters in one word on A4") << a4 << question << longText(80, false) << 1;
        QTest::newRow("short answers on a short page") << shortPage << question << u"one"_s << 3;
        QTest::newRow("wrapped answers on a short page") << shortPage << question << longText(80, true) << 5;
        QTest::newRow("broken words on a short page") << shortPage << question << longText(80, false) << 5;
    }

    // The header (cut at the right edge of a narrow paper) and the headings centred, then
    // each question with its answers in two columns, A and C left, B and D level with
    // them on the right. Questions and answers wrap inside their columns and lose
    // nothing; a page only ever starts with a question, so a question keeps its answers
    // on its page. The quiz on the screen stays as it was.
    void worksheet()
    {
        QFETCH(QSizeF, area);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(int, pages);
        TestApp app;
        app.printer.size = area;
        multiple &quiz = runningQuiz(app.m, question, answer);
        quiz.Label3[1].onClick();
        quiz.Option1[2].setValue(true);
        quiz.Label3[3].onClick(); // Print Worksheet
        QCOMPARE(std::pair(app.m.questno, quiz.Option1[2].value()), std::pair(2, true));
        QCOMPARE(std::tuple(app.printer.documents(), app.messages.shown.value(0).text, offPaper(app.printer)),
                 std::tuple(1, u"Your worksheet is now printing."_s, QString()));
        QVERIFY(app.printer.ofKind(Op::NewPage).size() >= pages - 1);

        const float w = float(area.width()); // the printout works in single precision
        Op header;
        QStringList headings;
        QString columns[3]; // questions, A and C, B and D
        double rowTop = 0;
        bool pageStarted = false;
        for (const Op &op : app.printer.ops) {
            pageStarted = pageStarted || op.kind == Op::NewPage;
            const bool big = op.kind == Op::Text && op.points != 12 && !op.text.trimmed().isEmpty();
            if (big && op.points == 16)
                header = op;
            else if (big)
                headings << described(op.text, op.points, op.color, op.x);
            if (op.kind != Op::Text || op.points != 12)
                continue;
            QVERIFY2(!pageStarted || op.text.startsWith(u"Question "_s), qPrintable(op.text));
            pageStarted = false;
            const int column = op.x < double(2 * w / 6) ? 0 : op.x < double(4 * w / 6) ? 1 : 2;
            columns[column] += op.text;
            const double end = op.x + widthOf(app.printer, op.text, op.points, op.family);
            QVERIFY2(column != 1 || end < double(4 * w / 6), qPrintable(op.text));
            if (op.text.startsWith(u"Question "_s))
                QCOMPARE(op.x, double(w / 16));
            if (column > 0 && QRegularExpression(u"^[ABCD]\\. "_s).match(op.text).hasMatch()) {
                QCOMPARE(op.x, double(2 * column * w / 6));
                QCOMPARE(op.y, column == 1 ? (rowTop = op.y) : rowTop);
            }
        }
        const QString full = u"Velmora"_s + QString(57, QLatin1Char(' ')) + u"Halvorne Publishing Ltd"_s;
        QCOMPARE(described(header.text, header.points, header.color, header.x),
                 described(full.left(header.text.size()), 16, QColor(0, 0, 0), double(w / 16)));
        QVERIFY(header.text.contains(u"Halvorne"_s));
        const auto centred = [&app, w](const QString &text) {
            return described(text, 32, QColor(0, 0, 0), (w - widthOf(app.printer, text, 32)) / 2);
        };
        QCOMPARE(headings, QStringList({centred(u"Velmora"_s), centred(app.m.worktitle)}));
        QString expected[3];
        for (std::size_t q = 1; q <= 10; ++q) {
            expected[0] += u"Question %1"_s.arg(q) + app.m.quest[q];
            expected[1] += u"A. "_s + app.m.ansa[q] + u"C. "_s + app.m.ansc[q];
            expected[2] += u"B. "_s + app.m.ansb[q] + u"D. "_s + app.m.ansd[q];
        }
        static const QRegularExpression space(u"\\s"_s);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(columns[c].remove(space), expected[c].remove(space));
    }

    void printoutsAsPdf_data()
    {
        QTest::addColumn<bool>("certificate");
        QTest::addColumn<int>("paper");
        // VELMORA_KEEP_PRINTOUTS=DIR keeps the PDFs as DIR/print-TAG.pdf (the README's
        // pictures are made of them).
        QTest::newRow("certificate-a4") << true << int(QPageSize::A4);
        QTest::newRow("certificate-letter") << true << int(QPageSize::Letter);
        QTest::newRow("worksheet-a4") << false << int(QPageSize::A4);
        QTest::newRow("worksheet-letter") << false << int(QPageSize::Letter);
    }

    // The same program printing through Qt into a PDF: every word lies inside the
    // printable area, in order. (That answers keep to their columns is checked on the
    // recording printer, whose text widths are a real printer's.)
    void printoutsAsPdf()
    {
        QFETCH(bool, certificate);
        QFETCH(int, paper);
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QtPrintTarget pdf(dir.path());
        pdf.setPaper(QPageSize(QPageSize::PageSizeId(paper)));
        TestApp app;
        Platform platform(app.root, app.messages, app.shell, app.screen, pdf);
        FormRegistry forms;
        Module1 m(platform, forms);
        defineScreens(forms, m);
        if (certificate)
            printCertificate(m, u"Maria Lopez"_s);
        else
            runningQuiz(m).Label3[3].onClick();
        QCOMPARE(pdf.lastLayout().pageSize().id(), QPageSize::PageSizeId(paper));
        if (const QString keep = qEnvironmentVariable("VELMORA_KEEP_PRINTOUTS"); !keep.isEmpty()) {
            const QString name = u"%1/print-%2.pdf"_s.arg(keep, QString::fromLatin1(QTest::currentDataTag()));
            QFile::remove(name);
            QFile::copy(pdf.lastFile(), name);
        }

        // The words with their boxes in points from the sheet's top-left corner, as
        // pdftotext finds them (it writes its figures to a tenth of a point).
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-bbox"_s, pdf.lastFile(), u"-"_s});
        QVERIFY(pdftotext.waitForFinished(30000));
        static const QRegularExpression word(
            u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"_s);
        const QRectF area = pdf.lastLayout().paintRect(QPageLayout::Point).adjusted(-0.1, -0.1, 0.1, 0.1);
        QString text;
        for (const QRegularExpressionMatch &m :
             word.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput()))) {
            QVERIFY2(area.contains(QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                          QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))),
                     qPrintable(m.captured(5)));
            text += m.captured(5) + QLatin1Char(' ');
        }
        static const QRegularExpression certificateOrder(
            u"Velmora .*Excellent Work .*Maria Lopez .*You have scored 10 out of 10\\."_s);
        static const QRegularExpression worksheetOrder(
            u"Halvorne Publishing Ltd .*Question 8 What happened to Ardovin "
            u"in 1616\\? .*He was questioned by .*Inquisition .*Question 10 "_s);
        QVERIFY2((certificate ? certificateOrder : worksheetOrder).match(text).hasMatch(), qPrintable(text));
    }
};

QTEST_MAIN(TestQuiz)
#include "tst_quiz.moc"
