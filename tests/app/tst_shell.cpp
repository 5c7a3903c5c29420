// The shell's screens: the title screen over its backdrop, the main menu and the unit page.
#include "app/ardovin.h"
#include "app/grey.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "module1/publisher.h"
#include "pages/teacher.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/timer.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

void clickCentre(Form &form, const Control &c)
{
    clickAt(form, c.left() + c.width() / 2, c.top() + c.height() / 2);
}

QList<int> opaqueEntries(const intro0 &menu)
{
    QList<int> out;
    for (const auto &[index, label] : menu.Label2) {
        if (label->isOpaque())
            out << index;
    }
    return out;
}

// The menu as "OK" on the title screen leaves it.
intro0 &openMenu(TestApp &app)
{
    app.forms.ref<Titlefrm>().showForm();
    app.forms.loaded<Titlefrm>()->Command1->click();
    TestApp::settle();
    return *app.forms.loaded<intro0>();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleStartsInFrontOfTheBackdrop()
    {
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        Grey *grey = app.forms.loaded<Grey>();
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({grey, &title}));
        QCOMPARE(grey->size(), QSize(1024, 768));
        // Centred by its own size on 1024 by 768, not by the 12000 by 9000 frame.
        QCOMPARE(QPointF(title.left(), title.top()), QPointF((15360 - 5460) / 2.0, (11520 - 6570) / 2.0));
        QCOMPARE(title.caption(), QStringLiteral("Velmora")); // a taskbar entry is never blank
        QVERIFY(!title.Picture1->picture().isNull());
    }

    void titleWithoutItsPictureTakesTheFramedSize()
    {
        TestApp app(false);
        Titlefrm &title = app.forms.ref<Titlefrm>();
        QCOMPARE(QSizeF(title.formWidth(), title.formHeight()), QSizeF(12000, 9000));
        QCOMPARE(title.left(), 1680.0);
        QCOMPARE(title.caption(), QStringLiteral("Velmora"));
        QCOMPARE(title.Picture1->missingSource(), QStringLiteral("Images\\quintaransm.jpg"));
        QVERIFY(app.messages.shown.isEmpty());
    }

    void leavingTheTitle_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QStringList>("left"); // the screens then shown, front last
        QTest::newRow("OK: the menu over the backdrop")
            << 0 << QStringList{QStringLiteral("Grey"), QStringLiteral("intro0")};
        QTest::newRow("Exit ends the program") << 1 << QStringList();
        QTest::newRow("closing the window ends it") << 2 << QStringList();
    }

    void leavingTheTitle()
    {
        QFETCH(int, how);
        QFETCH(QStringList, left);
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        if (how == 2)
            title.close();
        else
            (how == 0 ? title.Command1 : title.Command2)->click();
        TestApp::settle();
        QStringList shown;
        for (Form *form : app.forms.stackingOrder())
            shown << form->formName();
        QCOMPARE(shown, left);
        QCOMPARE(app.ended, left.isEmpty());
        QCOMPARE(app.forms.loadedForms().size(), left.size());
    }

    void menuHoverFollowsRoutedMoves()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        moveTo(menu, 5000, 8700); // bare form
        QCOMPARE(opaqueEntries(menu), QList<int>());
        moveTo(menu, 1700, 2950); // entry 1
        QCOMPARE(opaqueEntries(menu), QList<int>({1}));
        moveTo(menu, 9300, 3120); // the framed picture: nothing changes
        moveTo(menu, 11000, 500); // an option button: nothing changes
        QCOMPARE(opaqueEntries(menu), QList<int>({1}));
        moveTo(menu, 1700, 2230); // disabled entry 0 counts as bare form
        QCOMPARE(opaqueEntries(menu), QList<int>());
        moveTo(menu, 9000, 6850); // entry 18
        moveTo(menu, 9000, 6000); // straight on to entry 17: both stay lit
        QCOMPARE(opaqueEntries(menu), QList<int>({17, 18}));
        moveTo(menu, 5000, 8700);
        QCOMPARE(opaqueEntries(menu), QList<int>());
    }

    void publisherLinks()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        clickAt(menu, 8600, 8200); // entry 12
        clickAt(menu, menu.Image2->left() + 300, menu.Image2->top() + 300); // the logo
        QCOMPARE(app.shell.opened, QStringList({kPublisherUrl, kPublisherUrl}));
        clickAt(menu, 1700, 2230); // a disabled scientist does nothing
        QCOMPARE(app.shell.opened.size(), 2);
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
    }

    void exitConfirmationKeepsTheMenu()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        menu.Option2->setValue(true);
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        clickAt(menu, 11000, 8150); // "Exit"
        Titlefrm *confirm = app.forms.loaded<Titlefrm>();
        QVERIFY(confirm && confirm->isVisible());
        QCOMPARE(confirm->Command1->caption(), QStringLiteral("Cancel"));
        // The backdrop now covers the menu, and the confirmation stands in front.
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({&menu, app.forms.loaded<Grey>(), confirm}));
        confirm->Command1->click(); // "Cancel"
        TestApp::settle();
        QVERIFY(!app.forms.loaded<Titlefrm>());
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
        QVERIFY(menu.Option2->value());
        menu.close(); // the window manager's close asks too
        confirm = app.forms.loaded<Titlefrm>();
        QVERIFY(confirm && confirm->isVisible());
        confirm->Command2->click(); // "Exit"
        QVERIFY(app.ended);
    }

    // The pictures at their own size; a menu built again starts with "Sound On".
    void menuLoadsItsPicturesAndStartsWithSoundOn()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QCOMPARE(menu.Image1->width(), 4800.0);
        QVERIFY(!menu.Image2->picture().isNull());
        QVERIFY(menu.Option1->value());
        menu.Option2->setValue(true);
        menu.unload();
        TestApp::settle();
        QVERIFY(app.forms.ref<intro0>().Option1->value());
    }

    void listIsReadOnceAfterLoading_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no file
        QTest::addColumn<long long>("count");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("no list file") << QByteArray() << 0LL << QStringList();
        QTest::newRow("count 3, two names: what was read stays")
            << QByteArray(" 3 \r\nPlants\r\nMaths\r\n") << 3LL
            << QStringList({QStringLiteral("Plants"), QStringLiteral("Maths")});
    }

    // Silently, whatever the list holds, and the slot is closed again.
    void listIsReadOnceAfterLoading()
    {
        QFETCH(QByteArray, list);
        QFETCH(long long, count);
        QFETCH(QStringList, titles);
        TestApp app;
        app.removeDataFile(QStringLiteral("multiple/track.txt"));
        if (!list.isEmpty())
            app.writeDataFile(QStringLiteral("multiple/track.txt"), list);
        intro0 &menu = app.forms.ref<intro0>();
        QTRY_VERIFY(!menu.Timer1->enabled());
        QCOMPARE(app.m.trackcount, count);
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(app.m.tracklist[i + 1], titles[i]);
        QVERIFY(app.messages.shown.isEmpty());
        QVERIFY(!app.platform.file1().isOpen());
    }

    // A list on a slow network folder must not keep the title screen standing.
    void menuIsDrawnBeforeTheListIsRead()
    {
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), " 1 \r\nPlants\r\n");
        intro0 &menu = app.forms.ref<intro0>();
        menu.showForm();
        QVERIFY(!menu.hasPainted());
        menu.Timer1->fire(); // a tick before the first drawing reads nothing
        QCOMPARE(app.m.trackcount, 0LL);
        QTRY_VERIFY(!menu.Timer1->enabled());
        QVERIFY(menu.hasPainted());
        QCOMPARE(app.m.trackcount, 1LL);
    }

    void portraitCentredWhateverItsWidth_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::newRow("4800 twips wide") << 320;
        QTest::newRow("odd width") << 241;
        QTest::newRow("wider than the page") << 900;
    }

    void portraitCentredWhateverItsWidth()
    {
        QFETCH(int, pixels);
        TestApp app;
        QImage image(pixels, 40, QImage::Format_RGB32);
        image.fill(QColor(120, 80, 40));
        QBuffer jpeg;
        QVERIFY(jpeg.open(QIODevice::WriteOnly) && image.save(&jpeg, "JPEG"));
        app.writeDataFile(QStringLiteral("Images/ardovin1.jpg"), jpeg.data());
        ardovin &page = app.forms.ref<ardovin>();
        QCOMPARE(QPointF(page.Image1->left(), page.Image1->top()), QPointF((12000 - pixels * 15) / 2.0, 1560));
    }

    // Entries light up under the pointer, and the bare page turns none off.
    void unitEntriesLightUpAndStayLit()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[4].setBackStyle(BackStyle::Transparent);
        QVERIFY(showAndExpose(page));
        moveTo(page, page.Label3[4].left() + 100, page.Label3[4].top() + 100);
        QVERIFY(page.Label3[4].isOpaque());
        moveTo(page, 6000, 7000);
        QVERIFY(page.Label3[4].isOpaque());
    }

    void keyFactsThenNotesStartAtPageOne()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[4].onClick();
        teacher *viewer = app.forms.loaded<teacher>();
        QCOMPARE(app.m.pagename, QStringLiteral("key ardovin"));
        QCOMPARE(viewer->Label1->caption(), QStringLiteral("Page 1 of 2"));
        QCOMPARE(viewer->Image1->picture().source(), QStringLiteral("wmf\\key ardovina.wmf"));
        viewer->Label3[2].onClick(); // Next Page
        viewer->Label3[1].onClick(); // Exit
        TestApp::settle();
        page.Label3[5].onClick();
        viewer = app.forms.loaded<teacher>();
        QCOMPARE(viewer->Label1->caption(), QStringLiteral("Page 1 of 2"));
        QCOMPARE(viewer->Image1->picture().source(), QStringLiteral("wmf\\ardovina.wmf"));
        QCOMPARE(viewer->Image2->picture().source(), QStringLiteral("wmf2\\ardovina.wmf"));
        QCOMPARE(app.forms.stackingOrder().last(), viewer);
    }

    void multipleChoiceReadsTheUnitQuizEachTime()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[0].onClick();
        QCOMPARE(app.m.worktitle, QStringLiteral("Ardovin Sevrani"));
        app.m.quest[3] = QStringLiteral("changed in memory");
        page.Label3[0].onClick();
        QVERIFY(app.m.quest[3] != QStringLiteral("changed in memory"));
        QVERIFY(!app.platform.file1().isOpen());
    }

    void missingQuizFileIsTold()
    {
        TestApp app;
        app.removeDataFile(QStringLiteral("multiple/Ardovin Sevrani.txt"));
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[0].onClick();
        QCOMPARE(app.messages.shown.size(), 1);
        QVERIFY(app.messages.shown[0].text.contains(QStringLiteral("Ardovin Sevrani.txt")));
        QVERIFY(!app.platform.file1().isOpen());
        page.Label3[4].onClick(); // the page goes on working
        QVERIFY(app.forms.loaded<teacher>());
    }

    void unitExitKeepsTheMenuAsItWas()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        menu.showForm();
        menu.Option2->setValue(true);
        menu.Label2[1].onClick();
        ardovin *page = app.forms.loaded<ardovin>();
        QCOMPARE(app.forms.stackingOrder().last(), page);
        page->Label3[4].setBackStyle(BackStyle::Transparent);
        page->Label3[2].onClick(); // Exit
        QVERIFY(!app.forms.loaded<ardovin>());
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
        QVERIFY(menu.Option2->value()); // "Sound Off" kept behind the unit page
        TestApp::settle();
        menu.Label2[1].onClick();
        QVERIFY(app.forms.loaded<ardovin>()->Label3[4].isOpaque()); // a fresh page
        app.forms.loaded<ardovin>()->close(); // the window manager's close is "Exit"
        QVERIFY(!app.forms.loaded<ardovin>());
    }

    void routedPathThroughTheScreens()
    {
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        QVERIFY(showAndExpose(title));
        clickAt(title, 1320 + 660, 6000 - 90 + 180); // "OK", inside the title's frame, whose top is at -90
        TestApp::settle();
        intro0 *menu = app.forms.loaded<intro0>();
        QVERIFY(menu && QTest::qWaitForWindowExposed(menu));
        clickCentre(*menu, menu->Label2[1]);
        ardovin *page = app.forms.loaded<ardovin>();
        QVERIFY(page && QTest::qWaitForWindowExposed(page));
        clickCentre(*page, page->Label3[4]);
        teacher *viewer = app.forms.loaded<teacher>();
        QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
        clickCentre(*viewer, viewer->Label3[2]);
        QCOMPARE(viewer->Label1->caption(), QStringLiteral("Page 2 of 2"));
        clickCentre(*viewer, viewer->Label3[1]);
        QVERIFY(!app.forms.loaded<teacher>());
        TestApp::settle();
        clickCentre(*page, page->Label3[2]);
        QVERIFY(!app.forms.loaded<ardovin>());
        QCOMPARE(app.forms.stackingOrder().last(), menu);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
