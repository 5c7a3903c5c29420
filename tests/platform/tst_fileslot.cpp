// File slot 1 and the names it opens: names as the screens write them, found in the data
// folder (or a worksheet folder elsewhere) without ever leading out of it; the field rule
// of reading, the size limit, atomic writing in the file's code page. (Numbers and whole
// worksheets through the slot: tst_module1 and tst_worksheetfile.)
#include "platform/datapaths.h"
#include "platform/fileslot.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A file of these bytes, in folders made as needed.
void writeFile(const QString &path, const QByteArray &bytes = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
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

    QTemporaryDir m_outside;
    QTemporaryDir m_dir;
    DataPaths m_paths{m_dir.path()};
    FileSlot m_slot{m_paths};

    void writeInput(const QByteArray &bytes) { writeFile(m_dir.filePath(u"in.txt"_s), bytes); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *name : {"Images/globe.jpg", "multiple/track.txt", "multiple/Ardovin Sevrani.txt",
                                 "wmf/key ardovina.wmf", "multiple/Ünïcode Wörksheet.txt"})
            writeFile(m_dir.filePath(QString::fromUtf8(name)));
        QVERIFY(QFile::link(m_outside.path(), m_dir.filePath(u"escape"_s)));
        writeFile(m_outside.filePath(u"secret.txt"_s));
    }

    void cleanup() { m_slot.abandon(); }

    void names_data()
    {
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<bool>("writing"); // the name of a file to write, not of one to read
        QTest::addColumn<QString>("found"); // relative to the root; empty = refused or missing
        // One case a line, as the file's head describes.
        const QString cases = QString::fromUtf8(readAll(QStringLiteral(VELMORA_SOURCE_TESTDATA "/platform/names.txt")));
        for (const QString &line : cases.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u'#'))
                continue;
            const QStringList fields = line.split(u'|');
            QCOMPARE(fields.size(), 4);
            QTest::newRow(qPrintable(fields[0].trimmed()))
                << fields[1].trimmed() << (fields[2].trimmed() == "write"_L1) << fields[3].trimmed();
        }
    }

    void names()
    {
        QFETCH(QString, asWritten);
        QFETCH(bool, writing);
        QFETCH(QString, found);
        QCOMPARE((writing ? m_paths.forWriting(asWritten) : m_paths.existing(asWritten)).value_or(QString()),
                 found.isEmpty() ? QString() : m_dir.filePath(found));
    }

    // The user's own list is read and written; the unit's quiz still comes from the
    // supplied folder; new worksheets go to the user's folder.
    void redirectedWorksheetFolder()
    {
        QTemporaryDir own;
        writeFile(own.filePath(u"track.txt"_s));
        DataPaths paths(m_dir.path());
        paths.redirect(u"multiple"_s, own.path());
        QCOMPARE(paths.existing(u"multiple\\track.txt"_s), own.filePath(u"track.txt"_s));
        QCOMPARE(paths.existing(u"multiple\\Ardovin Sevrani.txt"_s), m_dir.filePath(u"multiple/Ardovin Sevrani.txt"_s));
        QCOMPARE(paths.forWriting(u"multiple/New.txt"_s), own.filePath(u"New.txt"_s));
        QVERIFY(!paths.forWriting(u"multiple/../escape.txt"_s));
        QCOMPARE(paths.existing(u"Images\\globe.jpg"_s), m_dir.filePath(u"Images/globe.jpg"_s));
    }

    void fieldRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fields"); // separated by "|"
        QTest::newRow("CR LF lines") << QByteArray("one\r\ntwo\r\n") << u"one|two"_s;
        QTest::newRow("LF and CR lines") << QByteArray("one\ntwo\rthree") << u"one|two|three"_s;
        QTest::newRow("comma splits a line") << QByteArray("a,b\r\nc\r\n") << u"a|b|c"_s;
        QTest::newRow("leading blanks skipped") << QByteArray("   lead\r\n\tTab\r\n") << u"lead|Tab"_s;
        QTest::newRow("single space line is empty") << QByteArray(" \r\nnext\r\n") << u"|next"_s;
        QTest::newRow("empty line is empty") << QByteArray("\r\nnext") << u"|next"_s;
        QTest::newRow("trailing blanks kept") << QByteArray("end  \r\n") << u"end  "_s;
        QTest::newRow("quotes read literally") << QByteArray("\"quoted\r\nnext\"\r\n") << u"\"quoted|next\""_s;
        QTest::newRow("code page 1252") << QByteArray("caf\xe9 \x80\x96\r\n") << u"café €–"_s;
    }

    // The fields as written; reading past the end fails and closes the slot.
    void fieldRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fields);
        writeInput(bytes);
        m_slot.openForInput(u"in.txt"_s);
        for (const QString &expected : fields.split(u'|'))
            QCOMPARE(m_slot.readField(), expected);
        QVERIFY(m_slot.atEnd());
        QVERIFY(failure([this] { m_slot.readField(); }) == FileError::Kind::PastEnd);
        QVERIFY(!m_slot.isOpen());
    }

    // One file at a time; a missing file, or a name that leads out of the data folder or
    // into a missing folder, is not opened.
    void refusals()
    {
        writeInput("x");
        m_slot.openForInput(u"in.txt"_s);
        QVERIFY(failure([this] { m_slot.openForInput(u"in.txt"_s); }) == FileError::Kind::AlreadyOpen);
        QVERIFY(failure([this] { m_slot.openForInput(u"missing.txt"_s); }) == FileError::Kind::NotFound);
        m_slot.abandon();
        for (const QString &name : {u"../escape.txt"_s, u"nofolder/x.txt"_s})
            QVERIFY(failure([&] { m_slot.openForOutput(name); }).has_value());
        QVERIFY(!m_slot.isOpen());
    }

    // No file is read that is larger than any the program writes.
    void sizeLimit()
    {
        writeInput(QByteArray(qsizetype(FileSlot::kMaxFileBytes), 'x'));
        m_slot.openForInput(u"in.txt"_s);
        QCOMPARE(m_slot.readField().size(), FileSlot::kMaxFileBytes);
        m_slot.abandon();
        writeInput(QByteArray(qsizetype(FileSlot::kMaxFileBytes) + 1, 'x'));
        QVERIFY(failure([this] { m_slot.openForInput(u"in.txt"_s); }) == FileError::Kind::TooLarge);
        QVERIFY(!m_slot.isOpen());
    }

    void output_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("refused"); // what the refusal names; empty: written, then abandoned
        QTest::newRow("abandoned") << "half" << QString();
        QTest::newRow("character outside the code page") << "Ω is Greek" << u"Ω"_s;
    }

    // Lines go out in the code page with CR LF; output that is abandoned or refused
    // leaves the old file byte for byte, with no temporary file beside it.
    void output()
    {
        QFETCH(QString, line);
        QFETCH(QString, refused);
        const QString path = m_dir.filePath(u"out.txt"_s);
        m_slot.openForOutput(u"out.txt"_s);
        m_slot.writeLine(u" 2 "_s);
        m_slot.writeLine(u"Plants& animals €"_s);
        m_slot.close();
        const QByteArray old(" 2 \r\nPlants& animals \x80\r\n");
        QCOMPARE(readAll(path), old);

        m_slot.openForOutput(u"out.txt"_s);
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
        QCOMPARE(QDir(m_dir.path()).entryList({u"out.txt*"_s}, QDir::Files).size(), 1);
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
