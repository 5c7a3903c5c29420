#include "app/ardovin.h"
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

class TestPageViewers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageByPage_data()
    {
        QTest::addColumn<bool>("teachersGuide");
        QTest::addColumn<bool>("noPrinter");
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QString>("missing"); // a page whose files are not there
        QTest::newRow("teacher's notes") << false << false << 0 << QString();
        QTest::newRow("teachers' guide") << true << false << 0 << QString();
        QTest::newRow("teacher's notes, page 2 missing") << false << false << 0 << QStringLiteral("ardovinb.wmf");
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
            return teachersGuide ? QStringLiteral("guide%1.wmf").arg(page)
                                 : QStringLiteral("ardovin%1.wmf").arg(QChar(u'a' + page - 1));
        };
        const auto check = [&](int page) {
            QCOMPARE(viewer.Label1->caption(), QStringLiteral("Page %1 of %2").arg(page).arg(count));
            QCOMPARE(std::pair(shown(*viewer.Image1), shown(*viewer.Image2)),
                     std::pair(QStringLiteral("wmf\\") + file(page), QStringLiteral("wmf2\\") + file(page)));
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
        QCOMPARE(app.printer.documents(), fails ? 0 : 1);
        QCOMPARE(app.messages.shown.size(), fails ? 1 : 0);
        if (fails) {
            QCOMPARE(std::pair(app.messages.shown[0].text, app.messages.shown[0].title),
                     std::pair(kPrintProblem, QStringLiteral("Velmora")));
        } else {
            const QList<Op> pictures = app.printer.ofKind(Op::Picture);
            QCOMPARE(std::tuple(pictures.size(), pictures[0].text, pictures[0].x, pictures[0].y),
                     std::tuple(qsizetype(1), QStringLiteral("wmf2\\") + file(1), 1000.0, 1000.0));
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
                 std::pair(QStringLiteral("wmf\\acknowledgments.wmf"), QStringLiteral("wmf2\\acknowledgments.wmf")));
        QVERIFY(viewer.Timer1->enabled() && !viewer.Picture1->visible() && !viewer.Picture2->visible());
        viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0001.gif"));
        QVERIFY(viewer.Picture1->visible() && viewer.Picture2->visible());
        for (int i = 0; i < 18; ++i)
            viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0019.gif"));
        viewer.Timer1->fire();
        QCOMPARE(viewer.Picture1->picture().source(), QStringLiteral("logo\\kest0000.gif"));
        viewer.Timer1->fire(); // frame 1 shown last
        viewer.Label3[0].onClick();
        QCOMPARE(app.printer.ofKind(Op::Picture).value(0).text, QStringLiteral("wmf2\\acknowledgments.wmf"));

        viewer.Label3[1].onClick(); // Exit
        TestApp::settle();
        menu.Label2[19].onClick();
        app.forms.loaded<teacher>()->Timer1->fire();
        QCOMPARE(app.forms.loaded<teacher>()->Picture1->picture().source(), QStringLiteral("logo\\kest0002.gif"));
    }

    // The guide's entries light up under the pointer only until it first leaves them.
    void guideEntriesClearForGood()
    {
        TestApp app;
        PageViewer &pages = openPages(app, true);
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        const auto opaque = [&pages] {
            return std::count_if(pages.Label3.begin(), pages.Label3.end(),
                                 [](const auto &e) { return e.second->isOpaque(); });
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
