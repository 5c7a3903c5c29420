#include "support/walker.h"

#include <QTest>

using namespace velmora::test;

// Short random walks; bench/walker runs the long ones (20 seeds x 10 000 events). Between
// them the seeds here save worksheets and fail to save one, delete worksheets with OK and
// with Cancel, and finish a quiz, so that every check of the walker meets its case.
class TestWalker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 10") << 10u;
        QTest::newRow("seed 13: a quiz to its results") << 13u;
        // Seed 14 spends a while on the acknowledgments, whose logo runs on a 25 ms timer:
        // on the clock's time, its frames and its first tick (which shows two pictures)
        // would fall between other events as the machine is fast or slow.
        QTest::newRow("seed 14: the acknowledgments' logo") << 14u;
    }

    // Each seed walks without a fault, and replays exactly, twice in one process.
    void walk()
    {
        QFETCH(quint32, seed);
        QStringList first;
        for (int run = 0; run < 2; ++run) {
            Walker walker(seed);
            const QString broken = walker.run(400);
            QVERIFY2(broken.isEmpty(), qPrintable(broken));
            QVERIFY(walker.screensSeen() >= 2);
            if (run == 1)
                QCOMPARE(walker.events(), first);
            first = walker.events();
        }
    }
};

QTEST_MAIN(TestWalker)
#include "tst_walker.moc"
