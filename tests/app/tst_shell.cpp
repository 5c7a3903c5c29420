// The shell's screens: the title screen over its backdrop, the main menu and the unit page,
// and the page viewers they open (key facts, teacher's notes, the teachers' guide and the
// acknowledgments).
#include "app/ardovin.h"
#include "app/grey.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "module1/messages.h"
#include "module1/publisher.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/timer.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;
using Op = RecordingPrintTarget::Op;

namespace {

void clickCentre(Form &form, const Control &c)
{
    clickAt(form, c.left() + c.width() / 2, c.top() + c.height() / 2);
}

// The entries that show their background, by index.
QList<int> litEntries(const ControlArray<Label> &entries)
{
    QList<int> out;
    for (const auto &[index, label] : entries) {
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

// The file a picture control shows, or the one it misses.
QString shown(const Image &image)
{
    return image.picture().isNull() ? image.missingSource() : image.picture().source();
}

// The teachers' guide as the main menu opens it, or the teacher's notes as the unit
// page does.
PageViewer &openPages(TestApp &app, bool teachersGuide)
{
    if (teachersGuide) {
        app.forms.ref<intro0>().Label2[20].onClick();
        return *app.forms.loaded<guide>();
    }
    app.forms.ref<ardovin>().Label3[5].onClick();
    return *app.forms.loaded<teacher>();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void leavingTheTitle_data()
    {
        QTest::addColumn<bool>("picture"); // the title screen's picture is there
        QTest::addColumn<bool>("confirming"); // the title screen as the menu's exit confirmation
        QTest::addColumn<int>("how"); // its OK (Cancel), its Exit, or its window closed
        QTest::addColumn<QStringList>("left"); // the screens then shown, front last
        const QStringList menu{u"Grey"_s, u"intro0"_s};
        QTest::newRow("OK: the menu over the backdrop") << true << false << 0 << menu;
        QTest::newRow("no picture; Exit ends the program") << false << false << 1 << QStringList();
        QTest::newRow("closing the window ends it") << true << false << 2 << QStringList();
        QTest::newRow("menu's Exit asks; Cancel keeps the menu as it was") << true << true << 0 << menu;
        QTest::newRow("menu's Exit asks; Exit ends the program") << true << true << 1 << QStringList();
        QTest::newRow("closing the menu asks; closing that is Cancel") << true << true << 2 << menu;
    }

    // The title screen stands in front of the backdrop, which covers the screen, centred
    // by its own size (without its picture, by the 12000 by 9000 frame it then takes);
    // then it is left each way there is.
    void leavingTheTitle()
    {
        QFETCH(bool, picture);
        QFETCH(bool, confirming);
        QFETCH(int, how);
        QFETCH(QStringList, left);
        TestApp app(picture);
        Titlefrm *title = &app.forms.ref<Titlefrm>();
        title->showForm();
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({app.forms.loaded<Grey>(), title}));
        QCOMPARE(app.forms.loaded<Grey>()->size(), QSize(1024, 768));
        const QSizeF size = picture ? QSizeF(5460, 6570) : QSizeF(12000, 9000);
        QCOMPARE(QRectF(title->left(), title->top(), title->formWidth(), title->formHeight()),
                 QRectF(QPointF((15360 - size.width()) / 2, (11520 - size.height()) / 2), size));
        // Named, so that the taskbar entry is never blank; the picture, or the file it misses.
        QCOMPARE(std::tuple(title->caption(), title->Picture1->picture().isNull(), title->Picture1->missingSource()),
                 std::tuple(u"Velmora"_s, !picture, picture ? QString() : u"Images\\quintaransm.jpg"_s));
        QVERIFY(app.messages.shown.isEmpty());
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
        QCOMPARE(std::pair(app.ended, app.forms.loadedForms().size()), std::pair(left.isEmpty(), left.size()));
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
        QCOMPARE(std::pair(menu.Image1->width(), menu.Image2->picture().isNull()), std::pair(4800.0, false));
        moveTo(menu, 5000, 8700); // bare form
        QCOMPARE(litEntries(menu.Label2), QList<int>());
        moveTo(menu, 1700, 2950); // entry 1
        QCOMPARE(litEntries(menu.Label2), QList<int>({1}));
        moveTo(menu, 9300, 3120); // the framed picture: nothing changes
        moveTo(menu, 11000, 500); // an option button: nothing changes
        QCOMPARE(litEntries(menu.Label2), QList<int>({1}));
        moveTo(menu, 1700, 2230); // disabled entry 0 counts as bare form
        QCOMPARE(litEntries(menu.Label2), QList<int>());
        moveTo(menu, 9000, 6850); // entry 18
        moveTo(menu, 9000, 6000); // straight on to entry 17: both stay lit
        QCOMPARE(litEntries(menu.Label2), QList<int>({17, 18}));
        moveTo(menu, 5000, 8700);
        QCOMPARE(litEntries(menu.Label2), QList<int>());
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
        QCOMPARE(QStringList(app.m.tracklist.begin() + 1, app.m.tracklist.begin() + 1 + titles.size()), titles);
        QVERIFY(app.messages.shown.isEmpty() && !app.platform.file1().isOpen());
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
        QVERIFY(image.save(app.dataPath(u"Images/ardovin1.jpg"_s), "JPEG"));
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
        QVERIFY(app.m.quest[3] != u"changed in memory"_s && !app.platform.file1().isOpen());
        app.removeDataFile(u"multiple/Ardovin Sevrani.txt"_s);
        page.Label3[0].onClick();
        QCOMPARE(app.messages.shown.size(), 1);
        QVERIFY(app.messages.shown[0].text.contains(u"Ardovin Sevrani.txt"_s) && !app.platform.file1().isOpen());
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
        QCOMPARE(app.forms.stackingOrder().last(), menu);
        QVERIFY(!app.forms.loaded<ardovin>() && menu->Option2->value()); // "Sound Off" kept behind the unit page
        TestApp::settle();
        menu->Label2[1].onClick();
        app.forms.loaded<ardovin>()->close(); // the window manager's close is "Exit"
        QVERIFY(!app.forms.loaded<ardovin>());
        menu->unload();
        TestApp::settle();
        QVERIFY(app.forms.ref<intro0>().Option1->value()); // built again, it starts with "Sound On"
    }

    void pageByPage_data()
    {
        QTest::addColumn<bool>("teachersGuide");
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QString>("missing"); // a page whose files are not there
        QTest::newRow("teacher's notes") << false << false << 0 << QString();
        QTest::newRow("teachers' guide") << true << false << 0 << QString();
        QTest::newRow("teacher's notes, page 2 missing") << false << false << 0 << u"ardovinb.wmf"_s;
        QTest::newRow("teacher's notes, no printer") << false << true << 0 << QString();
        QTest::newRow("teachers' guide, the printer fails on the page") << true << false << 1 << QString();
    }

    // Forward to the last page and back to the first, each page with its pictures (or,
    // missing, a box naming the file) and the entries that lead on; then the first page's
    // print version is printed at 1000, 1000 twips, or the printer's failure is told,
    // and the page stays.
    void pageByPage()
    {
        QFETCH(bool, teachersGuide);
        QFETCH(bool, noPrinter);
        QFETCH(int, failAt);
        QFETCH(QString, missing);
        TestApp app;
        app.printer.noPrinter = noPrinter;
        app.printer.failAtDrawing = failAt;
        for (const char *folder : {"wmf/", "wmf2/"}) {
            if (!missing.isEmpty())
                app.removeDataFile(QLatin1String(folder) + missing);
        }
        PageViewer &viewer = openPages(app, teachersGuide);
        const int count = teachersGuide ? 5 : 2;
        const auto file = [teachersGuide](int page) {
            return teachersGuide ? u"guide%1.wmf"_s.arg(page) : u"ardovin%1.wmf"_s.arg(QChar(u'a' + page - 1));
        };
        const auto check = [&](int page) {
            QCOMPARE(viewer.Label1->caption(), u"Page %1 of %2"_s.arg(page).arg(count));
            QCOMPARE(std::pair(shown(*viewer.Image1), shown(*viewer.Image2)),
                     std::pair(u"wmf\\"_s + file(page), u"wmf2\\"_s + file(page)));
            QCOMPARE(std::pair(viewer.Label3[3].enabled(), viewer.Label3[2].enabled()),
                     std::pair(page > 1, page < count));
        };
        for (int page = 1; page <= count; ++page) {
            if (page > 1)
                viewer.Label3[2].onClick(); // Next Page
            check(page);
        }
        for (int page = count - 1; page >= 1; --page) {
            viewer.Label3[3].onClick(); // Previous Page
            check(page);
        }
        QVERIFY(!viewer.Image2->visible());
        viewer.Label3[0].onClick(); // Print
        check(1);
        const bool fails = noPrinter || failAt > 0;
        QCOMPARE(std::pair(app.printer.documents(), app.messages.shown.size()),
                 std::pair(fails ? 0 : 1, qsizetype(fails)));
        if (fails) {
            QCOMPARE(std::pair(app.messages.shown[0].text, app.messages.shown[0].title),
                     std::pair(kPrintProblem, u"Velmora"_s));
        } else {
            const QList<Op> pictures = app.printer.ofKind(Op::Picture);
            QCOMPARE(std::tuple(pictures.size(), pictures[0].text, pictures[0].x, pictures[0].y),
                     std::tuple(qsizetype(1), u"wmf2\\"_s + file(1), 1000.0, 1000.0));
        }
    }

    // The acknowledgments: the publisher's page with the turning logo, printable; the
    // next opening goes on from the frame last shown.
    void acknowledgments()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        menu.Label2[19].onClick();
        teacher &viewer = *app.forms.loaded<teacher>();
        QVERIFY(viewer.isVisible() && !viewer.Label1->visible() && !viewer.Label3[2].visible()
                && !viewer.Label3[3].visible());
        QCOMPARE(viewer.backColor(), QColor(49, 130, 212));
        QCOMPARE(std::pair(shown(*viewer.Image1), shown(*viewer.Image2)),
                 std::pair(u"wmf\\acknowledgments.wmf"_s, u"wmf2\\acknowledgments.wmf"_s));
        QVERIFY(viewer.Timer1->enabled() && !viewer.Picture1->visible() && !viewer.Picture2->visible());
        viewer.Timer1->fire();
        QCOMPARE(std::tuple(viewer.Picture1->picture().source(), viewer.Picture1->visible(),
                            viewer.Picture2->visible()),
                 std::tuple(u"logo\\kest0001.gif"_s, true, true));
        for (int i = 0; i < 18; ++i)
            viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), u"logo\\kest0019.gif"_s);
        viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), u"logo\\kest0000.gif"_s);
        viewer.Timer1->fire(); // frame 1 shown last
        viewer.Label3[0].onClick();
        QCOMPARE(app.printer.ofKind(Op::Picture).value(0).text, u"wmf2\\acknowledgments.wmf"_s);

        viewer.Label3[1].onClick(); // Exit
        TestApp::settle();
        menu.Label2[19].onClick();
        app.forms.loaded<teacher>()->Timer1->fire();
        QCOMPARE(app.forms.loaded<teacher>()->Picture1->picture().source(), u"logo\\kest0002.gif"_s);
    }

    // The guide's entries light up under the pointer only until it first leaves them.
    void guideEntriesClearForGood()
    {
        TestApp app;
        PageViewer &pages = openPages(app, true);
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        moveTo(pages, 11200, 350); // over "Print": nothing
        QCOMPARE(litEntries(pages.Label3), QList<int>({0, 1, 2, 3}));
        moveTo(pages, 3000, 8700); // bare form
        QCOMPARE(litEntries(pages.Label3), QList<int>());
        moveTo(pages, 11200, 8150); // "Exit" does not light up again
        QCOMPARE(litEntries(pages.Label3), QList<int>());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
