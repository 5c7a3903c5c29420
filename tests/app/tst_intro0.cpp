#include "app/grey.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "module1/publisher.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/optionbutton.h"
#include "toolkit/timer.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QList<int> entryIndices()
{
    QList<int> out;
    for (int i = 0; i <= 12; ++i)
        out << i;
    for (int i = 16; i <= 20; ++i)
        out << i;
    return out;
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
    Titlefrm &title = app.forms.ref<Titlefrm>();
    title.showForm();
    title.Command1->click();
    TestApp::settle();
    return *app.forms.loaded<intro0>();
}

} // namespace

class TestIntro0 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entriesAsDesigned()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QCOMPARE(menu.Label2.indices(), entryIndices());
        for (const auto &[index, label] : menu.Label2) {
            const bool active = QList<int>{1, 12, 16, 17, 18, 19, 20}.contains(index);
            QCOMPARE(label->enabled(), active);
            QCOMPARE(label->foreColor(), QColor(255, 255, 0));
            QVERIFY(label->isOpaque());
            QCOMPARE(label->borderStyle(), BorderStyle::FixedSingle);
            const bool navy = QList<int>{17, 18, 19, 20}.contains(index);
            QCOMPARE(label->backColor(), navy ? QColor(0, 0, 128) : QColor(0, 0, 0));
            QVERIFY(label->font().bold());
        }
        QCOMPARE(menu.Label2[1].caption(), QStringLiteral("Ardovin Sevrani"));
        QCOMPARE(menu.Label2[1].top(), 2760.0);
        QCOMPARE(menu.Label2[12].caption(), kPublisherAddress);
        QCOMPARE(menu.Label2[12].font().family(), QStringLiteral("Arial"));
        QCOMPARE(menu.Label2[17].font().pointSizeF(), 18.0);
        QCOMPARE(menu.caption(), QStringLiteral("Velmora"));
        QCOMPARE(menu.size(), QSize(800, 600));
        QCOMPARE(QPointF(menu.left(), menu.top()), QPointF(1680, 1260));
        QVERIFY(menu.Option1->value());
        QCOMPARE(menu.Image1->width(), 4800.0); // the title picture at its own size
        QVERIFY(!menu.Image2->picture().isNull());
    }

    void hoverFollowsRoutedMoves()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        QVERIFY(QTest::qWaitForWindowExposed(&menu));

        moveTo(menu, 5000, 8700); // bare form
        QCOMPARE(opaqueEntries(menu), QList<int>());
        moveTo(menu, 1700, 2950); // entry 1
        QCOMPARE(opaqueEntries(menu), QList<int>({1}));
        moveTo(menu, 9300, 3120); // the framed picture: nothing changes
        QCOMPARE(opaqueEntries(menu), QList<int>({1}));
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
        const QPointF logo(menu.Image2->left() + 300, menu.Image2->top() + 300);
        clickAt(menu, logo.x(), logo.y());
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
        QCOMPARE(app.forms.loaded<intro0>(), &menu);
        QCOMPARE(app.forms.stackingOrder().last(), &menu);
        QVERIFY(menu.Option2->value());

        menu.close(); // the window manager's close asks too
        confirm = app.forms.loaded<Titlefrm>();
        QVERIFY(confirm && confirm->isVisible());
        confirm->Command2->click(); // "Exit"
        QVERIFY(app.ended);
    }

    void recreatedMenuStartsWithSoundOn()
    {
        TestApp app;
        intro0 &menu = openMenu(app);
        menu.Option2->setValue(true);
        menu.unload();
        TestApp::settle();
        intro0 &fresh = app.forms.ref<intro0>();
        QVERIFY(fresh.Option1->value());
        QVERIFY(!fresh.Option2->value());
    }

    void listIsReadOnceAfterLoading_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no file
        QTest::addColumn<long long>("count");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("no list file") << QByteArray() << 0LL << QStringList();
        QTest::newRow("count 3, two names") << QByteArray(" 3 \r\nPlants\r\nMaths\r\n") << 3LL
                                            << QStringList({QStringLiteral("Plants"), QStringLiteral("Maths")});
        QTest::newRow("supplied list") << QByteArray(" 1 \r\nThe Night Sky\r\n") << 1LL
                                       << QStringList({QStringLiteral("The Night Sky")});
    }

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
        QVERIFY(menu.Timer1->enabled());
        QCOMPARE(menu.Timer1->interval(), 1);
        QTRY_VERIFY(!menu.Timer1->enabled());
        QCOMPARE(app.m.trackcount, count);
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(app.m.tracklist[i + 1], titles[i]);
        QVERIFY(app.messages.shown.isEmpty());
        // The slot is closed again, so the next file opens.
        QVERIFY(!app.platform.file1().isOpen());
        app.platform.file1().openForInput(QStringLiteral("multiple\\Ardovin Sevrani.txt"));
        app.platform.file1().close();
    }

    void menuIsDrawnBeforeTheListIsRead()
    {
        // A list on a slow network folder must not keep the title screen standing.
        TestApp app;
        app.writeDataFile(QStringLiteral("multiple/track.txt"), " 1 \r\nPlants\r\n");
        intro0 &menu = app.forms.ref<intro0>();
        menu.showForm();
        QVERIFY(!menu.hasPainted());
        menu.Timer1->fire(); // a tick before the first drawing reads nothing
        QCOMPARE(app.m.trackcount, 0LL);
        QVERIFY(menu.Timer1->enabled());
        QTRY_VERIFY(!menu.Timer1->enabled());
        QVERIFY(menu.hasPainted());
        QCOMPARE(app.m.trackcount, 1LL);
    }
};

QTEST_MAIN(TestIntro0)
#include "tst_intro0.moc"
