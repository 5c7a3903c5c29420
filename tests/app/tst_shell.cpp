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
using namespace Qt::StringLiterals;

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
    void titleInFrontOfTheBackdrop_data()
    {
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QRectF>("frame"); // in twips, on a 1024 by 768 screen
        // Centred by its own size, not by the 12000 by 9000 frame.
        QTest::newRow("with its picture") << true << QRectF((15360 - 5460) / 2.0, (11520 - 6570) / 2.0, 5460, 6570);
        QTest::newRow("without: the framed size") << false << QRectF(1680, 1260, 12000, 9000);
    }

    void titleInFrontOfTheBackdrop()
    {
        QFETCH(bool, picture);
        QFETCH(QRectF, frame);
        TestApp app(picture);
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        Grey *grey = app.forms.loaded<Grey>();
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({grey, &title}));
        QCOMPARE(grey->size(), QSize(1024, 768));
        QCOMPARE(QRectF(title.left(), title.top(), title.formWidth(), title.formHeight()), frame);
        QCOMPARE(title.caption(), u"Velmora"_s); // a taskbar entry is never blank
        QCOMPARE(title.Picture1->picture().isNull(), !picture);
        QCOMPARE(title.Picture1->missingSource(), picture ? QString() : u"Images\\quintaransm.jpg"_s);
        QVERIFY(app.messages.shown.isEmpty());
    }

    void leavingTheTitle_data()
    {
        QTest::addColumn<bool>("confirming"); // the title screen as the menu's exit confirmation
        QTest::addColumn<int>("how"); // its OK (Cancel), its Exit, or its window closed
        QTest::addColumn<QStringList>("left"); // the screens then shown, front last
        const QStringList menu{u"Grey"_s, u"intro0"_s};
        QTest::newRow("OK: the menu over the backdrop") << false << 0 << menu;
        QTest::newRow("Exit ends the program") << false << 1 << QStringList();
        QTest::newRow("closing the window ends it") << false << 2 << QStringList();
        QTest::newRow("menu's Exit asks; Cancel keeps the menu as it was") << true << 0 << menu;
        QTest::newRow("menu's Exit asks; Exit ends the program") << true << 1 << QStringList();
        QTest::newRow("closing the menu asks; closing that is Cancel") << true << 2 << menu;
    }

    void leavingTheTitle()
    {
        QFETCH(bool, confirming);
        QFETCH(int, how);
        QFETCH(QStringList, left);
        TestApp app;
        Titlefrm *title = &app.forms.ref<Titlefrm>();
        title->showForm();
        if (confirming) {
            intro0 &menu = openMenu(app);
            menu.Option2->setValue(true);
            QVERIFY(QTest::qWaitForWindowExposed(&menu));
            if (how == 2)
                menu.close();
            else
                clickAt(menu, 11000, 8150); // "Exit"
            title = app.forms.loaded<Titlefrm>();
            QVERIFY(title && title->isVisible());
            QCOMPARE(title->Command1->caption(), u"Cancel"_s);
            // The backdrop now covers the menu, and the confirmation stands in front.
            QCOMPARE(app.forms.stackingOrder(), QList<Form *>({&menu, app.forms.loaded<Grey>(), title}));
        }
        if (how == 2)
            title->close();
        else
            (how == 0 ? title->Command1 : title->Command2)->click();
        TestApp::settle();
        QStringList shown;
        for (Form *form : app.forms.stackingOrder())
            shown << form->formName();
        QCOMPARE(shown, left);
        QCOMPARE(app.ended, left.isEmpty());
        QCOMPARE(app.forms.loadedForms().size(), left.size());
        if (confirming && !left.isEmpty())
            QVERIFY(app.forms.loaded<intro0>()->Option2->value());
    }

    // The pictures at their own size; entries light under the pointer; the publisher's
    // address and logo open its site, a disabled scientist nothing.
    void menuByThePointer()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QCOMPARE(menu.Image1->width(), 4800.0);
        QVERIFY(!menu.Image2->picture().isNull());
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
        clickAt(menu, 8600, 8200); // entry 12
        clickAt(menu, menu.Image2->left() + 300, menu.Image2->top() + 300); // the logo
        clickAt(menu, 1700, 2230); // entry 0
        QCOMPARE(app.shell.opened, QStringList({kPublisherUrl, kPublisherUrl}));
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
    }

    void listIsReadOnceTheMenuIsDrawn_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no file
        QTest::addColumn<long long>("count");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("no list file") << QByteArray() << 0LL << QStringList();
        QTest::newRow("count 3, two names: what was read stays")
            << " 3 \r\nPlants\r\nMaths\r\n"_ba << 3LL << QStringList({u"Plants"_s, u"Maths"_s});
    }

    // A list on a slow network folder must not keep the title screen standing: a tick
    // before the menu's first drawing reads nothing. Then the list is read silently,
    // whatever it holds, and the slot is closed again.
    void listIsReadOnceTheMenuIsDrawn()
    {
        QFETCH(QByteArray, list);
        QFETCH(long long, count);
        QFETCH(QStringList, titles);
        TestApp app;
        app.removeDataFile(u"multiple/track.txt"_s);
        if (!list.isEmpty())
            app.writeDataFile(u"multiple/track.txt"_s, list);
        intro0 &menu = app.forms.ref<intro0>();
        menu.showForm();
        QVERIFY(!menu.hasPainted());
        menu.Timer1->fire();
        QCOMPARE(app.m.trackcount, 0LL);
        QTRY_VERIFY(!menu.Timer1->enabled());
        QVERIFY(menu.hasPainted());
        QCOMPARE(app.m.trackcount, count);
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(app.m.tracklist[i + 1], titles[i]);
        QVERIFY(app.messages.shown.isEmpty());
        QVERIFY(!app.platform.file1().isOpen());
    }

    void portraitCentredWhateverItsWidth_data()
    {
        QTest::addColumn<int>("pixels");
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
        app.writeDataFile(u"Images/ardovin1.jpg"_s, jpeg.data());
        ardovin &page = app.forms.ref<ardovin>();
        QCOMPARE(QPointF(page.Image1->left(), page.Image1->top()), QPointF((12000 - pixels * 15) / 2.0, 1560));
    }

    // Each "Multiple Choice" reads the unit's quiz afresh; without its file the pupil is
    // told which file is missing, and the page goes on working. The slot is closed after each.
    void multipleChoiceReadsTheUnitQuizEachTime()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        page.Label3[0].onClick();
        QCOMPARE(app.m.worktitle, u"Ardovin Sevrani"_s);
        app.m.quest[3] = u"changed in memory"_s;
        page.Label3[0].onClick();
        QVERIFY(app.m.quest[3] != u"changed in memory"_s);
        QVERIFY(!app.platform.file1().isOpen());
        app.removeDataFile(u"multiple/Ardovin Sevrani.txt"_s);
        page.Label3[0].onClick();
        QCOMPARE(app.messages.shown.size(), 1);
        QVERIFY(app.messages.shown[0].text.contains(u"Ardovin Sevrani.txt"_s));
        QVERIFY(!app.platform.file1().isOpen());
        page.Label3[4].onClick();
        QVERIFY(app.forms.loaded<teacher>());
    }

    // By routed clicks from the title screen: the key facts and the teacher's notes, each
    // from page 1 to page 2, then the unit's "Exit" back to the menu as it was left.
    void routedPathThroughTheScreens()
    {
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        QVERIFY(showAndExpose(title));
        clickAt(title, 1320 + 660, 6000 - 90 + 180); // "OK", inside the title's frame, whose top is at -90
        TestApp::settle();
        intro0 *menu = app.forms.loaded<intro0>();
        QVERIFY(menu && QTest::qWaitForWindowExposed(menu));
        menu->Option2->setValue(true);
        clickCentre(*menu, menu->Label2[1]);
        ardovin *page = app.forms.loaded<ardovin>();
        QVERIFY(page && QTest::qWaitForWindowExposed(page));
        page->Label3[0].setBackStyle(BackStyle::Transparent);
        // Entries light up under the pointer, and the bare page turns none off.
        page->Label3[4].setBackStyle(BackStyle::Transparent);
        moveTo(*page, page->Label3[4].left() + 100, page->Label3[4].top() + 100);
        moveTo(*page, 6000, 7000);
        QVERIFY(page->Label3[4].isOpaque());
        for (const auto &[entry, pages] : {std::pair{4, u"key ardovin"_s}, std::pair{5, u"ardovin"_s}}) {
            clickCentre(*page, page->Label3[entry]);
            teacher *viewer = app.forms.loaded<teacher>();
            QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
            QCOMPARE(app.forms.stackingOrder().last(), viewer);
            QCOMPARE(app.m.pagename, pages);
            QCOMPARE(viewer->Label1->caption(), u"Page 1 of 2"_s);
            QCOMPARE(viewer->Image1->picture().source(), u"wmf\\%1a.wmf"_s.arg(pages));
            QCOMPARE(viewer->Image2->picture().source(), u"wmf2\\%1a.wmf"_s.arg(pages));
            clickCentre(*viewer, viewer->Label3[2]);
            QCOMPARE(viewer->Label1->caption(), u"Page 2 of 2"_s);
            clickCentre(*viewer, viewer->Label3[1]);
            QVERIFY(!app.forms.loaded<teacher>());
            TestApp::settle();
        }
        clickCentre(*page, page->Label3[2]);
        QVERIFY(!app.forms.loaded<ardovin>());
        QCOMPARE(app.forms.stackingOrder().last(), menu);
        QVERIFY(menu->Option2->value()); // "Sound Off" kept behind the unit page
        TestApp::settle();
        menu->Label2[1].onClick();
        QVERIFY(app.forms.loaded<ardovin>()->Label3[0].isOpaque()); // a fresh page
        app.forms.loaded<ardovin>()->close(); // the window manager's close is "Exit"
        QVERIFY(!app.forms.loaded<ardovin>());
        menu->unload();
        TestApp::settle();
        QVERIFY(app.forms.ref<intro0>().Option1->value()); // built again, it starts with "Sound On"
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
