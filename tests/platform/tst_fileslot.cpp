#include "platform/datapaths.h"
#include "platform/fileslot.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {
QStringList strings(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out << QString::fromUtf8(item);
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class TestFileSlot : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QByteArray &bytes)
    {
        QFile f(m_dir.path() + QStringLiteral("/in.txt"));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write");
        return QStringLiteral("in.txt");
    }

private Q_SLOTS:
    void fieldRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("CR LF lines") << QByteArray("one\r\ntwo\r\n") << strings({"one", "two"});
        QTest::newRow("LF and CR lines") << QByteArray("one\ntwo\rthree") << strings({"one", "two", "three"});
        QTest::newRow("comma splits a line") << QByteArray("a,b\r\nc\r\n") << strings({"a", "b", "c"});
        QTest::newRow("leading blanks skipped") << QByteArray("   lead\r\n\tTab\r\n") << strings({"lead", "Tab"});
        QTest::newRow("single space line is empty") << QByteArray(" \r\nnext\r\n") << strings({"", "next"});
        QTest::newRow("empty line is empty") << QByteArray("\r\nnext") << strings({"", "next"});
        QTest::newRow("trailing blanks kept") << QByteArray("end  \r\n") << strings({"end  "});
        QTest::newRow("last line without ending") << QByteArray("x\r\ny") << strings({"x", "y"});
        QTest::newRow("quotes read literally")
            << QByteArray("\"quoted\r\nnext\"\r\n") << strings({"\"quoted", "next\""});
        QTest::newRow("code page 1252") << QByteArray("caf\xe9 \x80\x96\r\n") << QStringList{QStringLiteral("café €–")};
    }

    void fieldRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        slot.openForInput(write(bytes));
        for (const QString &expected : fields)
            QCOMPARE(slot.readField(), expected);
        QVERIFY(slot.atEnd());
        QVERIFY_THROWS_EXCEPTION(FileError, slot.readField()); // input past end
        slot.close();
        QVERIFY(!slot.isOpen());
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<long long>("value");
        QTest::newRow("print style") << QByteArray(" 3 \r\n") << true << 3LL;
        QTest::newRow("bare") << QByteArray("1200") << true << 1200LL;
        QTest::newRow("words") << QByteArray("three\r\n") << false << 0LL;
        QTest::newRow("empty") << QByteArray(" \r\n") << false << 0LL;
    }

    void numbers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(long long, value);
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        slot.openForInput(write(bytes));
        if (ok)
            QCOMPARE(slot.readNumber(), value);
        else
            QVERIFY_THROWS_EXCEPTION(FileError, slot.readNumber());
    }

    void oneFileAtATime()
    {
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        slot.openForInput(write("x"));
        QVERIFY_THROWS_EXCEPTION(FileError, slot.openForInput(QStringLiteral("in.txt")));
        slot.close();
        slot.openForInput(QStringLiteral("in.txt"));
        QVERIFY_THROWS_EXCEPTION(FileError, slot.openForInput(QStringLiteral("missing.txt")));
    }

    void refusesFilesLargerThanAnyItWrites_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("at the limit") << FileSlot::kMaxFileBytes << true;
        QTest::newRow("one byte over") << FileSlot::kMaxFileBytes + 1 << false;
        QTest::newRow("a 10 MB field") << qint64(10) * 1024 * 1024 << false;
    }

    void refusesFilesLargerThanAnyItWrites()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        const QString name = write(QByteArray(qsizetype(size), 'x'));
        try {
            slot.openForInput(name);
            QVERIFY(read);
            QCOMPARE(slot.readField().size(), size);
            slot.close();
        } catch (const FileError &e) {
            QVERIFY(!read);
            QCOMPARE(e.kind(), FileError::Kind::TooLarge);
            QVERIFY(!slot.isOpen());
        }
    }

    void writesLinesAtomically()
    {
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        const QString target = m_dir.path() + QStringLiteral("/out.txt");
        slot.openForOutput(QStringLiteral("out.txt"));
        slot.writeLine(QStringLiteral(" 2 "));
        slot.writeLine(QStringLiteral("Plants& animals €"));
        slot.close();
        QCOMPARE(readAll(target), QByteArray(" 2 \r\nPlants& animals \x80\r\n"));

        // Abandoned output leaves the old file byte for byte.
        slot.openForOutput(QStringLiteral("out.txt"));
        slot.writeLine(QStringLiteral("half"));
        slot.abandon();
        QCOMPARE(readAll(target), QByteArray(" 2 \r\nPlants& animals \x80\r\n"));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("out.txt*")}, QDir::Files).size(), 1);
    }

    void refusesCharactersOutsideTheCodePage()
    {
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        const QString target = m_dir.path() + QStringLiteral("/keep.txt");
        slot.openForOutput(QStringLiteral("keep.txt"));
        slot.writeLine(QStringLiteral("old"));
        slot.close();
        slot.openForOutput(QStringLiteral("keep.txt"));
        try {
            slot.writeLine(QStringLiteral("Ω is Greek"));
            QFAIL("an unencodable line was written");
        } catch (const FileError &e) {
            QCOMPARE(e.kind(), FileError::Kind::Unencodable);
            QCOMPARE(e.detail(), QStringLiteral("Ω"));
        }
        QVERIFY(!slot.isOpen());
        QCOMPARE(readAll(target), QByteArray("old\r\n"));
    }

    void refusesNamesOutsideTheDataFolder()
    {
        DataPaths paths(m_dir.path());
        FileSlot slot(paths);
        QVERIFY_THROWS_EXCEPTION(FileError, slot.openForOutput(QStringLiteral("../escape.txt")));
        QVERIFY_THROWS_EXCEPTION(FileError, slot.openForOutput(QStringLiteral("nofolder/x.txt")));
        QVERIFY(!slot.isOpen());
    }

    void everyByteSurvivesTheCodePage()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(toWindows1252(fromWindows1252(all)).value_or(QByteArray()), all);
    }
};

QTEST_GUILESS_MAIN(TestFileSlot)
#include "tst_fileslot.moc"
