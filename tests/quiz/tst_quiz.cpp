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
using namespace Qt::StringLiterals;

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
        QVERIFY(QTest::qWaitForWindowExposed(&quiz));
        QVERIFY(quiz.Option1[5].hasFocus());

        quiz.Label3[1].onClick();
        quiz.Label3[1].onClick();
        quiz.Option1[app.m.rightans[3].toInt()].setValue(true);
        quiz.Label3[0].onClick(); // back to 2
        QCOMPARE(std::pair(app.m.questno, app.m.marks[3]), std::pair(2, 0));
        QVERIFY(quiz.Option1[5].value());
        quiz.Label3[1].onClick();
        QVERIFY(quiz.Option1[5].value()); // question 3 comes back unselected
        for (int q = 3; q < 10; ++q)
            quiz.Label3[1].onClick();
        quiz.Label3[0].onClick(); // back from 10 restores "Next Question >>"
        QCOMPARE(quiz.Label3[1].caption(), u"Next Question >>"_s);
        QVERIFY(quiz.Label3[0].visible());
        quiz.Label3[1].onClick();
        quiz.Label3[1].onClick(); // Check Score
        QCOMPARE(app.m.score, 0);
        QVERIFY(!app.forms.loaded<multiple>());
        // The wrong answers wait, unseen, with the quiz's title; the results get its heading.
        QVERIFY(!app.forms.loaded<Wrong>()->isVisible());
        QCOMPARE(app.forms.loaded<Wrong>()->Label6->caption(), app.m.worktitle);
        QCOMPARE(app.m.quizhead, u"Velmora"_s);
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
        QCOMPARE(results.Picture1->picture().source(), u"images\\quintaransm.jpg"_s);
        QVERIFY(results.Label3[0].isOpaque());
        QCOMPARE(results.Text1->hasFocus(), full);
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
        QStringList lines;
        for (int q : wrong)
            lines << u" %1. "_s.arg(q) + app.m.quest[std::size_t(q)];
        QCOMPARE(shownLines(list), lines);
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
};

QTEST_MAIN(TestQuiz)
#include "tst_quiz.moc"
