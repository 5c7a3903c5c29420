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
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "worksheets/wizard.h"
#include "worksheets/worksheets.h"

#include <QAccessible>
#include <QApplication>
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
