// File slot 1: the field rule of reading, the size limit, atomic writing in the file's
// code page, and names kept inside the data folder. (Numbers and whole worksheets
// through the slot: tst_module1 and tst_worksheetfile.)
#include "platform/datapaths.h"
#include "platform/fileslot.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

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

// The kind of FileError `work` throws, if it throws one.
template <class Work>
std::optional<FileError::Kind> failure(Work work)
{
    try {
        work();
    } catch (const FileError &e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace

class TestFileSlot : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DataPaths m_paths{m_dir.path()};
    FileSlot m_slot{m_paths};

    void writeInput(const QByteArray &bytes)
    {
        QFile f(m_dir.filePath(QStringLiteral("in.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

private Q_SLOTS:
    void cleanup() { m_slot.abandon(); }

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
        QTest::newRow("quotes read literally")
            << QByteArray("\"quoted\r\nnext\"\r\n") << strings({"\"quoted", "next\""});
        QTest::newRow("code page 1252") << QByteArray("caf\xe9 \x80\x96\r\n") << strings({"café €–"});
    }

    // The fields as written; reading past the end fails and closes the slot.
    void fieldRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        writeInput(bytes);
        m_slot.openForInput(QStringLiteral("in.txt"));
        for (const QString &expected : fields)
            QCOMPARE(m_slot.readField(), expected);
        QVERIFY(m_slot.atEnd());
        QVERIFY(failure([this] { m_slot.readField(); }) == FileError::Kind::PastEnd);
        QVERIFY(!m_slot.isOpen());
    }

    void oneFileAtATime()
    {
        writeInput("x");
        m_slot.openForInput(QStringLiteral("in.txt"));
        QVERIFY(failure([this] { m_slot.openForInput(QStringLiteral("in.txt")); }) == FileError::Kind::AlreadyOpen);
        QVERIFY(failure([this] { m_slot.openForInput(QStringLiteral("missing.txt")); }) == FileError::Kind::NotFound);
    }

    void sizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("read");
        QTest::newRow("at the limit") << FileSlot::kMaxFileBytes << true;
        QTest::newRow("one byte over") << FileSlot::kMaxFileBytes + 1 << false;
        QTest::newRow("a 10 MB field") << qint64(10) * 1024 * 1024 << false;
    }

    // No file is read that is larger than any the program writes.
    void sizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, read);
        writeInput(QByteArray(qsizetype(size), 'x'));
        const auto failed = failure([this] { m_slot.openForInput(QStringLiteral("in.txt")); });
        if (read) {
            QCOMPARE(m_slot.readField().size(), size);
        } else {
            QVERIFY(failed == FileError::Kind::TooLarge);
            QVERIFY(!m_slot.isOpen());
        }
    }

    void output_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("refused"); // what the refusal names; empty: written, then abandoned
        QTest::newRow("abandoned") << "half" << QString();
        QTest::newRow("character outside the code page") << "Ω is Greek" << QStringLiteral("Ω");
    }

    // Lines go out in the code page with CR LF; output that is abandoned or refused
    // leaves the old file byte for byte, with no temporary file beside it.
    void output()
    {
        QFETCH(QString, line);
        QFETCH(QString, refused);
        const QString path = m_dir.filePath(QStringLiteral("out.txt"));
        m_slot.openForOutput(QStringLiteral("out.txt"));
        m_slot.writeLine(QStringLiteral(" 2 "));
        m_slot.writeLine(QStringLiteral("Plants& animals €"));
        m_slot.close();
        const QByteArray old(" 2 \r\nPlants& animals \x80\r\n");
        QCOMPARE(readAll(path), old);

        m_slot.openForOutput(QStringLiteral("out.txt"));
        if (refused.isEmpty()) {
            m_slot.writeLine(line);
            m_slot.abandon();
        } else {
            try {
                m_slot.writeLine(line);
                QFAIL("an unencodable line was written");
            } catch (const FileError &e) {
                QCOMPARE(e.kind(), FileError::Kind::Unencodable);
                QCOMPARE(e.detail(), refused);
            }
        }
        QVERIFY(!m_slot.isOpen());
        QCOMPARE(readAll(path), old);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("out.txt*")}, QDir::Files).size(), 1);
    }

    void refusesNamesOutsideTheDataFolder()
    {
        for (const QString &name : {QStringLiteral("../escape.txt"), QStringLiteral("nofolder/x.txt")})
            QVERIFY(failure([&] { m_slot.openForOutput(name); }).has_value());
        QVERIFY(!m_slot.isOpen());
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
