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
        QTest::addColumn<bool>("writing"); // the name of a file to write, not of one to read
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<QString>("found"); // relative to the root; empty = refused or missing
        QTest::newRow("backslash") << false << "Images\\globe.jpg"
                                   << "Images/globe.jpg";
        QTest::newRow("slash") << false << "multiple/track.txt"
                               << "multiple/track.txt";
        QTest::newRow("folder in lower case") << false << "images\\globe.jpg"
                                              << "Images/globe.jpg";
        QTest::newRow("file in other case") << false << "IMAGES\\GLOBE.JPG"
                                            << "Images/globe.jpg";
        QTest::newRow("blanks in names") << false << "wmf\\key ardovina.wmf"
                                         << "wmf/key ardovina.wmf";
        QTest::newRow("non-ASCII name") << false << "multiple/Ünïcode Wörksheet.txt"
                                        << "multiple/Ünïcode Wörksheet.txt";
        QTest::newRow("missing") << false << "Images\\nothere.jpg"
                                 << "";
        QTest::newRow("parent folder") << false << "..\\secret.txt"
                                       << "";
        QTest::newRow("parent inside") << false << "multiple/../Images/globe.jpg"
                                       << "";
        QTest::newRow("absolute") << false << "/etc/passwd"
                                  << "";
        QTest::newRow("drive letter") << false << "C:\\boot.ini"
                                      << "";
        QTest::newRow("empty component") << false << "multiple//track.txt"
                                         << "";
        QTest::newRow("link leading out") << false << "escape/secret.txt"
                                          << "";
        QTest::newRow("new file") << true << "multiple/Plants& animals.txt"
                                  << "multiple/Plants& animals.txt";
        QTest::newRow("a file's case is never matched") << true << "multiple\\TRACK.TXT"
                                                        << "multiple/TRACK.TXT";
        QTest::newRow("folder matched by case") << true << "MULTIPLE/new.txt"
                                                << "multiple/new.txt";
        QTest::newRow("missing folder") << true << "nofolder/new.txt"
                                        << "";
        QTest::newRow("slash in a title") << true << "multiple/a/b.txt"
                                          << "";
        QTest::newRow("title of dots") << true << "multiple/.."
                                       << "";
    }

    void names()
    {
        QFETCH(bool, writing);
        QFETCH(QString, asWritten);
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
