#include "activities/ardovinord.h"
#include "activities/dragboard.h"
#include "activities/telescope.h"
#include "app/ardovin.h"
#include "support/testapp.h"
#include "toolkit/label.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// Either activity: its screen, its board, the labels to drag, their boxes, the buttons
// ("Exit", "Start Again", "Check Score") and the score.
struct Activity {
    Form &screen;
    DragBoard &board;
    ControlArray<Label> &labels;
    ControlArray<Label> &boxes;
    ControlArray<Label> &buttons;
    Label &score;
};

Activity open(TestApp &app, bool timeline)
{
    if (timeline) {
        ardovinord &s = app.forms.ref<ardovinord>();
        return {s, s.board(), s.Label2, s.Label1, s.Label3, *s.Label5};
    }
    telescope &s = app.forms.ref<telescope>();
    return {s, s.board(), s.Label2, s.Label1, s.Label3, *s.Label6};
}

QPointF at(const Label &label)
{
    return {label.left(), label.top()};
}

// Drops label i with its top-left corner at `corner`, as a release there would.
void dropAt(const Activity &a, int i, QPointF corner)
{
    a.labels[i].move(corner.x(), corner.y());
    a.board.drop(i);
}

// Routed events: the buttons pressed on the label, a move out of the window and on to
// the middle of the box (Qt Test moves with its pressed buttons held), a release there.
void routedDrag(const Activity &a, const Label &label, const Label &box, Qt::MouseButtons buttons)
{
    QWindow *window = a.screen.windowHandle();
    const QPoint target = test::at(box.left() + box.width() / 2, box.top() + box.height() / 2);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        if (buttons & button)
            QTest::mousePress(window, button, Qt::NoModifier, test::at(label.left() + 100, label.top() + 100));
    }
    QTest::mouseMove(window, QPoint(-40, 300)); // the label keeps the pointer
    QTest::mouseMove(window, target);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        if (buttons & button)
            QTest::mouseRelease(window, button, Qt::NoModifier, target);
    }
}

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dropWindows_data()
    {
        QTest::addColumn<bool>("timeline");
        QTest::addColumn<int>("label");
        QTest::addColumn<QPointF>("corner");
        QTest::addColumn<QPointF>("expected"); // where the label ends up
        QTest::newRow("telescope: just inside box 0") << false << 0 << QPointF(683, 100) << QPointF(1545, 120);
        QTest::newRow("telescope: just outside box 0") << false << 0 << QPointF(682, 100) << QPointF(682, 100);
        QTest::newRow("telescope: box 0 before box 1") << false << 2 << QPointF(3000, 100) << QPointF(1545, 120);
        QTest::newRow("telescope: right edge excluded") << false << 0 << QPointF(3270, 100) << QPointF(3465, 120);
        QTest::newRow("telescope: below box 0 excluded") << false << 0 << QPointF(1545, 495) << QPointF(1545, 495);
        QTest::newRow("telescope: other home slot") << false << 0 << QPointF(2100, 6300) << QPointF(2040, 6240);
        QTest::newRow("timeline: box 1") << true << 3 << QPointF(7000, 200) << QPointF(8400, 480);
        QTest::newRow("timeline: home 0 before home 1") << true << 4 << QPointF(1300, 2600) << QPointF(1200, 2040);
        QTest::newRow("timeline: half a twip outside") << true << 3 << QPointF(6862.5, 200) << QPointF(6862.5, 200);
    }

    void dropWindows()
    {
        QFETCH(bool, timeline);
        QFETCH(int, label);
        QFETCH(QPointF, corner);
        QFETCH(QPointF, expected);
        TestApp app;
        const Activity a = open(app, timeline);
        dropAt(a, label, corner);
        QCOMPARE(at(a.labels[label]), expected);
    }

    void scoring_data()
    {
        QTest::addColumn<bool>("timeline");
        QTest::addColumn<QList<int>>("moves"); // a label, the box it goes to, ...
        QTest::addColumn<QString>("score");
        QTest::newRow("telescope: two key words swapped") << false << QList<int>{0, 1, 1, 0} << u"4 out of 6 correct"_s;
        QTest::newRow("timeline: two events in one box") << true << QList<int>{2, 1} << u"5 out of 6 correct"_s;
    }

    // With every label on a box (two may share one) "Check Score" shows, and counts the
    // labels on their own boxes; a click without moving hides the score; "Start Again"
    // puts every label back where it started.
    void scoring()
    {
        QFETCH(bool, timeline);
        QFETCH(QList<int>, moves);
        QFETCH(QString, score);
        TestApp app;
        const Activity a = open(app, timeline);
        QList<QPointF> start;
        for (int i = 0; i < 6; ++i) {
            QVERIFY(!a.buttons[2].visible());
            start << at(a.labels[i]);
            dropAt(a, i, at(a.boxes[i]) + QPointF(10, 10));
        }
        for (qsizetype k = 0; k < moves.size(); k += 2)
            dropAt(a, moves[k], at(a.boxes[moves[k + 1]]));
        QVERIFY(a.buttons[2].visible());
        a.buttons[2].onClick();
        QCOMPARE(std::tuple(a.score.caption(), a.score.visible(), app.m.score),
                 std::tuple(score, true, score.left(1).toInt()));
        a.board.drop(3);
        QCOMPARE(at(a.labels[3]), at(a.boxes[3]));
        QVERIFY(!a.score.visible() && a.buttons[2].visible());
        a.buttons[1].onClick();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(at(a.labels[i]), start[i]);
        QVERIFY(!a.buttons[2].visible() && !a.score.visible() && app.m.score == 0);
    }

    // The unit page names both activities and heads the timeline, whose boxes are blank;
    // the telescope's drawing shows through its numbered boxes, and its key words lie
    // above everything, the last one uppermost. The pointer over a key word names it and
    // says what it is, until it reaches the bare drawing (not a box on the way).
    void openedFromTheUnitPage()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[3].onClick();
        page.Label3[1].onClick();
        telescope &scope = *app.forms.loaded<telescope>();
        const ardovinord &timeline = *app.forms.loaded<ardovinord>();
        QCOMPARE(QStringList({scope.caption(), timeline.caption(), timeline.Label6->caption(),
                              timeline.Label1[0].caption(), scope.Label1[0].caption(), scope.Label1[5].caption()}),
                 QStringList({u"Ardovin's Telescope"_s, u"Ardovin Timeline"_s, u"Ardovin Sevrani"_s, QString(),
                              u" 1."_s, u" 6."_s}));
        QCOMPARE(std::pair(scope.backColor(), scope.picture().source()),
                 std::pair(QColor(9, 63, 137), u"Images\\telescope.jpg"_s));
        const QObjectList children = scope.children();
        QVERIFY(children.indexOf(scope.Label2[5].widget()) > children.indexOf(scope.Label2[0].widget()));
        QVERIFY(children.indexOf(scope.Label2[0].widget()) > children.indexOf(scope.Label1[5].widget()));
        QVERIFY(!scope.Label1[0].isOpaque() && !timeline.Label1[0].isOpaque());

        QVERIFY(QTest::qWaitForWindowExposed(&scope));
        moveTo(scope, 240 + 800, 7200 + 180); // over "outer tube"
        QCOMPARE(std::pair(scope.Label5->caption(), scope.Label8->caption()),
                 std::pair(u"outer tube"_s, u"the barrel of the telescope"_s));
        moveTo(scope, 3465 + 800, 120 + 180); // straight onto a box: the texts stay
        QCOMPARE(scope.Label5->caption(), u"outer tube"_s);
        moveTo(scope, 6000, 3000); // bare drawing
        QCOMPARE(std::pair(scope.Label5->caption(), scope.Label3[0].isOpaque()),
                 std::pair(u"Ardovin's Telescope"_s, false));
    }

    void mouseAndKeyboardDrags_data()
    {
        QTest::addColumn<bool>("timeline");
        QTest::addColumn<QList<int>>("byDigit"); // the boxes down the screen, then across
        QTest::newRow("telescope") << false << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("timeline") << true << QList<int>{1, 3, 0, 4, 2, 5};
    }

    // Only the left button alone drags. Every label carried by the keyboard to every
    // box ends where a routed mouse drag into that box puts it; Escape puts a carried
    // label back and leaves the screen open.
    void mouseAndKeyboardDrags()
    {
        QFETCH(bool, timeline);
        QFETCH(QList<int>, byDigit);
        TestApp app;
        const Activity a = open(app, timeline);
        QVERIFY(showAndExpose(a.screen));
        for (Qt::MouseButtons buttons : {Qt::MouseButtons(Qt::RightButton), Qt::LeftButton | Qt::RightButton}) {
            const QPointF home = at(a.labels[0]);
            routedDrag(a, a.labels[0], a.boxes[0], buttons);
            QCOMPARE(at(a.labels[0]), home); // no drag, and the drop rule keeps it home
        }
        for (int i = 0; i < 6; ++i) {
            Label &label = a.labels[i];
            const QPointF home = at(label);
            for (int digit = 1; digit <= 6; ++digit) {
                const Label &box = a.boxes[byDigit[digit - 1]];
                routedDrag(a, label, box, Qt::LeftButton);
                QCOMPARE(at(label), at(box));
                label.move(home.x(), home.y());
                label.setFocus();
                QTest::keyClick(label.widget(), Qt::Key_Space);
                QVERIFY(label.isLifted());
                QTest::keyClicks(label.widget(), u"%1\r"_s.arg(digit)); // carried there, put down
                QCOMPARE(std::pair(at(label), label.isLifted()), std::pair(at(box), false));
                // Picked up again, carried to the next box, and put back with Escape.
                QTest::keyClicks(label.widget(), u"\r%1\x1b"_s.arg(digit % 6 + 1));
                QCOMPARE(std::pair(at(label), a.screen.isVisible()), std::pair(at(box), true));
                a.board.click(1); // "Start Again"
            }
        }
    }
};

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
