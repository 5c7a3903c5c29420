#include "app/ardovin.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "support/testapp.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

// A quiz set whose right answers run A, B, C, D, A, ...
void fillQuiz(Module1 &m)
{
    m.worktitle = QStringLiteral("Planets, moons");
    for (std::size_t q = 1; q <= 10; ++q) {
        m.quest[q] = QStringLiteral("Question text %1").arg(q);
        m.ansa[q] = QStringLiteral("A%1").arg(q);
        m.ansb[q] = QStringLiteral("B%1").arg(q);
        m.ansc[q] = QStringLiteral("C%1").arg(q);
        m.ansd[q] = QStringLiteral("D%1").arg(q);
        m.rightans[q] = QString::number((q - 1) % 4 + 1);
    }
}

multiple &startQuiz(TestApp &app)
{
    fillQuiz(app.m);
    multiple &quiz = app.forms.ref<multiple>();
    quiz.Label5->setCaption(QStringLiteral("Velmora"));
    quiz.showForm();
    return quiz;
}

int chosen(const multiple &quiz)
{
    for (int i = 1; i <= 5; ++i) {
        if (quiz.Option1[i].value())
            return i;
    }
    return 0;
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

QStringList shownLines(const Wrong &wrong)
{
    QStringList out;
    for (const auto &[index, line] : wrong.Label2) {
        if (line->visible())
            out << line->caption();
    }
    return out;
}

} // namespace

