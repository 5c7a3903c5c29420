#include "app/intro0.h"
#include "module1/messages.h"
#include "pages/guide.h"
#include "pages/teacher.h"
#include "support/testapp.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/timer.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;
using Op = RecordingPrintTarget::Op;

namespace {

// The file a picture control shows, or the one it misses.
QString shown(const Image &image)
{
    return image.picture().isNull() ? image.missingSource() : image.picture().source();
}

struct EntryStates {
    bool previous;
    bool next;
};

EntryStates states(const PageViewer &viewer)
{
    return {viewer.Label3[3].enabled(), viewer.Label3[2].enabled()};
}

// Opens the key facts or the teacher's notes the way the unit page does.
teacher &openNotes(TestApp &app, const QString &pagename)
{
    app.m.pagecount = 2;
    app.m.pagename = pagename;
    teacher &viewer = app.forms.ref<teacher>();
    viewer.Image1->setPicture(
        app.platform.pictures().load(QStringLiteral("wmf\\") + pagename + QStringLiteral("a.wmf")).picture);
    viewer.Image2->setPicture(
        app.platform.pictures().load(QStringLiteral("wmf2\\") + pagename + QStringLiteral("a.wmf")).picture);
    viewer.showForm();
    return viewer;
}

void click(Label &entry)
{
    entry.onClick();
}

} // namespace

