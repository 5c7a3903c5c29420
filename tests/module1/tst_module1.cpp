#include "module1/module1.h"
#include "support/testapp.h"
#include "toolkit/form.h"
#include "toolkit/image.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestModule1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupform_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPointF>("topLeft");
        QTest::addColumn<bool>("picture1");
        QTest::newRow("1024x768, with a Picture1") << QSize(1024, 768) << QPointF(1680, 1260) << true;
        QTest::newRow("800x600 fits exactly") << QSize(800, 600) << QPointF(0, 0) << false;
        QTest::newRow("640x480 cuts the form off") << QSize(640, 480) << QPointF(-1200, -900) << false;
        QTest::newRow("odd size keeps the half twip") << QSize(1023, 767) << QPointF(1672.5, 1252.5) << false;
    }

    void setupform()
    {
        QFETCH(QSize, screen);
        QFETCH(QPointF, topLeft);
        QFETCH(bool, picture1);
        TestApp app(false);
        app.screen = FakeScreen(screen.width(), screen.height());
        Form form(QStringLiteral("Plain"));
        form.setFormSize(3000, 2000);
        form.setCaption(QStringLiteral("design"));
        auto *picture2 = form.add<PictureBox>(QStringLiteral("Picture2"));
        const QColor before = picture2->backColor();
        if (picture1)
            form.add<PictureBox>(QStringLiteral("Picture1"));
        app.m.setupform(form);
        QCOMPARE(QPointF(form.left(), form.top()), topLeft);
        QCOMPARE(form.size(), QSize(800, 600)); // 12000 by 9000 twips
        QCOMPARE(form.caption(), QStringLiteral("Velmora"));
        QCOMPARE(form.backColor(), QColor(39, 63, 137));
        if (picture1)
            QCOMPARE(form.control(QStringLiteral("Picture1"))->backColor(), QColor(49, 135, 214));
        QCOMPARE(picture2->backColor(), before);
        QVERIFY(!app.screen.busy);
    }
};

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
