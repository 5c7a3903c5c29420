// The title by keyboard: entries reached with Tab and clicked with Enter or Space,
// the focus seen, and Escape as each screen's way back; and the option buttons and tick
// boxes that a click anywhere in their box sets, as the keys do.
#include "activities/ardovinord.h"
#include "app/ardovin.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "quiz/multiple.h"
#include "quiz/welldone.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/indicatorbutton.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/textbox.h"
#include "worksheets/wizard.h"

#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// What a screen reader says of the focused control.
QString focused()
{
    QWidget *w = QApplication::focusWidget();
    QAccessibleInterface *a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
    return a ? a->text(QAccessible::Name) : QString();
}

// A key as a pupil or teacher at the keyboard alone sends it: to the window in front
// (the active window must be the form on top), to the control that has its focus.
bool press(TestApp &app, int key)
{
    TestApp::settle();
    QWidget *active = QApplication::activeWindow();
    const QList<Form *> order = app.forms.stackingOrder();
    if (!active || order.isEmpty() || active != order.last()) {
        qWarning("keys go to %s, but %s is in front", active ? qPrintable(active->objectName()) : "nothing",
                 order.isEmpty() ? "nothing" : qPrintable(order.last()->objectName()));
        return false;
    }
    QTest::keyClick(active->focusWidget() ? active->focusWidget() : active, Qt::Key(key));
    TestApp::settle();
    return true;
}

// Tab until the control named `name` has the focus, at most twice round the screen.
bool tabTo(TestApp &app, const QString &name)
{
    for (int i = 0; i < 200; ++i) {
        if (focused() == name && QApplication::focusWidget()->window() == QApplication::activeWindow())
            return true;
        if (!press(app, Qt::Key_Tab))
            return false;
    }
    qWarning("no control named \"%s\" was reached", qPrintable(name));
    return false;
}

bool choose(TestApp &app, const QString &name)
{
    return tabTo(app, name) && press(app, Qt::Key_Return);
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
        if (clickable && (!onTop || onTop == w || w->isAncestorOf(onTop)))
            found << c;
    }
    return found;
}

// What a screen reader gets wrong of a control, or nothing: entries and buttons are
// buttons, answers and sound options radio buttons, tick boxes check boxes, text boxes
// editable texts, each named, by its caption when it has one.
QString misread(Control *c)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(c->widget());
    const QAccessible::Role role = qobject_cast<OptionButton *>(c)      ? QAccessible::RadioButton
                                   : qobject_cast<IndicatorButton *>(c) ? QAccessible::CheckBox
                                   : qobject_cast<TextBox *>(c)         ? QAccessible::EditableText
                                                                        : QAccessible::Button;
    const auto *label = qobject_cast<Label *>(c);
    const auto *box = qobject_cast<IndicatorButton *>(c);
    const QString caption = label ? label->caption() : box ? box->caption() : QString();
    const QString name = a ? a->text(QAccessible::Name) : QString();
    if (!a || a->role() != role)
        return u"role %1"_s.arg(a ? int(a->role()) : -1);
    if (name.trimmed().isEmpty() || (!caption.isEmpty() && name != caption))
        return u"named \"%1\""_s.arg(name);
    return {};
}

QImage shotOf(Form &form, QWidget *w)
{
    return form.grab(QRect(w->mapTo(&form, QPoint(0, 0)), w->size()).adjusted(-4, -4, 4, 4)).toImage();
}

