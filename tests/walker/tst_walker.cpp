#include "support/walker.h"

#include <QTest>

using namespace velmora::test;

// A short random walk per seed; bench/walker runs the long one (20 seeds x 10 000).
class TestWalker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void walk_data()
    {
        QTest::addColumn<quint32>("seed");
        for (const quint32 seed : {1u, 2u, 3u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void walk()
    {
        QFETCH(quint32, seed);
        Walker walker(seed);
        const QString broken = walker.run(400);
        QVERIFY2(broken.isEmpty(), qPrintable(broken));
        QVERIFY(walker.screensSeen() >= 2);
    }
};

QTEST_MAIN(TestWalker)
#include "tst_walker.moc"
