#include "app/grey.h"
#include "app/intro0.h"
#include "app/titlefrm.h"
#include "support/testapp.h"
#include "toolkit/commandbutton.h"
#include "toolkit/image.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestTitlefrm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsInFrontOfTheBackdrop()
    {
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        Grey *grey = app.forms.loaded<Grey>();
        QVERIFY(grey && grey->isVisible());
        QCOMPARE(grey->backColor(), QColor(48, 133, 214));
        QCOMPARE(grey->size(), QSize(1024, 768));
        // Centred by its own size on 1024 by 768, not by the 12000 by 9000 frame.
        QCOMPARE(title.left(), (15360 - 5460) / 2.0);
        QCOMPARE(title.top(), (11520 - 6570) / 2.0);
        QCOMPARE(title.caption(), QStringLiteral("Velmora")); // a taskbar entry is never blank
        QCOMPARE(title.Command1->caption(), QStringLiteral("OK"));
        QVERIFY(!title.Picture1->picture().isNull());
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({grey, &title}));
    }

    void missingPictureTakesTheRecoveryPath()
    {
        TestApp app(false);
        Titlefrm &title = app.forms.ref<Titlefrm>();
        QCOMPARE(title.formWidth(), 12000.0);
        QCOMPARE(title.formHeight(), 9000.0);
        QCOMPARE(title.caption(), QStringLiteral("Velmora"));
        QCOMPARE(title.left(), 1680.0);
        QCOMPARE(title.Picture1->missingSource(), QStringLiteral("Images\\quintaransm.jpg"));
        QVERIFY(app.messages.shown.isEmpty());
    }

    void okOpensTheMenuAndGoes()
    {
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        title.Command1->click();
        QVERIFY(!app.forms.loaded<Titlefrm>());
        intro0 *menu = app.forms.loaded<intro0>();
        QVERIFY(menu && menu->isVisible());
        TestApp::settle();
        QCOMPARE(app.forms.stackingOrder(), QList<Form *>({app.forms.loaded<Grey>(), menu}));
        QVERIFY(!app.ended);
    }

    void exitOrClosingTheWindowEnds_data()
    {
        QTest::addColumn<bool>("byWindowManager");
        QTest::newRow("Exit") << false;
        QTest::newRow("window closed") << true;
    }

    void exitOrClosingTheWindowEnds()
    {
        QFETCH(bool, byWindowManager);
        TestApp app;
        Titlefrm &title = app.forms.ref<Titlefrm>();
        title.showForm();
        if (byWindowManager)
            title.close();
        else
            title.Command2->click();
        QVERIFY(app.ended);
        QVERIFY(app.forms.loadedForms().isEmpty());
    }
};

QTEST_MAIN(TestTitlefrm)
#include "tst_titlefrm.moc"