// Puts a box back to unticked, or an option to unselected by selecting another.
void clear(Form &form, IndicatorButton &box)
{
    box.setValue(false);
    for (Control *control : form.controls()) {
        auto *other = qobject_cast<OptionButton *>(control);
        if (qobject_cast<OptionButton *>(&box) && other && other != &box) {
            other->setValue(true);
            return;
        }
    }
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyScreen_data()
    {
        QTest::addColumn<QStringList>("path"); // what is chosen, from the first title screen
        QTest::addColumn<QString>("back"); // the screen in front after Escape
        const QString ok = u"OK"_s, unit = u"Ardovin Sevrani"_s, menu = u"intro0"_s, page = u"ardovin"_s;
        QStringList toResults = QStringList{ok, unit, u"Multiple Choice"_s} + QStringList(9, u"Next Question >>"_s);
        toResults << u"Check Score >>"_s;
        QTest::newRow("first title screen: Escape never ends the program") << QStringList() << u"Titlefrm"_s;
        QTest::newRow("main menu: its Exit asks, Escape does nothing") << QStringList{ok} << menu;
        QTest::newRow("exit confirmation: Escape is Cancel") << QStringList{ok, u"Exit"_s} << menu;
        QTest::newRow("teachers' guide") << QStringList{ok, u"Teachers' Guide"_s} << menu;
        QTest::newRow("acknowledgments") << QStringList{ok, u"Acknowledgments"_s} << menu;
        QTest::newRow("unit page") << QStringList{ok, unit} << menu;
        QTest::newRow("key facts") << QStringList{ok, unit, u"Key Facts"_s} << page;
        QTest::newRow("teacher's notes") << QStringList{ok, unit, u"Teacher's Notes"_s} << page;
        QTest::newRow("quiz") << QStringList{ok, unit, u"Multiple Choice"_s, u"Next Question >>"_s} << page;
        QTest::newRow("results") << toResults << page;
        QTest::newRow("wrong answers: back past the results") << (toResults << u"Check Wrong Answers"_s) << page;
        QTest::newRow("telescope") << QStringList{ok, unit, u"Ardovin's Telescope"_s} << page;
        QTest::newRow("timeline") << QStringList{ok, unit, u"Ardovin Timeline"_s} << page;
        QTest::newRow("wizard") << QStringList{ok, u"Multiple Choice Wizard"_s} << menu;
        QTest::newRow("catalogue") << QStringList{ok, u"Worksheet Catalogue"_s} << menu;
    }

    // Tab (and the arrows in an option group) reaches each enabled clickable control of
    // the screen, and nothing hidden or disabled; each has a role and a name, and looks
    // different while it has the focus. Escape then leads back, never to the end.
    void everyScreen()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, back);
        TestApp app;
        QVERIFY(showAndExpose(app.forms.ref<Titlefrm>()));
        for (const QString &step : path)
            QVERIFY(choose(app, step));
        Form &form = *app.forms.stackingOrder().last();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        const QList<Control *> expected = clickables(form);
        QVERIFY(!expected.isEmpty());

        QSet<QWidget *> reached;
        const auto key = [&form](Qt::Key k) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, k);
            QWidget *w = QApplication::focusWidget();
            if (w && (!w->isVisible() || !w->isEnabled()))
                qWarning("the focus stops on %s, hidden or disabled", qPrintable(w->objectName()));
            return w && w->isVisible() && w->isEnabled() ? w : nullptr;
        };
        QList<QWidget *> firstRound; // as Tab meets them, once round the screen
        for (int i = 0; i < 2 * form.controls().size() + 4; ++i) {
            QWidget *w = key(Qt::Key_Tab);
            QVERIFY(w);
            if (!reached.contains(w) && (firstRound.isEmpty() || firstRound.first() != w))
                firstRound << w;
            reached.insert(w);
            // In a group of option buttons (one stop for Tab) the arrows go round the group.
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
            const QRect before = box(firstRound[i - 1]), now = box(firstRound[i % firstRound.size()]);
            if (now.center().y() <= before.bottom() && (now.top() > before.bottom() || now.left() <= before.left()))
                outOfOrder << firstRound[i - 1]->objectName() + u" then "_s
                                  + firstRound[i % firstRound.size()]->objectName();
        }
        if (!qobject_cast<wizard *>(&form))
            QVERIFY2(outOfOrder.size() <= 1, qPrintable(outOfOrder.join(u", "_s)));
        for (Control *c : expected) {
            const QString what = form.objectName() + QLatin1Char('.') + c->widget()->objectName();
            QVERIFY2(reached.contains(c->widget()), qPrintable(what + u" is never reached"_s));
            const QString misheard = misread(c);
            QVERIFY2(misheard.isEmpty(), qPrintable(what + u": "_s + misheard));
            // Focused against unfocused, with the pointer nowhere near.
            c->widget()->setFocus(Qt::TabFocusReason);
            TestApp::settle();
            const QImage focusedShot = shotOf(form, c->widget());
            form.setFocus(Qt::OtherFocusReason);
            c->widget()->clearFocus();
            TestApp::settle();
            QVERIFY2(shotOf(form, c->widget()) != focusedShot, qPrintable(what + u": no focus is seen"_s));
        }

        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_Escape);
        TestApp::settle();
        QVERIFY(!app.ended && app.messages.shown.isEmpty());
        QCOMPARE(app.forms.stackingOrder().last()->formName(), back);
    }

    // On the menu a label that is no entry is text to a screen reader, and a disabled
    // entry cannot be pressed. The focus lights an entry alone, as the pointer does; a
    // mouse click gives no focus. An entry opens by the reader's press and by Space.
    void theMenusEntries()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        QVERIFY(showAndExpose(menu));
        const auto press = [](Control &c) {
            QAccessibleActionInterface *a = QAccessible::queryAccessibleInterface(c.widget())->actionInterface();
            a->doAction(QAccessibleActionInterface::pressAction());
        };
        QAccessibleInterface *title = QAccessible::queryAccessibleInterface(menu.Label1->widget());
        QCOMPARE(title->role(), QAccessible::StaticText);
        QCOMPARE(title->text(QAccessible::Name), u"Velmora"_s);
        press(menu.Label2[0]);
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
        menu.activateWindow();
        menu.Label2[20].setFocus();
        menu.Label2[1].setFocus();
        TestApp::settle();
        QCOMPARE(std::pair(menu.Label2[1].isOpaque(), menu.Label2[20].isOpaque()), std::pair(true, false));
        clickAt(menu, menu.Label2[12].left() + 100, menu.Label2[12].top() + 100); // the publisher's site
        QVERIFY(!menu.Label2[12].widget()->hasFocus());
        press(menu.Label2[12]);
        QCOMPARE(app.shell.opened.size(), 2);
        QTest::keyClick(menu.Label2[1].widget(), Qt::Key_Space);
        QVERIFY(app.forms.loaded<ardovin>() && app.forms.loaded<ardovin>()->isVisible());
    }

    // From the title screen to the quiz's results: the arrows choose the answers, Tab and
    // Enter go on. Questions 2 and 5 are answered wrongly.
    void aPupilsQuizByKeyboard()
    {
        TestApp app;
        QVERIFY(showAndExpose(app.forms.ref<Titlefrm>()));
        for (const QString &step : {u"OK"_s, u"Ardovin Sevrani"_s, u"Multiple Choice"_s})
            QVERIFY(choose(app, step));
        multiple &quiz = *app.forms.loaded<multiple>();
        QVERIFY(QTest::qWaitForWindowActive(&quiz));
        for (int q = 1; q <= 10; ++q) {
            const int right = app.m.rightans[q].toInt();
            const int chosen = q == 2 || q == 5 ? right % 4 + 1 : right;
            const std::array<QString, 5> answers{QString(), app.m.ansa[q], app.m.ansb[q], app.m.ansc[q], app.m.ansd[q]};
            // Each question starts with the focus in the answers, none chosen: the arrows choose.
            const auto arrowTo = [&](int key) {
                for (int i = 0; i < 8 && focused() != answers[chosen]; ++i)
                    press(app, key);
                return focused() == answers[chosen];
            };
            QVERIFY(arrowTo(Qt::Key_Down) || arrowTo(Qt::Key_Up));
            QVERIFY(quiz.Option1[chosen].value());
            QVERIFY(choose(app, q < 10 ? u"Next Question >>"_s : u"Check Score >>"_s));
        }
        Welldone *results = app.forms.loaded<Welldone>();
        QVERIFY(results && QTest::qWaitForWindowActive(results));
        QCOMPARE(app.m.score, 8);
    }

    // The timeline's boxes run down the years; the events go there by numbers and by
    // arrows, which go round from the last box to where the event started.
    void theTimelineByKeyboard()
    {
        TestApp app;
        QVERIFY(showAndExpose(app.forms.ref<ardovin>()));
        QVERIFY(choose(app, u"Ardovin Timeline"_s));
        ardovinord *timeline = app.forms.loaded<ardovinord>();
        QVERIFY(timeline && QTest::qWaitForWindowActive(timeline));
        const QList<std::pair<QString, QList<int>>> events{
            {u"Ardovin was born in Pisa"_s, {Qt::Key_1}},
            {u"Ardovin was appointed Professor"_s, {Qt::Key_Down, Qt::Key_Down}},
            {u"Ardovin built his own telescope"_s, {Qt::Key_3}},
            {u"Ardovin was questioned by the Inquisition"_s, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}},
            {u"Ardovin completed his last book"_s, {Qt::Key_Right, Qt::Key_5}},
            {u"Ardovin died in Florence"_s, {Qt::Key_Left}},
        };
        // Picked up with Enter, carried, put down with Space.
        for (const auto &[event, moves] : events) {
            QVERIFY2(tabTo(app, event) && press(app, Qt::Key_Return), qPrintable(event));
            for (int key : moves)
                QVERIFY(press(app, key));
            QVERIFY(press(app, Qt::Key_Space));
        }
        QVERIFY(choose(app, u"Check Score"_s));
        QCOMPARE(timeline->Label5->caption(), u"6 out of 6 correct"_s);
    }

    // The wizard keeps its own order, each stop named for a screen reader: the title,
    // each question with its answers A to D, the forty tick boxes, "Save Worksheet", "Exit".
    void theWizardsOrderAndNames()
    {
        TestApp app;
        wizard &editor = app.forms.ref<wizard>();
        QVERIFY(showAndExpose(editor));
        QStringList expected{u"Worksheet Title"_s}, ticks;
        for (int q = 1; q <= 10; ++q) {
            expected << u"Question %1"_s.arg(q);
            for (const QChar letter : u"ABCD"_s) {
                expected << u"Question %1, answer %2"_s.arg(q).arg(letter);
                ticks << u"Question %1, answer %2 is right"_s.arg(q).arg(letter);
            }
        }
        expected << ticks << u"Save Worksheet"_s << u"Exit"_s;
        editor.Text1->setFocus();
        QStringList met{focused()};
        while (met.size() < expected.size() && press(app, Qt::Key_Tab))
            met << focused();
        QCOMPARE(met, expected);
    }

    // Option buttons and tick boxes answer a click anywhere in their designed box, as a
    // pupil or teacher clicks them: beside the text as well as on the dot or the caption.
    void clickAnywhereInTheBox_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::newRow("main menu: sound options") << u"intro0"_s;
        QTest::newRow("quiz: answers A to D") << u"multiple"_s;
        QTest::newRow("wizard: 40 tick boxes") << u"wizard"_s;
        QTest::newRow("catalogue: edit and delete") << u"worksheets"_s;
    }

    // A click at each corner pixel of the box and at its centre sets it; a click on the
    // bare form just left of the box does not.
    void clickAnywhereInTheBox()
    {
        QFETCH(QString, screen);
        TestApp app;
        Form &form = app.forms.ref(screen);
        QVERIFY(showAndExpose(form));
        int boxes = 0;
        for (Control *control : form.controls()) {
            auto *box = qobject_cast<IndicatorButton *>(control);
            // The quiz's "no answer chosen" lies under its picture, out of reach by design.
            if (!box || !box->visible() || (qobject_cast<multiple *>(&form) && box->index() == multiple::kNoChoice))
                continue;
            ++boxes;
            const QWidget *w = box->widget();
            const QRect r = w->rect();
            QCOMPARE(form.childAt(w->mapTo(&form, r.center())), w);
            for (const QPoint &p :
                 {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(), r.center(), QPoint(-1, r.center().y())}) {
                const QPoint pixel = w->mapTo(&form, p);
                const bool inside = r.contains(p);
                // The wizard's answer boxes are designed to overlap the last column of
                // the tick boxes beside them; a point covered so belongs to the box above.
                if (form.childAt(pixel) != (inside ? w : nullptr))
                    continue;
                clear(form, *box);
                QVERIFY(!box->value());
                QTest::mouseClick(form.windowHandle(), Qt::LeftButton, Qt::NoModifier, pixel);
                const QString what = u"%1(%2) at %3,%4"_s.arg(box->name()).arg(box->index());
                QVERIFY2(box->value() == inside, qPrintable(what.arg(pixel.x()).arg(pixel.y())));
            }
        }
        QVERIFY(boxes > 0);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
