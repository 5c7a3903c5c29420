// The title by keyboard: entries reached with Tab and clicked with Enter or Space,
// the focus seen, and Escape as each screen's way back.
#include "activities/ardovinord.h"
#include "activities/telescope.h"
#include "app/ardovin.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "quiz/wrong.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/indicatorbutton.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QAccessible>
#include <QApplication>
#include <QFileInfo>
#include <QRadioButton>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

void press(Qt::Key key)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    QTest::keyClick(target, key);
    TestApp::settle();
}

// A pupil or teacher at the keyboard alone: every key goes to the window in front (the
// active window must be the form on top), to the control that has its focus.
class Keyboard
{
public:
    explicit Keyboard(TestApp &app)
        : m_app(app)
    {
    }

    bool press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        TestApp::settle();
        QWidget *active = QApplication::activeWindow();
        const QList<Form *> order = m_app.forms.stackingOrder();
        if (!active || order.isEmpty() || active != order.last()) {
            qWarning("keys go to %s, but %s is in front", active ? qPrintable(active->objectName()) : "nothing",
                     order.isEmpty() ? "nothing" : qPrintable(order.last()->objectName()));
            return false;
        }
        QTest::keyClick(active->focusWidget() ? active->focusWidget() : active, Qt::Key(key), modifiers);
        TestApp::settle();
        return true;
    }

    bool type(const QString &text)
    {
        for (const QChar c : text) {
            QWidget *target = QApplication::focusWidget();
            if (!target || target->window() != m_app.forms.stackingOrder().last())
                return false;
            QTest::keyClicks(target, QString(c));
        }
        return true;
    }

    // What a screen reader says of the focused control.
    static QString focused()
    {
        QWidget *w = QApplication::focusWidget();
        QAccessibleInterface *a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
        return a ? a->text(QAccessible::Name) : QString();
    }

    // Tab (forwards or back) until the control named `name` has the focus, at most
    // twice round the screen.
    bool tabTo(const QString &name, bool back = false)
    {
        for (int i = 0; i < 200; ++i) {
            if (focused() == name && QApplication::focusWidget()->window() == QApplication::activeWindow())
                return true;
            if (!press(Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier))
                return false;
        }
        qWarning("no control named \"%s\" was reached", qPrintable(name));
        return false;
    }

    bool choose(const QString &name) { return tabTo(name) && press(Qt::Key_Return); }

    // Arrows until the control named `name` has the focus.
    bool arrowTo(const QString &name, int key)
    {
        for (int i = 0; i < 8 && focused() != name; ++i) {
            if (!press(key))
                return false;
        }
        return focused() == name;
    }

private:
    TestApp &m_app;
};

// Carries each named label to its box by the keyboard: picked up with Enter, moved by
// `moves` (digits or arrows), put down with Space.
bool carry(Keyboard &keys, const QString &label, const QList<int> &moves)
{
    if (!keys.tabTo(label) || !keys.press(Qt::Key_Return))
        return false;
    for (int key : moves) {
        if (!keys.press(key))
            return false;
    }
    return keys.press(Qt::Key_Space);
}

// Presses the shown control of the front form that a screen reader calls `name`, by its
// accessible press action.
bool pressNamed(TestApp &app, const QString &name)
{
    Form *front = app.forms.stackingOrder().last();
    for (QWidget *w : front->findChildren<QWidget *>()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || !w->isVisibleTo(front) || !w->isEnabled() || a->text(QAccessible::Name) != name)
            continue;
        if (!a->actionInterface())
            continue;
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        TestApp::settle();
        return true;
    }
    qWarning("nothing named \"%s\" to press on %s", qPrintable(name), qPrintable(front->objectName()));
    return false;
}

// The controls of a form that a person can click: entries, buttons, answers, boxes, as
// far as they are shown, enabled and not covered by another control.
QList<Control *> clickables(Form &form)
{
    QList<Control *> found;
    for (Control *c : form.controls()) {
        QWidget *w = c->widget();
        if (!w || !w->isVisibleTo(&form) || !w->isEnabled())
            continue;
        const auto *label = qobject_cast<Label *>(c);
        const bool clickable = (label && label->isClickable()) || qobject_cast<IndicatorButton *>(c)
                               || qobject_cast<TextBox *>(c) || qobject_cast<CommandButton *>(c);
        QWidget *onTop = form.childAt(w->mapTo(&form, w->rect().center()));
        const bool covered = onTop && onTop != w && !w->isAncestorOf(onTop);
        if (clickable && !covered)
            found << c;
    }
    return found;
}