class TestPageViewers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notesPageByPage()
    {
        TestApp app;
        teacher &viewer = openNotes(app, QStringLiteral("ardovin"));
        QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page 1 of 2"));
        QCOMPARE(app.m.pageno, qint16(1));
        QVERIFY(!states(viewer).previous && states(viewer).next);
        QCOMPARE(shown(*viewer.Image1), QStringLiteral("wmf\\ardovina.wmf"));

        click(viewer.Label3[2]); // Next Page
        QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page 2 of 2"));
        QVERIFY(states(viewer).previous && !states(viewer).next);
        QCOMPARE(shown(*viewer.Image1), QStringLiteral("wmf\\ardovinb.wmf"));
        QCOMPARE(shown(*viewer.Image2), QStringLiteral("wmf2\\ardovinb.wmf"));
        QVERIFY(!viewer.Image2->visible());

        click(viewer.Label3[0]); // Print
        const QList<Op> pictures = app.printer.ofKind(Op::Picture);
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures[0].text, QStringLiteral("wmf2\\ardovinb.wmf"));
        QCOMPARE(QPointF(pictures[0].x, pictures[0].y), QPointF(1000, 1000));
        QCOMPARE(app.printer.documents(), 1);
        QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page 2 of 2"));

        click(viewer.Label3[3]); // Previous Page
        QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page 1 of 2"));
        QVERIFY(!states(viewer).previous && states(viewer).next);
        QCOMPARE(shown(*viewer.Image2), QStringLiteral("wmf2\\ardovina.wmf"));
        QVERIFY(app.messages.shown.isEmpty());
    }

    void oneOrThreePageSets()
    {
        TestApp app;
        app.m.pagecount = 1;
        app.m.pagename = QStringLiteral("single");
        teacher &single = app.forms.ref<teacher>();
        QVERIFY(!single.Label1->visible() && !single.Label3[2].visible() && !single.Label3[3].visible());
        single.unload();
        TestApp::settle();

        app.m.pagecount = 3;
        app.m.pagename = QStringLiteral("three");
        teacher &three = app.forms.ref<teacher>();
        click(three.Label3[2]);
        QVERIFY(states(three).previous && states(three).next);
        click(three.Label3[2]);
        QCOMPARE(shown(*three.Image1), QStringLiteral("wmf\\threec.wmf"));
        QCOMPARE(three.Label1->caption(), QStringLiteral("Page 3 of 3"));
        QVERIFY(!states(three).next);
    }

    void printFailuresAreTold_data()
    {
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::newRow("no printer") << true << 0;
        QTest::newRow("printer fails on the page") << false << 1;
    }

    void printFailuresAreTold()
    {
        QFETCH(bool, noPrinter);
        QFETCH(int, failAt);
        TestApp app;
        app.printer.noPrinter = noPrinter;
        app.printer.failAtDrawing = failAt;
        teacher &viewer = openNotes(app, QStringLiteral("key ardovin"));
        click(viewer.Label3[2]);
        click(viewer.Label3[0]);
        QCOMPARE(app.messages.shown.size(), 1);
        QCOMPARE(app.messages.shown[0].text, kPrintProblem);
        QCOMPARE(app.messages.shown[0].title, QStringLiteral("Velmora"));
        QCOMPARE(app.printer.documents(), 0);
        QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page 2 of 2"));
        QCOMPARE(shown(*viewer.Image1), QStringLiteral("wmf\\key ardovinb.wmf"));
    }

    void missingPagesShowWhatIsMissing()
    {
        TestApp app;
        app.removeDataFile(QStringLiteral("wmf/ardovinb.wmf"));
        app.removeDataFile(QStringLiteral("wmf2/ardovinb.wmf"));
        teacher &viewer = openNotes(app, QStringLiteral("ardovin"));
        click(viewer.Label3[2]);
        QCOMPARE(viewer.Image1->missingSource(), QStringLiteral("wmf\\ardovinb.wmf"));
        QVERIFY(viewer.Image1->width() > 0);
        click(viewer.Label3[0]);
        QCOMPARE(app.printer.documents(), 0);
        QCOMPARE(app.messages.shown.size(), 1);
        QVERIFY(app.messages.shown[0].text.contains(QStringLiteral("missing")));
    }

    void acknowledgmentsAnimate()
    {
        TestApp app;
        intro0 &menu = app.forms.ref<intro0>();
        menu.Label2[19].onClick();
        teacher &viewer = *app.forms.loaded<teacher>();
        QVERIFY(viewer.isVisible());
        QVERIFY(!viewer.Label1->visible() && !viewer.Label3[2].visible() && !viewer.Label3[3].visible());
        QCOMPARE(viewer.backColor(), QColor(49, 130, 212));
        QCOMPARE(shown(*viewer.Image1), QStringLiteral("wmf\\acknowledgments.wmf"));
        QCOMPARE(shown(*viewer.Image2), QStringLiteral("wmf2\\acknowledgments.wmf"));
        QVERIFY(viewer.Timer1->enabled());
        QCOMPARE(viewer.Timer1->interval(), 25);
        QVERIFY(!viewer.Picture1->visible() && !viewer.Picture2->visible());

        QCOMPARE(app.m.logoframe, qint16(0));
        viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0001.gif"));
        QVERIFY(viewer.Picture1->visible() && viewer.Picture2->visible());
        for (int i = 0; i < 18; ++i)
            viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0019.gif"));
        viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0000.gif"));
        viewer.Timer1->fire();
        QCOMPARE(app.m.logoframe, qint16(1));

        click(viewer.Label3[0]);
        QCOMPARE(app.printer.ofKind(Op::Picture).value(0).text, QStringLiteral("wmf2\\acknowledgments.wmf"));

        // Exit unloads; the next opening goes on from the frame last shown.
        click(viewer.Label3[1]);
        QVERIFY(!app.forms.loaded<teacher>());
        TestApp::settle();
        menu.Label2[19].onClick();
        app.forms.loaded<teacher>()->Timer1->fire();
        QCOMPARE(app.forms.loaded<teacher>()->Picture1->picture().source(), QStringLiteral("logo\\kest0002.gif"));
    }

    void afterAcknowledgmentsNotesOpenFresh()
    {
        TestApp app;
        app.forms.ref<intro0>().Label2[19].onClick();
        app.forms.loaded<teacher>()->Label3[1].onClick();
        TestApp::settle();
        teacher &viewer = openNotes(app, QStringLiteral("ardovin"));
        QCOMPARE(viewer.backColor(), QColor(39, 63, 137));
        QVERIFY(viewer.Label1->visible() && viewer.Label3[2].visible());
        QVERIFY(!viewer.Picture1->visible() && !viewer.Timer1->enabled());
    }

    void guidePages()
    {
        TestApp app;
        app.forms.ref<intro0>().Label2[20].onClick();
        guide &pages = *app.forms.loaded<guide>();
        QCOMPARE(pages.Label1->caption(), QStringLiteral("Page 1 of 5"));
        QCOMPARE(app.m.pageno, qint16(1));
        QCOMPARE(shown(*pages.Image1), QStringLiteral("wmf\\guide1.wmf"));
        QVERIFY(!states(pages).previous && states(pages).next);
        for (int page = 2; page <= 5; ++page) {
            click(pages.Label3[2]);
            QCOMPARE(pages.Label1->caption(), QStringLiteral("Page %1 of 5").arg(page));
            QCOMPARE(shown(*pages.Image1), QStringLiteral("wmf\\guide%1.wmf").arg(page));
            QCOMPARE(shown(*pages.Image2), QStringLiteral("wmf2\\guide%1.wmf").arg(page));
            QCOMPARE(states(pages).next, page < 5);
            QVERIFY(states(pages).previous);
        }
        click(pages.Label3[3]);
        QVERIFY(states(pages).previous && states(pages).next);
        click(pages.Label3[3]); // page 3
        click(pages.Label3[0]);
        QCOMPARE(app.printer.ofKind(Op::Picture).value(0).text, QStringLiteral("wmf2\\guide3.wmf"));
        QCOMPARE(pages.Label1->caption(), QStringLiteral("Page 3 of 5"));
        click(pages.Label3[3]);
        click(pages.Label3[3]);
        QCOMPARE(pages.Label1->caption(), QStringLiteral("Page 1 of 5"));
        QVERIFY(!states(pages).previous && states(pages).next);
    }

    void guideEntriesClearForGood()
    {
        TestApp app;
        app.forms.ref<intro0>().Label2[20].onClick();
        guide &pages = *app.forms.loaded<guide>();
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        const auto opaque = [&pages] {
            int n = 0;
            for (const auto &[index, label] : pages.Label3)
                n += label->isOpaque() ? 1 : 0;
            return n;
        };
        moveTo(pages, 11200, 350); // over "Print": nothing
        QCOMPARE(opaque(), 4);
        moveTo(pages, 3000, 8700); // bare form
        QCOMPARE(opaque(), 0);
        moveTo(pages, 11200, 8150); // "Exit" does not light up again
        QCOMPARE(opaque(), 0);
    }
};

QTEST_MAIN(TestPageViewers)
#include "tst_pageviewers.moc"