class TestQuiz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsAtQuestionOne()
    {
        TestApp app;
        app.m.score = 7;
        multiple &quiz = startQuiz(app);
        QCOMPARE(app.m.score, 0);
        QCOMPARE(app.m.total, 10);
        QCOMPARE(app.m.questno, 1);
        QCOMPARE(quiz.Label4->caption(), QStringLiteral("Question 1"));
        QCOMPARE(quiz.Label2->caption(), QStringLiteral("Question text 1"));
        QCOMPARE(quiz.Label6->caption(), QStringLiteral("Planets, moons"));
        QCOMPARE(quiz.Option1[3].caption(), QStringLiteral("C1"));
        QVERIFY(!quiz.Label3[0].visible());
        QCOMPARE(chosen(quiz), 5);
        QCOMPARE(QPointF(quiz.Option1[5].left(), quiz.Option1[5].top()), QPointF(7080, 480));
        QVERIFY(QTest::qWaitForWindowExposed(&quiz));
        QVERIFY(quiz.Option1[5].hasFocus());
    }

    void forwardWithoutChoosing()
    {
        TestApp app;
        multiple &quiz = startQuiz(app);
        for (int q = 1; q <= 10; ++q) {
            QCOMPARE(quiz.Label3[1].caption(),
                     q == 10 ? QStringLiteral("Check Score >>") : QStringLiteral("Next Question >>"));
            quiz.Label3[1].onClick();
        }
        QCOMPARE(app.m.score, 0);
        QCOMPARE(app.m.questno, 11);
        QVERIFY(!app.forms.loaded<multiple>());
        const QStringList lines = shownLines(*app.forms.loaded<Wrong>());
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.first(), QStringLiteral(" 1. Question text 1"));
        QCOMPARE(lines.last(), QStringLiteral(" 10. Question text 10"));
        QVERIFY(!app.forms.loaded<Wrong>()->isVisible());
        QCOMPARE(app.forms.loaded<Wrong>()->Label6->caption(), QStringLiteral("Planets, moons"));
        QCOMPARE(app.m.quizhead, QStringLiteral("Velmora"));
    }

    void backwardRecordsNothing()
    {
        TestApp app;
        multiple &quiz = startQuiz(app);
        quiz.Label3[1].onClick(); // question 1 wrong (nothing chosen)
        quiz.Label3[1].onClick(); // question 2
        quiz.Option1[3].setValue(true); // the right answer of question 3
        quiz.Label3[0].onClick(); // back to 2
        QCOMPARE(app.m.questno, 2);
        QCOMPARE(app.m.marks[3], 0);
        QCOMPARE(chosen(quiz), 5);
        quiz.Label3[1].onClick(); // question 2 left without a choice
        QCOMPARE(app.m.marks[2], 0);
        QCOMPARE(app.m.questno, 3);
        QCOMPARE(chosen(quiz), 5); // question 3 comes back unselected
        // Going back from 10 restores "Next Question >>".
        for (int q = 3; q < 10; ++q)
            quiz.Label3[1].onClick();
        quiz.Label3[0].onClick();
        QCOMPARE(quiz.Label3[1].caption(), QStringLiteral("Next Question >>"));
        QVERIFY(quiz.Label3[0].visible());
    }

    void scoresAndWrongLines()
    {
        TestApp app;
        answerAll(app, startQuiz(app), {2, 7});
        QCOMPARE(app.m.score, 8);
        Wrong &wrong = *app.forms.loaded<Wrong>();
        QCOMPARE(shownLines(wrong),
                 QStringList({QStringLiteral(" 2. Question text 2"), QStringLiteral(" 7. Question text 7")}));
        QCOMPARE(wrong.Label2[1].top(), 2280.0);
    }

    void rightAnswersThatAreNotOneToFour_data()
    {
        QTest::addColumn<QString>("rightans");
        QTest::newRow("zero") << QStringLiteral("0");
        QTest::newRow("five, the no-choice option") << QStringLiteral("5");
        QTest::newRow("letter") << QStringLiteral("B");
        QTest::newRow("empty") << QString();
        QTest::newRow("huge") << QStringLiteral("99999999999");
    }

    void rightAnswersThatAreNotOneToFour()
    {
        QFETCH(QString, rightans);
        TestApp app;
        multiple &quiz = startQuiz(app);
        app.m.rightans[1] = rightans;
        quiz.Label3[1].onClick(); // nothing chosen: option 5 is selected
        QCOMPARE(app.m.marks[1], 0);
    }

    void resultWordings_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("entry");
        QTest::newRow("10") << 10 << QStringLiteral("Excellent work. You have scored 10 out of 10.")
                            << QStringLiteral("Print Certificate");
        QTest::newRow("9") << 9 << QStringLiteral("Good work. You have scored 9 out of 10.")
                           << QStringLiteral("Check Wrong Answers");
        QTest::newRow("8") << 8 << QStringLiteral("Good work. You have scored 8 out of 10.")
                           << QStringLiteral("Check Wrong Answers");
        QTest::newRow("7") << 7 << QStringLiteral("You have scored 7 out of 10.")
                           << QStringLiteral("Check Wrong Answers");
        QTest::newRow("0") << 0 << QStringLiteral("You have scored 0 out of 10.")
                           << QStringLiteral("Check Wrong Answers");
    }

    void resultWordings()
    {
        QFETCH(int, score);
        QFETCH(QString, message);
        QFETCH(QString, entry);
        TestApp app;
        QList<int> wrongOnes;
        for (int q = 1; q <= 10 - score; ++q)
            wrongOnes << q;
        answerAll(app, startQuiz(app), wrongOnes);
        Welldone &results = *app.forms.loaded<Welldone>();
        QVERIFY(results.isVisible());
        QCOMPARE(results.Label1->caption(), message);
        QCOMPARE(results.Label3[0].caption(), entry);
        QVERIFY(results.Label3[0].visible() && results.Label5->visible());
        const bool full = score == 10;
        QCOMPARE(results.Text1->visible(), full);
        QCOMPARE(results.Label2->visible(), full);
        QCOMPARE(results.Label5->caption().isEmpty(), full);

        QVERIFY(results.Picture1->picture().isNull()); // the picture comes with the first tick
        QVERIFY(QTest::qWaitForWindowExposed(&results));
        results.Label3[0].setBackStyle(BackStyle::Transparent);
        QTRY_VERIFY(!results.Timer2->enabled() && !results.Timer1->enabled());
        QCOMPARE(results.Picture1->picture().source(), QStringLiteral("images\\quintaransm.jpg"));
        QVERIFY(results.Label3[0].isOpaque());
        QCOMPARE(results.Text1->hasFocus(), full);
    }

    void nameBoxTakesTwentyFiveCharacters()
    {
        TestApp app;
        answerAll(app, startQuiz(app), {});
        Welldone &results = *app.forms.loaded<Welldone>();
        QVERIFY(QTest::qWaitForWindowExposed(&results));
        results.Text1->setFocus();
        QTest::keyClicks(results.Text1->widget(), QStringLiteral("Abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(results.Text1->text(), QStringLiteral("Abcdefghijklmnopqrstuvwxy"));
    }

    void checkWrongAnswersTwiceAndExitClosesBoth()
    {
        TestApp app;
        answerAll(app, startQuiz(app), {4, 9});
        Welldone &results = *app.forms.loaded<Welldone>();
        results.Label3[0].onClick();
        Wrong *wrong = app.forms.loaded<Wrong>();
        QVERIFY(wrong->isVisible());
        const QStringList before = shownLines(*wrong);
        results.Label3[0].onClick();
        QCOMPARE(app.forms.loaded<Wrong>(), wrong);
        QCOMPARE(shownLines(*wrong), before);
        QCOMPARE(app.forms.stackingOrder().last(), wrong);
        wrong->Label3[1].onClick(); // "Exit" on the list closes the results too
        QVERIFY(!app.forms.loaded<Wrong>() && !app.forms.loaded<Welldone>());

        TestApp::settle();
        answerAll(app, startQuiz(app), {1});
        app.forms.loaded<Welldone>()->Label3[1].onClick(); // "Exit" on the results, list never shown
        QVERIFY(!app.forms.loaded<Wrong>() && !app.forms.loaded<Welldone>());
    }

    void newQuizStartsFresh()
    {
        TestApp app;
        answerAll(app, startQuiz(app), {1, 2, 3});
        app.forms.loaded<Welldone>()->Label3[1].onClick();
        TestApp::settle();
        multiple &again = startQuiz(app);
        QCOMPARE(app.m.score, 0);
        QCOMPARE(app.m.questno, 1);
        QCOMPARE(again.Label4->caption(), QStringLiteral("Question 1"));
        again.Label3[2].onClick(); // Exit: no results
        QVERIFY(!app.forms.loaded<multiple>() && !app.forms.loaded<Welldone>());
        answerAll(app, startQuiz(app), {5});
        QVERIFY(shownLines(*app.forms.loaded<Wrong>()).size() == 1);
    }

    void wholeQuizWithRoutedClicks()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        QVERIFY(showAndExpose(page));
        const auto centreOf = [](const Control &c) {
            return QPointF(c.left() + c.width() / 2, c.top() + c.height() / 2);
        };
        clickAt(page, centreOf(page.Label3[0]).x(), centreOf(page.Label3[0]).y());
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowExposed(quiz));
        QCOMPARE(quiz->Label5->caption(), QStringLiteral("Velmora"));
        QCOMPARE(quiz->Picture1->picture().source(), QStringLiteral("images\\ardovin1sm.jpg"));
        for (int q = 1; q <= 10; ++q) {
            // Question 6 is answered wrongly on purpose.
            const int right = app.m.rightans[q].toInt();
            const OptionButton &option = quiz->Option1[q == 6 ? right % 4 + 1 : right];
            clickAt(*quiz, option.left() + option.width() - 10, option.top() + option.height() / 2);
            clickAt(*quiz, centreOf(quiz->Label3[1]).x(), centreOf(quiz->Label3[1]).y());
        }
        QCOMPARE(app.m.score, 9);
        Welldone *results = app.forms.loaded<Welldone>();
        QVERIFY(results && QTest::qWaitForWindowExposed(results));
        TestApp::settle();
        clickAt(*results, centreOf(results->Label3[0]).x(), centreOf(results->Label3[0]).y());
        Wrong *wrong = app.forms.loaded<Wrong>();
        QVERIFY(wrong && QTest::qWaitForWindowExposed(wrong));
        QCOMPARE(shownLines(*wrong).size(), 1);
        QVERIFY(shownLines(*wrong).first().startsWith(QStringLiteral(" 6. ")));
        clickAt(*wrong, centreOf(wrong->Label3[1]).x(), centreOf(wrong->Label3[1]).y());
        QVERIFY(!app.forms.loaded<Wrong>() && !app.forms.loaded<Welldone>());
        QCOMPARE(app.forms.stackingOrder().last(), &page);
    }
};

QTEST_MAIN(TestQuiz)
#include "tst_quiz.moc"