QImage shotOf(Form &form, QWidget *w)
{
    return form.grab(QRect(w->mapTo(&form, QPoint(0, 0)), w->size()).adjusted(-4, -4, 4, 4)).toImage();
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapeIsTheWayBack_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<bool>("closes");
        QTest::newRow("unit page") << QStringLiteral("ardovin") << true;
        QTest::newRow("key facts") << QStringLiteral("teacher") << true;
        QTest::newRow("teachers' guide") << QStringLiteral("guide") << true;
        QTest::newRow("quiz") << QStringLiteral("multiple") << true;
        QTest::newRow("wizard") << QStringLiteral("wizard") << true;
        QTest::newRow("catalogue") << QStringLiteral("worksheets") << true;
        QTest::newRow("telescope") << QStringLiteral("telescope") << true;
        QTest::newRow("timeline") << QStringLiteral("ardovinord") << true;
        QTest::newRow("main menu: its Exit asks, Escape does nothing") << QStringLiteral("intro0") << false;
        QTest::newRow("first title screen: never ends the program") << QStringLiteral("Titlefrm") << false;
    }

    void escapeIsTheWayBack()
    {
        QFETCH(QString, screen);
        QFETCH(bool, closes);
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        Form &form = app.forms.ref(screen);
        QVERIFY(showAndExpose(form));
        press(Qt::Key_Escape);
        QCOMPARE(app.forms.loaded(screen) == nullptr, closes);
        QVERIFY(!app.ended);
        QVERIFY(app.messages.shown.isEmpty());
        if (closes && screen != QLatin1String("worksheets"))
            QCOMPARE(app.forms.stackingOrder().last(), &menu);
    }

    void escapeOnTheExitConfirmationIsCancel()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        menu.Label2[16].onClick();
        Titlefrm *confirm = app.forms.loaded<Titlefrm>();
        QVERIFY(confirm && QTest::qWaitForWindowExposed(confirm));
        press(Qt::Key_Escape);
        QVERIFY(!app.ended);
        QVERIFY(!app.forms.loaded<Titlefrm>());
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
    }

    void tabReachesEveryEnabledEntryAndEnterClicks()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        menu.activateWindow();
        QSet<QWidget *> reached;
        for (int i = 0; i < 40; ++i) {
            press(Qt::Key_Tab);
            if (QApplication::focusWidget())
                reached.insert(QApplication::focusWidget());
        }
        for (const auto &[index, entry] : menu.Label2)
            QCOMPARE(reached.contains(entry->widget()), entry->enabled());
        // The focused entry lights up alone, and is framed.
        menu.Label2[1].setFocus();
        TestApp::settle();
        QVERIFY(menu.Label2[1].isOpaque());
        QVERIFY(!menu.Label2[20].isOpaque());
        const QImage focused = menu.Label2[1].widget()->grab().toImage();
        menu.Label2[20].setFocus();
        TestApp::settle();
        menu.Label2[1].setBackStyle(BackStyle::Opaque);
        QVERIFY(menu.Label2[1].widget()->grab().toImage() != focused);
        // Enter clicks the focused entry; Space too.
        menu.Label2[1].setFocus();
        press(Qt::Key_Return);
        ardovin *page = app.forms.loaded<ardovin>();
        QVERIFY(page && page->isVisible());
        page->Label3[2].setFocus();
        press(Qt::Key_Space);
        QVERIFY(!app.forms.loaded<ardovin>());
    }

    void screenReaderSeesRolesAndNamesAndPresses()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(menu.Label2[1].widget());
        QVERIFY(entry);
        QCOMPARE(entry->role(), QAccessible::Button);
        QCOMPARE(entry->text(QAccessible::Name), QStringLiteral("Ardovin Sevrani"));
        QAccessibleInterface *heading = QAccessible::queryAccessibleInterface(menu.Label1->widget());
        QCOMPARE(heading->role(), QAccessible::StaticText);
        QCOMPARE(heading->text(QAccessible::Name), QStringLiteral("Velmora"));
        QAccessibleInterface *sound = QAccessible::queryAccessibleInterface(menu.Option2->widget());
        QCOMPARE(sound->role(), QAccessible::RadioButton);
        QCOMPARE(sound->text(QAccessible::Name), QStringLiteral("Sound Off"));
        // A disabled scientist cannot be pressed; the unit's entry can.
        QAccessible::queryAccessibleInterface(menu.Label2[0].widget())
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(app.forms.stackingOrder().last() == &menu);
        entry->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(app.forms.loaded<ardovin>() && app.forms.loaded<ardovin>()->isVisible());
    }

    void everyScreenByTab_data()
    {
        QTest::addColumn<QStringList>("path"); // what is pressed, from the main menu
        const QString unit = QStringLiteral("Ardovin Sevrani");
        QStringList toResults{unit, QStringLiteral("Multiple Choice")};
        for (int q = 1; q < 10; ++q)
            toResults << QStringLiteral("Next Question >>");
        toResults << QStringLiteral("Check Score >>");
        QTest::newRow("main menu") << QStringList();
        QTest::newRow("exit confirmation") << QStringList{QStringLiteral("Exit")};
        QTest::newRow("teachers' guide") << QStringList{QStringLiteral("Teachers' Guide")};
        QTest::newRow("acknowledgments") << QStringList{QStringLiteral("Acknowledgments")};
        QTest::newRow("unit page") << QStringList{unit};
        QTest::newRow("key facts") << QStringList{unit, QStringLiteral("Key Facts")};
        QTest::newRow("teacher's notes") << QStringList{unit, QStringLiteral("Teacher's Notes")};
        QTest::newRow("quiz") << QStringList{unit, QStringLiteral("Multiple Choice"),
                                             QStringLiteral("Next Question >>")};
        QTest::newRow("results") << toResults;
        QTest::newRow("wrong answers") << (toResults << QStringLiteral("Check Wrong Answers"));
        QTest::newRow("telescope") << QStringList{unit, QStringLiteral("Ardovin's Telescope")};
        QTest::newRow("timeline") << QStringList{unit, QStringLiteral("Ardovin Timeline")};
        QTest::newRow("wizard") << QStringList{QStringLiteral("Multiple Choice Wizard")};
        QTest::newRow("catalogue") << QStringList{QStringLiteral("Worksheet Catalogue")};
    }

    // Each enabled clickable control of the screen is reached by Tab, has a role and a
    // name, and looks different while it has the focus.
    void everyScreenByTab()
    {
        QFETCH(QStringList, path);
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        for (const QString &step : path)
            QVERIFY(pressNamed(app, step));
        Form &form = *app.forms.stackingOrder().last();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QList<Control *> expected = clickables(form);
        QVERIFY(!expected.isEmpty());

        // Tab from control to control; in a group of option buttons (one stop for Tab)
        // the arrows go round the group.
        QSet<QWidget *> reached;
        const auto key = [&form](Qt::Key k) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, k);
            return QApplication::focusWidget();
        };
        QList<QWidget *> firstRound; // as Tab meets them, once round the screen
        for (int i = 0; i < 2 * form.controls().size() + 4; ++i) {
            QWidget *w = key(Qt::Key_Tab);
            if (!reached.contains(w) && (firstRound.isEmpty() || firstRound.first() != w))
                firstRound << w;
            reached.insert(w);
            if (qobject_cast<QRadioButton *>(w) && !reached.contains(w->parentWidget())) {
                reached.insert(w->parentWidget());
                for (int step = 0; step < 6; ++step)
                    reached.insert(key(Qt::Key_Down));
            }
        }
        // In reading order: each control Tab meets lies on a lower row than the one
        // before, or on the same row further right; once round, it wraps to the top
        // once. (The wizard keeps its designed order.)
        const auto box = [&form](QWidget *w) { return QRect(w->mapTo(&form, QPoint(0, 0)), w->size()); };
        QStringList outOfOrder;
        for (qsizetype i = 1; i <= firstRound.size(); ++i) {
            QWidget *before = firstRound[i - 1];
            QWidget *now = firstRound[i % firstRound.size()];
            const bool nextRow = box(now).center().y() > box(before).bottom();
            const bool sameRowRight = box(now).top() <= box(before).bottom() && box(now).left() > box(before).left();
            if (!nextRow && !sameRowRight)
                outOfOrder << before->objectName() + QStringLiteral(" then ") + now->objectName();
        }
        if (!qobject_cast<wizard *>(&form))
            QVERIFY2(outOfOrder.size() <= 1, qPrintable(outOfOrder.join(QStringLiteral(", "))));
        for (Control *c : expected) {
            const QString what = form.objectName() + QLatin1Char('.') + c->widget()->objectName();
            QVERIFY2(reached.contains(c->widget()), qPrintable(what + QStringLiteral(" is never reached")));
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c->widget());
            QVERIFY(a);
            QVERIFY2(a->role() != QAccessible::NoRole && a->role() != QAccessible::Client, qPrintable(what));
            QVERIFY2(!a->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(what + QStringLiteral(" has no name")));
            // Focused against unfocused, with the pointer nowhere near.
            c->widget()->setFocus(Qt::TabFocusReason);
            TestApp::settle();
            const QImage focused = shotOf(form, c->widget());
            form.setFocus(Qt::OtherFocusReason);
            c->widget()->clearFocus();
            TestApp::settle();
            QVERIFY2(shotOf(form, c->widget()) != focused, qPrintable(what + QStringLiteral(": no focus is seen")));
        }
    }

    void aPupilsWholeRoadByKeyboard()
    {
        TestApp app;
        Keyboard keys(app);
        QVERIFY(showAndExpose(app.forms.ref<Titlefrm>()));
        QVERIFY(keys.choose(QStringLiteral("OK")));
        intro0 *menu = app.forms.loaded<intro0>();
        QVERIFY(menu && menu->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(menu));

        QVERIFY(keys.choose(QStringLiteral("Ardovin Sevrani")));
        ardovin *unit = app.forms.loaded<ardovin>();
        QVERIFY(unit && QTest::qWaitForWindowActive(unit));

        // The quiz: the arrows choose an answer, Tab and Enter go on. Questions 2 and 5
        // are answered wrongly.
        QVERIFY(keys.choose(QStringLiteral("Multiple Choice")));
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowActive(quiz));
        for (int q = 1; q <= 10; ++q) {
            const int right = app.m.rightans[q].toInt();
            const int chosen = q == 2 || q == 5 ? right % 4 + 1 : right;
            const std::array<QString, 5> answers{QString(), app.m.ansa[q], app.m.ansb[q], app.m.ansc[q], app.m.ansd[q]};
            QVERIFY2(keys.arrowTo(answers[chosen], Qt::Key_Down) || keys.arrowTo(answers[chosen], Qt::Key_Up),
                     qPrintable(QStringLiteral("question %1: %2").arg(q).arg(answers[chosen])));
            QVERIFY(quiz->Option1[chosen].value());
            QVERIFY(keys.choose(q < 10 ? QStringLiteral("Next Question >>") : QStringLiteral("Check Score >>")));
        }
        Welldone *results = app.forms.loaded<Welldone>();
        QVERIFY(results && QTest::qWaitForWindowActive(results));
        QCOMPARE(app.m.score, 8);
        QVERIFY(results->Label1->caption().contains(QStringLiteral("8 out of 10")));
        QVERIFY(keys.choose(QStringLiteral("Check Wrong Answers")));
        Wrong *wrong = app.forms.loaded<Wrong>();
        QVERIFY(wrong && QTest::qWaitForWindowActive(wrong));
        QVERIFY(wrong->Label2[0].caption().endsWith(app.m.quest[2]));
        QVERIFY(keys.press(Qt::Key_Escape)); // back past the results to the unit page
        QVERIFY(!app.forms.loaded<Wrong>() && !app.forms.loaded<Welldone>());
        QCOMPARE(app.forms.stackingOrder().last(), unit);

        // The telescope: each key word carried to its numbered box by its number.
        QVERIFY(keys.choose(QStringLiteral("Ardovin's Telescope")));
        telescope *scope = app.forms.loaded<telescope>();
        QVERIFY(scope && QTest::qWaitForWindowActive(scope));
        for (int i = 0; i < 6; ++i)
            QVERIFY(carry(keys, scope->Label2[i].caption(), {Qt::Key_1 + i}));
        QVERIFY(keys.choose(QStringLiteral("Check Score")));
        QCOMPARE(scope->Label6->caption(), QStringLiteral("6 out of 6 correct"));
        QVERIFY(keys.press(Qt::Key_Escape));
        QCOMPARE(app.forms.stackingOrder().last(), unit);

        // The timeline: the boxes run down the years; some events go there by arrows.
        QVERIFY(keys.choose(QStringLiteral("Ardovin Timeline")));
        ardovinord *timeline = app.forms.loaded<ardovinord>();
        QVERIFY(timeline && QTest::qWaitForWindowActive(timeline));
        const QList<std::pair<QString, QList<int>>> events{
            {QStringLiteral("Ardovin was born in Pisa"), {Qt::Key_1}},
            {QStringLiteral("Ardovin was appointed Professor"), {Qt::Key_Down, Qt::Key_Down}},
            {QStringLiteral("Ardovin built his own telescope"), {Qt::Key_3}},
            {QStringLiteral("Ardovin was questioned by the Inquisition"), {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}},
            {QStringLiteral("Ardovin completed his last book"), {Qt::Key_Right, Qt::Key_5}},
            {QStringLiteral("Ardovin died in Florence"), {Qt::Key_Left}},
        };
        for (const auto &[event, moves] : events)
            QVERIFY2(carry(keys, event, moves), qPrintable(event));
        QVERIFY(keys.choose(QStringLiteral("Check Score")));
        QCOMPARE(timeline->Label5->caption(), QStringLiteral("6 out of 6 correct"));
        QVERIFY(keys.choose(QStringLiteral("Exit")));
        QVERIFY(keys.press(Qt::Key_Escape));
        QCOMPARE(app.forms.stackingOrder().last(), menu);

        // The end, through the exit confirmation.
        QVERIFY(keys.choose(QStringLiteral("Exit")));
        Titlefrm *confirm = app.forms.loaded<Titlefrm>();
        QVERIFY(confirm && QTest::qWaitForWindowActive(confirm));
        QVERIFY(!app.ended);
        QVERIFY(keys.choose(QStringLiteral("Exit")));
        QVERIFY(app.ended);
    }

    void aTeacherWritesAndRunsAWorksheetByKeyboard()
    {
        TestApp app;
        Keyboard keys(app);
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        QVERIFY(keys.choose(QStringLiteral("Multiple Choice Wizard")));
        wizard *editor = app.forms.loaded<wizard>();
        QVERIFY(editor && QTest::qWaitForWindowActive(editor));
        // The wizard's own order: the title, then each question with its four answers.
        QVERIFY(keys.tabTo(QStringLiteral("Worksheet Title")));
        QVERIFY(keys.type(QStringLiteral("Phases of the Moon")));
        for (int q = 1; q <= 10; ++q) {
            QVERIFY(keys.press(Qt::Key_Tab));
            QCOMPARE(Keyboard::focused(), QStringLiteral("Question %1").arg(q));
            QVERIFY(keys.type(QStringLiteral("Moon question %1?").arg(q)));
            for (const QChar letter : QStringLiteral("ABCD")) {
                QVERIFY(keys.press(Qt::Key_Tab));
                QVERIFY(keys.type(QStringLiteral("Answer %1").arg(letter)));
            }
        }
        for (int q = 1; q <= 10; ++q) {
            QVERIFY(keys.tabTo(QStringLiteral("Question %1, answer %2 is right").arg(q).arg(QChar(u'A' + q % 4))));
            QVERIFY(keys.press(Qt::Key_Space));
        }
        QVERIFY(keys.choose(QStringLiteral("Save Worksheet")));
        QCOMPARE(app.messages.shown.last().text, QStringLiteral("Your worksheet has been saved."));
        QVERIFY(QFileInfo::exists(app.dataPath(QStringLiteral("multiple/Phases of the Moon.txt"))));
        QVERIFY(keys.press(Qt::Key_Escape));
        QVERIFY(!app.forms.loaded<wizard>());

        QVERIFY(keys.choose(QStringLiteral("Worksheet Catalogue")));
        worksheets *catalogue = app.forms.loaded<worksheets>();
        QVERIFY(catalogue && QTest::qWaitForWindowActive(catalogue));
        QVERIFY(keys.choose(QStringLiteral("Phases of the Moon")));
        multiple *quiz = app.forms.loaded<multiple>();
        QVERIFY(quiz && QTest::qWaitForWindowActive(quiz));
        QCOMPARE(quiz->Label2->caption(), QStringLiteral("Moon question 1?"));
        QCOMPARE(app.m.rightans[1], QStringLiteral("2"));
    }

    void aMouseClickGivesNoFocusFrame()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        const Label &entry = menu.Label2[19];
        clickAt(menu, entry.left() + 100, entry.top() + 100);
        QVERIFY(!entry.widget()->hasFocus());
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
