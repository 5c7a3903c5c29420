#include "module1/module1.h"
#include "platform/fileslot.h"
#include "support/testapp.h"
#include "toolkit/form.h"
#include "toolkit/image.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {
QByteArray listFile(int count, int titles)
{
    QByteArray bytes = ' ' + QByteArray::number(count) + " \r\n";
    for (int i = 1; i <= titles; ++i)
        bytes += "Worksheet " + QByteArray::number(i) + "\r\n";
    return bytes;
}
} // namespace

class TestModule1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setupformCentresOnTheScreen_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::newRow("1024x768") << QSize(1024, 768) << 1680.0 << 1260.0;
        QTest::newRow("800x600 fits exactly") << QSize(800, 600) << 0.0 << 0.0;
        QTest::newRow("640x480 cuts the form off") << QSize(640, 480) << -1200.0 << -900.0;
        QTest::newRow("odd size keeps the half twip") << QSize(1023, 767) << 1672.5 << 1252.5;
    }

    void setupformCentresOnTheScreen()
    {
        QFETCH(QSize, screen);
        QFETCH(double, left);
        QFETCH(double, top);
        TestApp app(false);
        app.screen = FakeScreen(screen.width(), screen.height());
        Form form(QStringLiteral("Plain"));
        form.setFormSize(3000, 2000);
        form.setCaption(QStringLiteral("design"));
        app.m.setupform(form);
        QCOMPARE(form.left(), left);
        QCOMPARE(form.top(), top);
        QCOMPARE(form.formWidth(), 12000.0);
        QCOMPARE(form.formHeight(), 9000.0);
        QCOMPARE(form.size(), QSize(800, 600));
        QCOMPARE(form.caption(), QStringLiteral("Velmora"));
        QCOMPARE(form.backColor(), QColor(39, 63, 137));
        // The busy pointer was shown while placing and is gone again.
        QCOMPARE(app.screen.busyCalls, 2);
        QVERIFY(!app.screen.busy);
    }

    void setupformColoursPicture1WhenThereIsOne()
    {
        TestApp app(false);
        Form with(QStringLiteral("With"));
        auto *box = with.add<PictureBox>(QStringLiteral("Picture1"));
        auto *other = with.add<PictureBox>(QStringLiteral("Picture2"));
        const QColor before = other->backColor();
        app.m.setupform(with);
        QCOMPARE(box->backColor(), QColor(49, 135, 214));
        QCOMPARE(other->backColor(), before);
    }

    void readtracklist_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no list file at all
        QTest::addColumn<bool>("fails");
        QTest::addColumn<long long>("count");
        QTest::addColumn<int>("filled"); // titles read into the list
        QTest::newRow("missing file") << QByteArray() << true << 7LL << 0;
        QTest::newRow("empty list") << QByteArray(" 0 \r\n") << false << 0LL << 0;
        QTest::newRow("count 3, two names") << listFile(3, 2) << true << 3LL << 2;
        QTest::newRow("count 2, three names") << listFile(2, 3) << false << 2LL << 2;
        QTest::newRow("count 1200") << listFile(1200, 1200) << true << 1200LL << 1000;
        QTest::newRow("count not a number") << QByteArray("many\r\n") << true << 7LL << 0;
        QTest::newRow("negative count") << QByteArray("-4\r\n") << true << 7LL << 0;
    }

    void readtracklist()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fails);
        QFETCH(long long, count);
        QFETCH(int, filled);
        TestApp app(false);
        if (!bytes.isEmpty())
            app.writeDataFile(QStringLiteral("multiple/track.txt"), bytes);
        app.m.trackcount = 7; // left from an earlier read
        bool failed = false;
        try {
            app.m.readtracklist(QStringLiteral("multiple\\track.txt"));
        } catch (const FileError &) {
            failed = true;
            app.platform.file1().abandon();
        }
        QCOMPARE(failed, fails);
        QCOMPARE(app.m.trackcount, count);
        for (int i = 1; i <= filled; ++i)
            QCOMPARE(app.m.tracklist[i], QStringLiteral("Worksheet %1").arg(i));
        if (filled < Module1::kListCapacity)
            QVERIFY(app.m.tracklist[filled + 1].isEmpty());
        QVERIFY(!app.platform.file1().isOpen());
    }

    void numberHasTheSignPlace()
    {
        QCOMPARE(QStringLiteral("Question") + number(3), QStringLiteral("Question 3"));
        QCOMPARE(number(0), QStringLiteral(" 0"));
        QCOMPARE(number(1000), QStringLiteral(" 1000"));
    }
};

QTEST_MAIN(TestModule1)
#include "tst_module1.moc"
