#include "app/ardovin.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "pages/teacher.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"

#include <QBuffer>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray jpegOfWidth(int width)
{
    QImage image(width, 40, QImage::Format_RGB32);
    image.fill(QColor(120, 80, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// The centre of a control in its form's twips.
QPointF centre(const Control &control)
{
    return QPointF(control.left() + control.width() / 2, control.top() + control.height() / 2);
}

} // namespace

class TestArdovin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void portraitCentredWhateverItsWidth_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<double>("left");
        QTest::newRow("4800 twips wide") << 320 << 3600.0;
        QTest::newRow("odd width") << 241 << (12000 - 241 * 15) / 2.0;
        QTest::newRow("wider than the page") << 900 << (12000 - 900 * 15) / 2.0;
    }

    void portraitCentredWhateverItsWidth()
    {
        QFETCH(int, pixels);
        QFETCH(double, left);
        TestApp app;
        app.writeDataFile(QStringLiteral("Images/ardovin1.jpg"), jpegOfWidth(pixels));
        ardovin &page = app.forms.ref<ardovin>();
        QCOMPARE(page.Image1->left(), left);
        QCOMPARE(page.Image1->top(), 1560.0);
    }

    void pageAsDesigned()
    {
        TestApp app;
        ardovin &page = app.forms.ref<ardovin>();
        QCOMPARE(page.backColor(), QColor(0, 0, 0));
        QCOMPARE(page.picture().source(), QStringLiteral("Images\\globe.jpg"));
        QCOMPARE(page.caption(), QStringLiteral("Velmora"));
        QCOMPARE(page.Label1->caption(), QStringLiteral("Ardovin Sevrani"));
        QCOMPARE(page.Label3.indices(), QList<int>({0, 1, 2, 3, 4, 5}));
        for (const auto &[index, label] : page.Label3)
            QVERIFY(label->isOpaque());
        // Entries light up under the pointer; the bare page turns nothing off.
        page.Label3[4].setBackStyle(BackStyle::Transparent);
        page.showForm();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        moveTo(page, centre(page.Label3[4]).x(), centre(page.Label3[4]).y());
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
        viewer->Label3[2].onClick();
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
        for (std::size_t q = 1; q <= 10; ++q) {
            QVERIFY(!app.m.quest[q].isEmpty());
            QVERIFY(!app.m.ansa[q].isEmpty() && !app.m.ansd[q].isEmpty());
            QVERIFY2(QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
                         .contains(app.m.rightans[q]),
                     qPrintable(app.m.rightans[q]));
        }
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

    void exitKeepsTheMenuAsItWas()
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
        // "OK" sits inside the title's frame, whose top is at -90.
        clickAt(title, 1320 + 660, 6000 - 90 + 180);
        TestApp::settle();
        intro0 *menu = app.forms.loaded<intro0>();
        QVERIFY(menu && QTest::qWaitForWindowExposed(menu));
        clickAt(*menu, centre(menu->Label2[1]).x(), centre(menu->Label2[1]).y());
        ardovin *page = app.forms.loaded<ardovin>();
        QVERIFY(page && QTest::qWaitForWindowExposed(page));
        clickAt(*page, centre(page->Label3[4]).x(), centre(page->Label3[4]).y());
        teacher *viewer = app.forms.loaded<teacher>();
        QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
        clickAt(*viewer, centre(viewer->Label3[2]).x(), centre(viewer->Label3[2]).y());
        QCOMPARE(viewer->Label1->caption(), QStringLiteral("Page 2 of 2"));
        clickAt(*viewer, centre(viewer->Label3[1]).x(), centre(viewer->Label3[1]).y());
        QVERIFY(!app.forms.loaded<teacher>());
        TestApp::settle();
        clickAt(*page, centre(page->Label3[2]).x(), centre(page->Label3[2]).y());
        QVERIFY(!app.forms.loaded<ardovin>());
        QCOMPARE(app.forms.stackingOrder().last(), menu);
    }
};

QTEST_MAIN(TestArdovin)
#include "tst_ardovin.moc"
