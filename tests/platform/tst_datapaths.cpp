// Names as the screens write them, found in the data folder (or a worksheet folder
// elsewhere) without ever leading out of it.
#include "platform/datapaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class TestDataPaths : public QObject
{
    Q_OBJECT

    QTemporaryDir m_outside;
    QTemporaryDir m_dir;

    void touch(const QString &path)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // A name the test expects, relative to the data folder; empty stays empty (refused).
    QString inData(const QString &relative) const { return relative.isEmpty() ? QString() : m_dir.filePath(relative); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *name : {"Images/globe.jpg", "multiple/track.txt", "multiple/Ardovin Sevrani.txt",
                                 "wmf/key ardovina.wmf", "multiple/Ünïcode Wörksheet.txt"})
            touch(m_dir.filePath(QString::fromUtf8(name)));
        QVERIFY(QFile::link(m_outside.path(), m_dir.filePath(QStringLiteral("escape"))));
        touch(m_outside.filePath(QStringLiteral("secret.txt")));
    }

    void names_data()
    {
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<bool>("writing"); // the name of a file to write, not of one to read
        QTest::addColumn<QString>("found"); // relative to the root; empty = refused or missing
        QTest::newRow("backslash") << "Images\\globe.jpg" << false << "Images/globe.jpg";
        QTest::newRow("slash") << "multiple/track.txt" << false << "multiple/track.txt";
        QTest::newRow("folder in lower case") << "images\\globe.jpg" << false << "Images/globe.jpg";
        QTest::newRow("file in other case") << "IMAGES\\GLOBE.JPG" << false << "Images/globe.jpg";
        QTest::newRow("blanks in names") << "wmf\\key ardovina.wmf" << false << "wmf/key ardovina.wmf";
        QTest::newRow("non-ASCII name") << "multiple/Ünïcode Wörksheet.txt" << false
                                        << "multiple/Ünïcode Wörksheet.txt";
        QTest::newRow("missing") << "Images\\nothere.jpg" << false << "";
        QTest::newRow("parent folder") << "..\\secret.txt" << false << "";
        QTest::newRow("parent inside") << "multiple/../Images/globe.jpg" << false << "";
        QTest::newRow("absolute") << "/etc/passwd" << false << "";
        QTest::newRow("drive letter") << "C:\\boot.ini" << false << "";
        QTest::newRow("empty component") << "multiple//track.txt" << false << "";
        QTest::newRow("link leading out") << "escape/secret.txt" << false << "";
        QTest::newRow("new file") << "multiple/Plants& animals.txt" << true << "multiple/Plants& animals.txt";
        QTest::newRow("a file's case is never matched") << "multiple\\TRACK.TXT" << true << "multiple/TRACK.TXT";
        QTest::newRow("folder matched by case") << "MULTIPLE/new.txt" << true << "multiple/new.txt";
        QTest::newRow("missing folder") << "nofolder/new.txt" << true << "";
        QTest::newRow("slash in a title") << "multiple/a/b.txt" << true << "";
        QTest::newRow("title of dots") << "multiple/.." << true << "";
    }

    void names()
    {
        QFETCH(QString, asWritten);
        QFETCH(bool, writing);
        QFETCH(QString, found);
        const DataPaths paths(m_dir.path());
        QCOMPARE((writing ? paths.forWriting(asWritten) : paths.existing(asWritten)).value_or(QString()),
                 inData(found));
    }

    // The user's own list is read and written; the unit's quiz still comes from the
    // supplied folder; new worksheets go to the user's folder.
    void redirectedWorksheetFolder()
    {
        QTemporaryDir own;
        touch(own.filePath(QStringLiteral("track.txt")));
        DataPaths paths(m_dir.path());
        paths.redirect(QStringLiteral("multiple"), own.path());
        QCOMPARE(paths.existing(QStringLiteral("multiple\\track.txt")), own.filePath(QStringLiteral("track.txt")));
        QCOMPARE(paths.existing(QStringLiteral("multiple\\Ardovin Sevrani.txt")),
                 m_dir.filePath(QStringLiteral("multiple/Ardovin Sevrani.txt")));
        QCOMPARE(paths.forWriting(QStringLiteral("multiple/New.txt")), own.filePath(QStringLiteral("New.txt")));
        QVERIFY(!paths.forWriting(QStringLiteral("multiple/../escape.txt")));
        QCOMPARE(paths.existing(QStringLiteral("Images\\globe.jpg")),
                 m_dir.filePath(QStringLiteral("Images/globe.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
