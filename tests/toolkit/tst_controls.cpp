#include "toolkit/form.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/line.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "toolkit/timer.h"

#include <QTest>

using namespace velmora;

namespace {

QPoint at(double x, double y)
{
    return QPoint(qRound(x / 15.0), qRound(y / 15.0));
}

// A bare form with one of each kind of pointer target, and a log of who got what.
class Board : public Form
{
public:
    Board()
        : Form(QStringLiteral("Board"))
    {
        setFormSize(6000, 3000);
        active = add<Label>(QStringLiteral("Active"));
        active->setGeometry(0, 0, 1500, 750);
        disabled = add<Label>(QStringLiteral("Disabled"));
        disabled->setGeometry(1500, 0, 1500, 750);
        disabled->setEnabled(false);
        plain = add<Image>(QStringLiteral("Plain"));
        plain->setGeometry(3000, 0, 1500, 750);
        line = add<Line>(QStringLiteral("Line"));
        line->setPoints(QPointF(4500, 1500), QPointF(6000, 1500));
        line->setLineWidth(3);

        active->onMouseMove = [this](const MouseArgs &a) { log << QStringLiteral("active move %1").arg(a.buttons); };
        active->onMouseDown = [this](const MouseArgs &a) { log << QStringLiteral("active down %1").arg(a.buttons); };
        active->onMouseUp = [this](const MouseArgs &a) {
            log << QStringLiteral("active up %1 at %2,%3").arg(a.buttons).arg(a.x).arg(a.y);
        };
        active->onClick = [this] { log << QStringLiteral("active click"); };
        disabled->onMouseMove = [this](const MouseArgs &) { log << QStringLiteral("disabled move"); };
        disabled->onClick = [this] { log << QStringLiteral("disabled click"); };
        onMouseMove = [this](const MouseArgs &) { log << QStringLiteral("form move"); };
    }

    Label *active;
    Label *disabled;
    Image *plain;
    Line *line;
    QStringList log;
};

} // namespace

class TestControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pointerRouting_data()
    {
        QTest::addColumn<QPoint>("where");
        QTest::addColumn<QString>("expected");
        QTest::newRow("enabled label takes the move") << at(750, 375) << QStringLiteral("active move 0");
        QTest::newRow("disabled label passes it to the form") << at(2250, 375) << QStringLiteral("form move");
        QTest::newRow("plain picture swallows it") << at(3750, 375) << QString();
        QTest::newRow("a line is no target") << at(5250, 1500) << QStringLiteral("form move");
        QTest::newRow("bare form") << at(3000, 2500) << QStringLiteral("form move");
    }

    void pointerRouting()
    {
        QFETCH(QPoint, where);
        QFETCH(QString, expected);
        Board board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        board.log.clear();
        QTest::mouseMove(board.windowHandle(), where);
        QCOMPARE(board.log.join(QLatin1Char('|')), expected);
    }

    void clickNeedsPressAndReleaseOverTheControl()
    {
        Board board;
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        QWindow *w = board.windowHandle();

        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at(750, 375));
        QVERIFY(board.log.contains(QStringLiteral("active click")));

        // Pressed on the label and released over the form: the label keeps the pointer
        // (its up arrives, with the position relative to the label) but no click.
        board.log.clear();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at(750, 375));
        QTest::mouseMove(w, at(3000, 2500));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at(3000, 2500));
        QVERIFY(!board.log.contains(QStringLiteral("active click")));
        QVERIFY(!board.log.contains(QStringLiteral("form move")));
        QVERIFY(board.log.contains(QStringLiteral("active up 1 at 3000,2505")));

        // The right button never clicks; a disabled label never clicks.
        board.log.clear();
        QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, at(750, 375));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at(2250, 375));
        QCOMPARE(board.log.filter(QStringLiteral("click")), QStringList());
        QVERIFY(board.log.contains(QStringLiteral("active down 2")));
    }

    void geometryStaysExactInTwips()
    {
        Board board;
        board.active->move(1537.5, 322.5);
        QCOMPARE(board.active->left(), 1537.5);
        QCOMPARE(board.active->top(), 322.5);
        // The widget lies on whole pixels, edges rounded.
        QCOMPARE(board.active->widget()->geometry(), QRect(103, 22, 100, 50));
    }

    void autoSizeFollowsText()
    {
        Board board;
        Label *label = board.active;
        label->setAutoSize(true);
        label->setCaption(QStringLiteral("W"));
        const double narrow = label->width();
        label->setCaption(QStringLiteral("A much longer caption"));
        QVERIFY(label->width() > narrow);
        label->setWordWrap(true);
        label->setWidth(600);
        label->setCaption(QStringLiteral("wraps onto several lines of text"));
        QVERIFY(label->height() > 600);
        QCOMPARE(label->width(), 600.0);
    }

    void textBoxLimitsTypingOnlyAndReportsEnter()
    {
        Board board;
        auto *box = board.add<TextBox>(QStringLiteral("Text1"));
        box->setGeometry(0, 1500, 3000, 375);
        box->setMaxLength(5);
        QList<int> keys;
        box->onKeyPress = [&keys](int key) { keys << key; };
        board.show();
        QVERIFY(QTest::qWaitForWindowExposed(&board));
        box->setFocus();
        QTest::keyClicks(box->widget(), QStringLiteral("abcdefg"));
        QTest::keyClick(box->widget(), Qt::Key_Return);
        QCOMPARE(box->text(), QStringLiteral("abcde"));
        QVERIFY(keys.endsWith(13));
        // A text the program sets shows whole; typing adds nothing to it...
        box->setText(QStringLiteral("123456789"));
        QCOMPARE(box->text(), QStringLiteral("123456789"));
        QTest::keyClick(box->widget(), Qt::Key_End);
        QTest::keyClicks(box->widget(), QStringLiteral("x"));
        QCOMPARE(box->text(), QStringLiteral("123456789"));
        // ...and once shortened below the maximum, typing stops at the maximum again.
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(box->widget(), Qt::Key_Backspace);
        QTest::keyClicks(box->widget(), QStringLiteral("wxyz"));
        QCOMPARE(box->text(), QStringLiteral("123wx"));
    }

    void optionsInOneContainerExcludeEachOther()
    {
        Board board;
        auto *on = board.add<OptionButton>(QStringLiteral("Option1"));
        auto *off = board.add<OptionButton>(QStringLiteral("Option2"));
        on->setValue(true);
        off->setValue(true);
        QVERIFY(!on->value());
        on->setValue(true);
        QVERIFY(!off->value());
    }

    void nativeControlsTakeTheirColours()
    {
        Board board;
        auto *option = board.add<OptionButton>(QStringLiteral("Option1"));
        option->setGeometry(0, 1500, 1500, 255);
        option->setBackColor(QColor(39, 63, 137));
        const QImage shot = option->widget()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(shot.width() - 2, 2)), QColor(39, 63, 137));
    }

    void timerFiresOnlyWhenOnAndIntervalSet()
    {
        Board board;
        Timer *timer = board.addTimer(QStringLiteral("Timer1"), 0);
        int ticks = 0;
        timer->onTick = [&ticks] { ++ticks; };
        timer->setEnabled(true);
        QTest::qWait(20);
        QCOMPARE(ticks, 0); // an interval of 0 never ticks
        timer->setInterval(1);
        timer->setEnabled(true);
        QTRY_VERIFY(ticks > 0);
        timer->setEnabled(false);
        const int seen = ticks;
        QTest::qWait(10);
        QCOMPARE(ticks, seen);
        timer->fire();
        QCOMPARE(ticks, seen + 1);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
