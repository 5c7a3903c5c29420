#include "platform/datapaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestDataPaths : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_outside;
    QTemporaryDir m_dir;

    void touch(const QString &relative)
    {
        QFile f(m_dir.path() + QLatin1Char('/') + relative);
        QDir().mkpath(QFileInfo(f).path());
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private Q_SLOTS:
    void initTestCase()
    {
        touch(QStringLiteral("Images/globe.jpg"));
        touch(QStringLiteral("multiple/track.txt"));
        touch(QStringLiteral("multiple/Ardovin Sevrani.txt"));
        touch(QStringLiteral("wmf/key ardovina.wmf"));
        touch(QStringLiteral("multiple/Ünïcode Wörksheet.txt"));
        QVERIFY(QFile::link(m_outside.path(), m_dir.path() + QStringLiteral("/escape")));
        QFile secret(m_outside.path() + QStringLiteral("/secret.txt"));
        QVERIFY(secret.open(QIODevice::WriteOnly));
    }

    void existing_data()
    {
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<QString>("found"); // relative to the root; empty = refused or missing
        QTest::newRow("backslash") << QStringLiteral("Images\\globe.jpg") << QStringLiteral("Images/globe.jpg");
        QTest::newRow("slash") << QStringLiteral("multiple/track.txt") << QStringLiteral("multiple/track.txt");
        QTest::newRow("folder in lower case")
            << QStringLiteral("images\\globe.jpg") << QStringLiteral("Images/globe.jpg");
        QTest::newRow("file in other case")
            << QStringLiteral("IMAGES\\GLOBE.JPG") << QStringLiteral("Images/globe.jpg");
        QTest::newRow("blanks in names") << QStringLiteral("wmf\\key ardovina.wmf")
                                         << QStringLiteral("wmf/key ardovina.wmf");
        QTest::newRow("non-ASCII name") << QStringLiteral("multiple/Ünïcode Wörksheet.txt")
                                        << QStringLiteral("multiple/Ünïcode Wörksheet.txt");
        QTest::newRow("missing") << QStringLiteral("Images\\nothere.jpg") << QString();
        QTest::newRow("parent folder") << QStringLiteral("..\\secret.txt") << QString();
        QTest::newRow("parent inside") << QStringLiteral("multiple/../Images/globe.jpg") << QString();
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << QString();
        QTest::newRow("drive letter") << QStringLiteral("C:\\boot.ini") << QString();
        QTest::newRow("empty component") << QStringLiteral("multiple//track.txt") << QString();
        QTest::newRow("link leading out") << QStringLiteral("escape/secret.txt") << QString();
    }

    void existing()
    {
        QFETCH(QString, asWritten);
        QFETCH(QString, found);
        const DataPaths paths(m_dir.path());
        const auto path = paths.existing(asWritten);
        if (found.isEmpty())
            QVERIFY2(!path, qPrintable(path.value_or(QString())));
        else
            QCOMPARE(path.value_or(QString()), m_dir.path() + QLatin1Char('/') + found);
    }

    void forWriting_data()
    {
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<QString>("target");
        QTest::newRow("new file") << QStringLiteral("multiple/Plants& animals.txt")
                                  << QStringLiteral("multiple/Plants& animals.txt");
        QTest::newRow("a file's case is never matched")
            << QStringLiteral("multiple\\TRACK.TXT") << QStringLiteral("multiple/TRACK.TXT");
        QTest::newRow("folder matched by case")
            << QStringLiteral("MULTIPLE/new.txt") << QStringLiteral("multiple/new.txt");
        QTest::newRow("missing folder") << QStringLiteral("nofolder/new.txt") << QString();
        QTest::newRow("slash in a title") << QStringLiteral("multiple/a/b.txt") << QString();
        QTest::newRow("title of dots") << QStringLiteral("multiple/..") << QString();
    }

    void forWriting()
    {
        QFETCH(QString, asWritten);
        QFETCH(QString, target);
        const DataPaths paths(m_dir.path());
        const auto path = paths.forWriting(asWritten);
        if (target.isEmpty())
            QVERIFY(!path);
        else
            QCOMPARE(path.value_or(QString()), m_dir.path() + QLatin1Char('/') + target);
    }

    void redirectedWorksheetFolder()
    {
        QTemporaryDir own;
        QDir(own.path()).mkpath(QStringLiteral("."));
        QFile list(own.path() + QStringLiteral("/track.txt"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.close();
        DataPaths paths(m_dir.path());
        paths.redirect(QStringLiteral("multiple"), own.path());
        // The user's own list is read and written; the unit's quiz still comes from the
        // supplied folder; new worksheets go to the user's folder.
        QCOMPARE(paths.existing(QStringLiteral("multiple\\track.txt")).value_or(QString()),
                 own.path() + QStringLiteral("/track.txt"));
        QCOMPARE(paths.existing(QStringLiteral("multiple\\Ardovin Sevrani.txt")).value_or(QString()),
                 m_dir.path() + QStringLiteral("/multiple/Ardovin Sevrani.txt"));
        QCOMPARE(paths.forWriting(QStringLiteral("multiple/New.txt")).value_or(QString()),
                 own.path() + QStringLiteral("/New.txt"));
        QVERIFY(!paths.forWriting(QStringLiteral("multiple/../escape.txt")));
        QCOMPARE(paths.existing(QStringLiteral("Images\\globe.jpg")).value_or(QString()),
                 m_dir.path() + QStringLiteral("/Images/globe.jpg"));
    }
};

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
