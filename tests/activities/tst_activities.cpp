#include "activities/ardovinord.h"
#include "activities/dragboard.h"
#include "activities/telescope.h"
#include "app/ardovin.h"
#include "support/testapp.h"
#include "toolkit/label.h"
#include "toolkit/line.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QPointF at(const Label &label)
{
    return {label.left(), label.top()};
}

// Drops label i with its top-left corner at (x, y), as a release there would.
void dropAt(DragBoard &board, Label &label, int i, double x, double y)
{
    label.move(x, y);
    board.drop(i);
}

template <class Screen>
void placeAllOnOwnBoxes(Screen &screen)
{
    for (int i = 0; i < 6; ++i)
        dropAt(screen.board(), screen.Label2[i], i, screen.Label1[i].left() + 10, screen.Label1[i].top() + 10);
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
        QTest::newRow("telescope: boxes 0 and 1 overlap, 0 first")
            << false << 2 << QPointF(3000, 100) << QPointF(1545, 120);
        QTest::newRow("telescope: box 1") << false << 2 << QPointF(3300, 100) << QPointF(3465, 120);
        QTest::newRow("telescope: right edge excluded") << false << 0 << QPointF(3270, 100) << QPointF(3465, 120);
        QTest::newRow("telescope: below box 0 excluded") << false << 0 << QPointF(1545, 495) << QPointF(1545, 495);
        QTest::newRow("telescope: other home slot") << false << 0 << QPointF(2100, 6300) << QPointF(2040, 6240);
        QTest::newRow("timeline: box 1") << true << 3 << QPointF(7000, 200) << QPointF(8400, 480);
        QTest::newRow("timeline: just outside box 1") << true << 3 << QPointF(6862, 200) << QPointF(6862, 200);
        QTest::newRow("timeline: home slots 0 and 1 overlap, 0 first")
            << true << 4 << QPointF(1300, 2600) << QPointF(1200, 2040);
        QTest::newRow("timeline: half-twip corner") << true << 3 << QPointF(6862.5, 200) << QPointF(6862.5, 200);
    }

    void dropWindows()
    {
        QFETCH(bool, timeline);
        QFETCH(int, label);
        QFETCH(QPointF, corner);
        QFETCH(QPointF, expected);
        TestApp app;
        Form &screen = timeline ? static_cast<Form &>(app.forms.ref<ardovinord>())
                                : static_cast<Form &>(app.forms.ref<telescope>());
        DragBoard &board = timeline ? app.forms.loaded<ardovinord>()->board() : app.forms.loaded<telescope>()->board();
        Label &dragged =
            timeline ? app.forms.loaded<ardovinord>()->Label2[label] : app.forms.loaded<telescope>()->Label2[label];
        Q_UNUSED(screen);
        dropAt(board, dragged, label, corner.x(), corner.y());
        QCOMPARE(at(dragged), expected);
    }

    void telescopeLayout()
    {
        TestApp app;
        telescope &screen = app.forms.ref<telescope>();
        QCOMPARE(app.m.total, 6);
        QCOMPARE(screen.backColor(), QColor(9, 63, 137));
        QCOMPARE(screen.picture().source(), QStringLiteral("Images\\telescope.jpg"));
        QCOMPARE(screen.caption(), QStringLiteral("Velmora"));
        QCOMPARE(screen.Label2[3].caption(), QStringLiteral("mount"));
        QCOMPARE(at(screen.Label2[3]), QPointF(2040, 6240));
        QCOMPARE(screen.Label1[0].caption(), QStringLiteral(" 1."));
        QCOMPARE(screen.Label1[5].caption(), QStringLiteral(" 6."));
        QVERIFY(!screen.Label1[0].isOpaque());
        QCOMPARE(at(screen.Label4[4]), QPointF(2040, 6720));
        QCOMPARE(screen.Label4[4].width(), 1725.0);
        QVERIFY(!screen.Label3[2].visible() && !screen.Label6->visible());
        QCOMPARE(screen.Line1[5].from(), QPointF(5160, 4320));
        QCOMPARE(screen.Line1[5].to(), QPointF(5880, 4320));
        // The key words lie above everything, the last one uppermost.
        const QObjectList children = screen.children();
        QVERIFY(children.indexOf(screen.Label2[5].widget()) > children.indexOf(screen.Label2[0].widget()));
        QVERIFY(children.indexOf(screen.Label2[0].widget()) > children.indexOf(screen.Label1[5].widget()));
    }

    void scoringAndStartAgain()
    {
        TestApp app;
        telescope &screen = app.forms.ref<telescope>();
        // All six on boxes, two of them swapped: the button shows, two are wrong.
        placeAllOnOwnBoxes(screen);
        QVERIFY(screen.Label3[2].visible());
        dropAt(screen.board(), screen.Label2[0], 0, 3465, 120);
        dropAt(screen.board(), screen.Label2[1], 1, 1545, 120);
        screen.Label3[2].onClick();
        QCOMPARE(app.m.score, 4);
        QCOMPARE(screen.Label6->caption(), QStringLiteral("4 out of 6 correct"));
        QVERIFY(screen.Label6->visible());
        QCOMPARE(screen.Label6->left(), 6960.0); // grows to the right of its left edge

        // A click without moving keeps a placed label where it is and hides the score.
        screen.board().drop(3);
        QCOMPARE(at(screen.Label2[3]), QPointF(3420, 4140));
        QVERIFY(!screen.Label6->visible());
        QVERIFY(screen.Label3[2].visible());

        screen.Label3[1].onClick(); // Start Again
        for (int i = 0; i < 6; ++i)
            QCOMPARE(at(screen.Label2[i]), at(screen.Label4[i]));
        QVERIFY(!screen.Label3[2].visible() && !screen.Label6->visible());
        QCOMPARE(app.m.score, 0);
    }

    void twoLabelsInOneBox()
    {
        TestApp app;
        ardovinord &screen = app.forms.ref<ardovinord>();
        placeAllOnOwnBoxes(screen);
        dropAt(screen.board(), screen.Label2[2], 2, 8400, 480); // onto box 1, box 2 now empty
        QVERIFY(screen.Label3[2].visible());
        screen.Label3[2].onClick();
        QCOMPARE(screen.Label5->caption(), QStringLiteral("5 out of 6 correct"));
        dropAt(screen.board(), screen.Label2[2], 2, 8400, 5280);
        screen.Label3[2].onClick();
        QCOMPARE(screen.Label5->caption(), QStringLiteral("6 out of 6 correct"));
        QVERIFY(app.forms.loadedForms().size() == 1); // nothing else opens
    }

    void timelineLayoutAndEntry()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[3].onClick();
        ardovinord &screen = *app.forms.loaded<ardovinord>();
        QCOMPARE(screen.caption(), QStringLiteral("Ardovin Timeline"));
        QCOMPARE(screen.Label6->caption(), QStringLiteral("Ardovin Sevrani"));
        QCOMPARE(screen.Label2[1].caption(), QStringLiteral("Ardovin was born in Pisa"));
        QCOMPARE(at(screen.Label2[5]), QPointF(1200, 3720));
        QVERIFY(screen.Label1[0].caption().isEmpty());
        QCOMPARE(screen.Label14->caption(), QStringLiteral("1642"));
        QCOMPARE(screen.Line2.indices(), QList<int>({0, 1, 2, 3, 4, 6}));
        QCOMPARE(screen.backColor(), QColor(39, 63, 137));
        page.Label3[1].onClick();
        QCOMPARE(app.forms.loaded<telescope>()->caption(), QStringLiteral("Ardovin's Telescope"));
    }

    void reopeningRestoresTheStart()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[3].onClick();
        ardovinord *screen = app.forms.loaded<ardovinord>();
        placeAllOnOwnBoxes(*screen);
        screen->Label3[0].onClick(); // Exit
        QVERIFY(!app.forms.loaded<ardovinord>());
        TestApp::settle();
        page.Label3[3].onClick();
        screen = app.forms.loaded<ardovinord>();
        QCOMPARE(at(screen->Label2[0]), QPointF(1200, 2040));
        QCOMPARE(screen->Label6->caption(), QStringLiteral("Ardovin Sevrani"));
        QVERIFY(!screen->Label3[2].visible());
    }

    void keyWordTextsFollowThePointer()
    {
        TestApp app;
        telescope &screen = app.forms.ref<telescope>();
        QVERIFY(showAndExpose(screen));
        moveTo(screen, 240 + 800, 7200 + 180); // over "outer tube"
        QCOMPARE(screen.Label5->caption(), QStringLiteral("outer tube"));
        QCOMPARE(screen.Label8->caption(), QStringLiteral("the barrel of the telescope"));
        moveTo(screen, 3465 + 800, 120 + 180); // straight onto a box: texts stay
        QCOMPARE(screen.Label5->caption(), QStringLiteral("outer tube"));
        moveTo(screen, 6000, 3000); // bare drawing
        QCOMPARE(screen.Label5->caption(), QStringLiteral("Ardovin's Telescope"));
        QVERIFY(!screen.Label3[0].isOpaque());
    }

    void dragWithRoutedEvents_data()
    {
        QTest::addColumn<bool>("timeline");
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<bool>("moves");
        QTest::newRow("telescope, left button") << false << Qt::MouseButtons(Qt::LeftButton) << true;
        QTest::newRow("timeline, left button") << true << Qt::MouseButtons(Qt::LeftButton) << true;
        QTest::newRow("telescope, right button") << false << Qt::MouseButtons(Qt::RightButton) << false;
        QTest::newRow("telescope, left and right")
            << false << Qt::MouseButtons(Qt::LeftButton | Qt::RightButton) << false;
    }

    void dragWithRoutedEvents()
    {
        QFETCH(bool, timeline);
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(bool, moves);
        TestApp app;
        Form &screen = timeline ? static_cast<Form &>(app.forms.ref<ardovinord>())
                                : static_cast<Form &>(app.forms.ref<telescope>());
        Label &label = timeline ? app.forms.loaded<ardovinord>()->Label2[1] : app.forms.loaded<telescope>()->Label2[0];
        Label &box = timeline ? app.forms.loaded<ardovinord>()->Label1[1] : app.forms.loaded<telescope>()->Label1[0];
        const QPointF start = at(label);
        QVERIFY(showAndExpose(screen));
        QWindow *window = screen.windowHandle();
        const QPoint press = test::at(label.left() + 100, label.top() + 100);
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            if (buttons & button)
                QTest::mousePress(window, button, Qt::NoModifier, press);
        }
        // Qt Test moves with the buttons it has pressed held down.
        const auto dragTo = [window](QPoint where) { QTest::mouseMove(window, where); };
        dragTo(QPoint(-40, 300)); // outside the window: the label keeps the pointer
        const QPoint target = test::at(box.left() + box.width() / 2, box.top() + box.height() / 2);
        dragTo(target);
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
            if (buttons & button)
                QTest::mouseRelease(window, button, Qt::NoModifier, target);
        }
        if (moves) {
            QCOMPARE(at(label), at(box));
        } else {
            QCOMPARE(at(label), start); // no drag, and the drop rule keeps it home
        }
    }

    void keyboardDropLandsWhereAMouseDropLands_data()
    {
        QTest::addColumn<bool>("timeline");
        QTest::newRow("telescope") << false;
        QTest::newRow("timeline") << true;
    }

    // Every label carried by the keyboard to every box ends where a routed mouse drag
    // into that box's middle puts it; Escape puts a carried label back.
    void keyboardDropLandsWhereAMouseDropLands()
    {
        QFETCH(bool, timeline);
        TestApp app;
        Form &screen = timeline ? static_cast<Form &>(app.forms.ref<ardovinord>())
                                : static_cast<Form &>(app.forms.ref<telescope>());
        DragBoard &board = timeline ? app.forms.loaded<ardovinord>()->board() : app.forms.loaded<telescope>()->board();
        ControlArray<Label> &labels =
            timeline ? app.forms.loaded<ardovinord>()->Label2 : app.forms.loaded<telescope>()->Label2;
        ControlArray<Label> &boxes =
            timeline ? app.forms.loaded<ardovinord>()->Label1 : app.forms.loaded<telescope>()->Label1;
        QVERIFY(showAndExpose(screen));
        // The boxes as the digits count them: down the screen, then across.
        QList<int> byDigit{0, 1, 2, 3, 4, 5};
        std::sort(byDigit.begin(), byDigit.end(), [&boxes](int a, int b) {
            return std::pair(boxes[a].top(), boxes[a].left()) < std::pair(boxes[b].top(), boxes[b].left());
        });
        QWindow *window = screen.windowHandle();
        for (int i = 0; i < 6; ++i) {
            Label &label = labels[i];
            const QPointF home = at(label);
            for (int digit = 1; digit <= 6; ++digit) {
                const Label &box = boxes[byDigit[digit - 1]];
                QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier,
                                  test::at(label.left() + 60, label.top() + 60));
                QTest::mouseMove(window, test::at(box.left() + box.width() / 2, box.top() + box.height() / 2));
                QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier,
                                    test::at(box.left() + box.width() / 2, box.top() + box.height() / 2));
                const QPointF byMouse = at(label);
                QCOMPARE(byMouse, at(box));
                label.move(home.x(), home.y());

                label.setFocus();
                QTest::keyClick(label.widget(), Qt::Key_Space);
                QVERIFY(label.isLifted());
                QTest::keyClick(label.widget(), Qt::Key(Qt::Key_0 + digit));
                QTest::keyClick(label.widget(), Qt::Key_Return);
                QVERIFY(!label.isLifted());
                QCOMPARE(at(label), byMouse);

                // Picked up again, carried on, and put back with Escape.
                QTest::keyClick(label.widget(), Qt::Key_Return);
                QTest::keyClick(label.widget(), Qt::Key_Right);
                QVERIFY(at(label) != byMouse);
                QTest::keyClick(label.widget(), Qt::Key_Escape);
                QCOMPARE(at(label), byMouse);
                QVERIFY(!label.isLifted());
                QVERIFY(screen.isVisible()); // Escape on a carried label is not the screen's Exit
                board.click(1); // "Start Again"
            }
        }
    }
};

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
