#include "module1/module1.h"
#include "module1/worksheetfile.h"
#include "platform/fileslot.h"
#include "support/testapp.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using namespace velmora::test;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

Worksheet sampleSheet(const QString &title)
{
    Worksheet sheet;
    sheet.title = title;
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        sheet.questions[q] = QStringLiteral("Question text %1").arg(q + 1);
        for (int k = 0; k < 4; ++k)
            sheet.answers[q][k] = QStringLiteral("Answer %1%2").arg(q + 1).arg(QChar(u'A' + k));
        sheet.correct[q] = QString::number(q % 4 + 1);
    }
    return sheet;
}

void save(TestApp &app, const QString &file, const Worksheet &sheet)
{
    app.platform.file1().openForOutput(file);
    writeworksheet(app.platform.file1(), sheet);
    app.platform.file1().close();
}

void load(TestApp &app, const QString &file)
{
    app.platform.file1().openForInput(file);
    app.m.loadquiz();
    app.platform.file1().close();
}

// What a text becomes on its way through a worksheet file: "&" reads back as ",", and
// the field rule drops the blanks in front.
QString afterRoundTrip(const QString &text)
{
    QString out = ampersandsToCommas(text);
    qsizetype lead = 0;
    while (lead < out.size() && (out[lead] == QLatin1Char(' ') || out[lead] == QLatin1Char('\t')))
        ++lead;
    return out.mid(lead);
}

void compareLoaded(const Module1 &m, const Worksheet &sheet)
{
    QCOMPARE(m.worktitle, afterRoundTrip(sheet.title));
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        const std::size_t i = q + 1;
        QCOMPARE(m.quest[i], afterRoundTrip(sheet.questions[q]));
        QCOMPARE(m.ansa[i], afterRoundTrip(sheet.answers[q][0]));
        QCOMPARE(m.ansb[i], afterRoundTrip(sheet.answers[q][1]));
        QCOMPARE(m.ansc[i], afterRoundTrip(sheet.answers[q][2]));
        QCOMPARE(m.ansd[i], afterRoundTrip(sheet.answers[q][3]));
        QCOMPARE(m.rightans[i], sheet.correct[q]);
    }
}

QString randomText(QRandomGenerator &random)
{
    // Hostile but typeable: commas, ampersands, double quotes, blanks at both ends,
    // accents and signs of the code page, and now and then nothing at all.
    static const QString alphabet = QStringLiteral("abcXYZ019 ,&\"'é€–çÄß£;:.?!()");
    const int length = random.bounded(0, 31);
    QString out;
    for (int i = 0; i < length; ++i)
        out.append(alphabet[random.bounded(int(alphabet.size()))]);
    return out;
}

} // namespace

class TestWorksheetFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheLayout()
    {
        TestApp app(false);
        Worksheet sheet = sampleSheet(QStringLiteral("Plants, animals"));
        sheet.answers[0][1] = QStringLiteral("salt & pepper");
        save(app, QStringLiteral("multiple/sheet.txt"), sheet);
        const QByteArray bytes = readBytes(app.dataPath(QStringLiteral("multiple/sheet.txt")));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(bytes.count("\r\n"), 72);
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(lines[0], QByteArray("Plants& animals\r"));
        QCOMPARE(lines[1], QByteArray(" \r"));
        QCOMPARE(lines[2], QByteArray("Question text 1\r"));
        QCOMPARE(lines[4], QByteArray("salt & pepper\r"));
        QCOMPARE(lines[7], QByteArray("1\r"));
        QCOMPARE(lines[8], QByteArray(" \r"));
        QCOMPARE(lines[65], QByteArray("Question text 10\r"));
        QCOMPARE(lines[71], QByteArray(" \r"));
        QVERIFY(!bytes.contains(','));

        load(app, QStringLiteral("multiple/sheet.txt"));
        QCOMPARE(app.m.worktitle, QStringLiteral("Plants, animals"));
        QCOMPARE(app.m.ansb[1], QStringLiteral("salt , pepper"));
    }

    void hostileTextsRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("commas") << QStringLiteral("one, two,three,");
        QTest::newRow("ampersand reads as comma") << QStringLiteral("salt & pepper");
        QTest::newRow("double quotes") << QStringLiteral("\"quoted\" and \"open");
        QTest::newRow("lone double quote") << QStringLiteral("\"");
        QTest::newRow("leading blanks dropped") << QStringLiteral("   indented question");
        QTest::newRow("trailing blanks kept") << QStringLiteral("ends with blanks   ");
        QTest::newRow("accents and euro") << QStringLiteral("Fée, café – 30 € ÿ");
        QTest::newRow("empty") << QString();
        QTest::newRow("only blanks") << QStringLiteral("    ");
    }

    void hostileTextsRoundTrip()
    {
        QFETCH(QString, text);
        TestApp app(false);
        Worksheet sheet = sampleSheet(text);
        for (int q = 0; q < Worksheet::kQuestions; ++q) {
            sheet.questions[q] = text;
            sheet.answers[q][q % 4] = text;
        }
        save(app, QStringLiteral("multiple/x.txt"), sheet);
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/x.txt"))).count("\r\n"), 72);
        load(app, QStringLiteral("multiple/x.txt"));
        compareLoaded(app.m, sheet);
    }

    void randomSetsRoundTrip()
    {
        QRandomGenerator random(20261206);
        TestApp app(false);
        for (int round = 0; round < 200; ++round) {
            Worksheet sheet;
            sheet.title = randomText(random);
            for (int q = 0; q < Worksheet::kQuestions; ++q) {
                sheet.questions[q] = randomText(random);
                for (QString &answer : sheet.answers[q])
                    answer = randomText(random);
                sheet.correct[q] = QString::number(random.bounded(1, 5));
            }
            save(app, QStringLiteral("multiple/random.txt"), sheet);
            load(app, QStringLiteral("multiple/random.txt"));
            compareLoaded(app.m, sheet);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    void handMadeFileReads()
    {
        TestApp app(false);
        QFile::copy(QStringLiteral(VELMORA_SOURCE_TESTDATA "/handmade-worksheet.txt"),
                    app.dataPath(QStringLiteral("multiple/Les planètes& et leurs lunes.txt")));
        load(app, QStringLiteral("multiple/Les planètes& et leurs lunes.txt"));
        QCOMPARE(app.m.worktitle, QStringLiteral("Les planètes, et leurs lunes"));
        QCOMPARE(app.m.quest[2], QStringLiteral("Combien de lunes a Mars ?"));
        QCOMPARE(app.m.ansb[1], QStringLiteral("Vénus"));
        QCOMPARE(app.m.quest[8], QStringLiteral("Le prix du télescope : 30 € – cher ?"));
        QCOMPARE(app.m.ansd[8], QStringLiteral("Ça dépend"));
        QCOMPARE(app.m.ansa[9], QStringLiteral("À l'ouest"));
        QCOMPARE(app.m.rightans[10], QStringLiteral("3"));
    }

    void fileEndingEarlyReplacesWhatWasRead()
    {
        TestApp app(false);
        save(app, QStringLiteral("multiple/full.txt"), sampleSheet(QStringLiteral("Old")));
        load(app, QStringLiteral("multiple/full.txt"));
        // A second worksheet cut after line 70: answer D of question 10 is its last line.
        Worksheet other = sampleSheet(QStringLiteral("New"));
        for (auto &q : other.questions)
            q.prepend(QStringLiteral("new "));
        for (auto &c : other.correct)
            c = QStringLiteral("4");
        save(app, QStringLiteral("multiple/cut.txt"), other);
        QByteArray bytes = readBytes(app.dataPath(QStringLiteral("multiple/cut.txt")));
        QList<QByteArray> lines = bytes.split('\n');
        app.writeDataFile(QStringLiteral("multiple/cut.txt"), lines.mid(0, 70).join('\n') + '\n');

        app.platform.file1().openForInput(QStringLiteral("multiple/cut.txt"));
        try {
            app.m.loadquiz();
            QFAIL("a cut file loaded");
        } catch (const FileError &e) {
            QCOMPARE(e.kind(), FileError::Kind::PastEnd);
        }
        app.platform.file1().close();
        QCOMPARE(app.m.worktitle, QStringLiteral("New"));
        QCOMPARE(app.m.quest[10], QStringLiteral("new Question text 10"));
        QCOMPARE(app.m.ansd[10], QStringLiteral("Answer 10D"));
        QCOMPARE(app.m.rightans[9], QStringLiteral("4"));
        QCOMPARE(app.m.rightans[10], QStringLiteral("2")); // still the old worksheet's
    }

    void refusesLineBreaksInTexts()
    {
        TestApp app(false);
        save(app, QStringLiteral("multiple/keep.txt"), sampleSheet(QStringLiteral("Keep")));
        const QByteArray before = readBytes(app.dataPath(QStringLiteral("multiple/keep.txt")));
        Worksheet broken = sampleSheet(QStringLiteral("Keep"));
        broken.answers[3][2] = QStringLiteral("two\nlines");
        app.platform.file1().openForOutput(QStringLiteral("multiple/keep.txt"));
        QVERIFY_THROWS_EXCEPTION(FileError, writeworksheet(app.platform.file1(), broken));
        QVERIFY(!app.platform.file1().isOpen());
        QCOMPARE(readBytes(app.dataPath(QStringLiteral("multiple/keep.txt"))), before);
    }

    void titles_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("listed");
        QTest::newRow("plain") << QStringLiteral("The Night Sky") << false << QStringLiteral("The Night Sky");
        QTest::newRow("comma stored as ampersand")
            << QStringLiteral("Plants, animals") << false << QStringLiteral("Plants& animals");
        QTest::newRow("ampersand kept") << QStringLiteral("Salt & Pepper") << false << QStringLiteral("Salt & Pepper");
        QTest::newRow("blanks trimmed") << QStringLiteral("  Maths  ") << false << QStringLiteral("Maths");
        QTest::newRow("accents") << QStringLiteral("Étoiles filantes") << false << QStringLiteral("Étoiles filantes");
        QTest::newRow("dots inside") << QStringLiteral("Ch. 1.2") << false << QStringLiteral("Ch. 1.2");
        QTest::newRow("only blanks") << QStringLiteral("   ") << true << QString();
        QTest::newRow("slash") << QStringLiteral("Maths/Science") << true << QString();
        QTest::newRow("colon") << QStringLiteral("Maths: fractions") << true << QString();
        QTest::newRow("question mark, saved as before") << QStringLiteral("Why?") << false << QStringLiteral("Why?");
        QTest::newRow("backslash") << QStringLiteral("..\\track") << true << QString();
        QTest::newRow("dot dot") << QStringLiteral("..") << true << QString();
        QTest::newRow("the list file") << QStringLiteral("Track") << true << QString();
        QTest::newRow("the unit's quiz") << QStringLiteral("ardovin sevrani") << true << QString();
        QTest::newRow("device name") << QStringLiteral("COM1") << true << QString();
        QTest::newRow("control character") << QStringLiteral("Tab\there") << true << QString();
        QTest::newRow("outside the code page") << QStringLiteral("Ωmega") << true << QString();
    }

    void titles()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        QFETCH(QString, listed);
        const auto refusal = titleRefusal(typed);
        QCOMPARE(bool(refusal), refused);
        if (refusal)
            QVERIFY(refusal->endsWith(QLatin1Char('.')));
        else
            QCOMPARE(listTitle(typed), listed);
    }

    void refusalNamesTheCharacterAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("Greek letter") << QStringLiteral("Ωmega") << QStringLiteral("\"Ω\" (U+03A9)");
        QTest::newRow("emoji, two UTF-16 units") << QStringLiteral("Stars 🌟") << QStringLiteral("\"🌟\" (U+1F31F)");
        QTest::newRow("emoji after a comma") << QStringLiteral("Sun, 🌞 and moon") << QStringLiteral("\"🌞\" (U+1F31E)");
    }

    void refusalNamesTheCharacterAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, named);
        const auto refusal = titleRefusal(typed);
        QVERIFY(refusal);
        QVERIFY2(refusal->contains(named), qPrintable(*refusal));
        // Whole characters only: no half of a pair, no replacement character.
        QVERIFY(refusal->isValidUtf16());
        QVERIFY(!refusal->contains(QChar::ReplacementCharacter));
    }

    void listAppendAndRemove()
    {
        TestApp app(false);
        const QString list = app.dataPath(QStringLiteral("multiple/track.txt"));
        app.writeDataFile(QStringLiteral("multiple/track.txt"), " 2 \r\nMaths\r\nPlants& animals\r\n");

        QVERIFY(app.m.appendToWorksheetList(QStringLiteral("Stars")));
        QCOMPARE(readBytes(list), QByteArray(" 3 \r\nMaths\r\nPlants& animals\r\nStars\r\n"));
        QCOMPARE(app.m.trackcount, 2LL); // keeps the count it read

        QVERIFY(!app.m.appendToWorksheetList(QStringLiteral("Maths")));
        QVERIFY(app.m.appendToWorksheetList(QStringLiteral("maths"))); // case counts
        QCOMPARE(readBytes(list), QByteArray(" 4 \r\nMaths\r\nPlants& animals\r\nStars\r\nmaths\r\n"));

        QVERIFY(app.m.removeFromWorksheetList(QStringLiteral("Plants& animals")));
        QCOMPARE(readBytes(list), QByteArray(" 3 \r\nMaths\r\nStars\r\nmaths\r\n"));
        QCOMPARE(app.m.trackcount, 3LL);
        QCOMPARE(app.m.tracklist[3], QStringLiteral("maths"));
        QVERIFY(app.m.tracklist[4].isEmpty());

        // A title that is not listed alters nothing, not even the file's time.
        const QDateTime modified = QFileInfo(list).lastModified();
        QVERIFY(!app.m.removeFromWorksheetList(QStringLiteral("Plants, animals")));
        QCOMPARE(readBytes(list), QByteArray(" 3 \r\nMaths\r\nStars\r\nmaths\r\n"));
        QCOMPARE(QFileInfo(list).lastModified(), modified);
    }

    void removeTakesTheLastEqualEntry()
    {
        TestApp app(false);
        const QString list = app.dataPath(QStringLiteral("multiple/track.txt"));
        app.writeDataFile(QStringLiteral("multiple/track.txt"), " 4 \r\nA\r\nB\r\nA\r\nC\r\n");
        QVERIFY(app.m.removeFromWorksheetList(QStringLiteral("A")));
        QCOMPARE(readBytes(list), QByteArray(" 3 \r\nA\r\nB\r\nC\r\n"));
    }

    void listFailuresLeaveTheFile_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: no list file
        QTest::addColumn<int>("kind");
        QTest::newRow("missing list") << QByteArray() << int(FileError::Kind::NotFound);
        QTest::newRow("short list") << QByteArray(" 3 \r\nA\r\n") << int(FileError::Kind::PastEnd);
        QByteArray full = " 1000 \r\n";
        for (int i = 1; i <= 1000; ++i)
            full += "Sheet " + QByteArray::number(i) + "\r\n";
        QTest::newRow("full list") << full << int(FileError::Kind::Overflow);
    }

    void listFailuresLeaveTheFile()
    {
        QFETCH(QByteArray, list);
        QFETCH(int, kind);
        TestApp app(false);
        app.removeDataFile(QStringLiteral("multiple/track.txt"));
        if (!list.isEmpty())
            app.writeDataFile(QStringLiteral("multiple/track.txt"), list);
        try {
            app.m.appendToWorksheetList(QStringLiteral("New"));
            QFAIL("append succeeded");
        } catch (const FileError &e) {
            QCOMPARE(int(e.kind()), kind);
        }
        app.platform.file1().abandon();
        const QByteArray after = readBytes(app.dataPath(QStringLiteral("multiple/track.txt")));
        QCOMPARE(after, list.isEmpty() ? QByteArray("<missing>") : list);
    }

    void strayTemporariesAreCleaned()
    {
        TestApp app(false);
        app.writeDataFile(QStringLiteral("multiple/track.txt.Ab12Cd"), "half");
        app.writeDataFile(QStringLiteral("multiple/Maths.txt.x9Y8z7"), "half");
        app.writeDataFile(QStringLiteral("multiple/Maths.txt"), "whole");
        app.writeDataFile(QStringLiteral("multiple/notes.txt.bak"), "kept");
        // Another copy on a shared folder may be writing a young one right now.
        QFile old(app.dataPath(QStringLiteral("multiple/Maths.txt.x9Y8z7")));
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600), QFileDevice::FileModificationTime));
        old.close();
        QCOMPARE(removeStrayTemporaries(app.dataPath(QStringLiteral("multiple")), 600), 1);
        QVERIFY(QFile::exists(app.dataPath(QStringLiteral("multiple/track.txt.Ab12Cd"))));
        QCOMPARE(removeStrayTemporaries(app.dataPath(QStringLiteral("multiple"))), 1);
        QCOMPARE(QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files),
                 QStringList({QStringLiteral("Maths.txt"), QStringLiteral("notes.txt.bak")}));
    }
};

QTEST_MAIN(TestWorksheetFile)
#include "tst_worksheetfile.moc"
