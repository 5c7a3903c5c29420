// Worksheets out to and in from question files, through the program's own files: the
// teachers' hand-written files, round trips of every supplied and test worksheet, and
// files that must not get in.
#include "exchange/exchange.h"
#include "module1/worksheetchecks.h"
#include "module1/worksheetfile.h"
#include "platform/windows1252.h"
#include "support/testapp.h"
#include "toolkit/checkbox.h"
#include "toolkit/textbox.h"
#include "worksheets/wizard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <sys/stat.h>

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kExchangeData = QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/");

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Every file under a folder and a digest of its bytes; links are named, not followed.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        out.insert(path.mid(root.size()),
                   info.isSymLink() ? "link to " + info.symLinkTarget().toUtf8()
                   : info.isFile()  ? QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha1).toHex()
                                    : QByteArray("folder"));
    }
    return out;
}

// A worksheet as loadquiz reads it: its title, then per question its text, answers A to
// D and the correct answer, joined by " | ".
QStringList quizSet(TestApp &app, const QString &asWritten)
{
    FileSlot &file = app.platform.file1();
    try {
        file.openForInput(asWritten);
        app.m.loadquiz();
        file.close();
    } catch (const FileError &error) {
        file.abandon();
        return {QStringLiteral("<unreadable: %1>").arg(error.detail())};
    }
    QStringList out{app.m.worktitle};
    for (std::size_t q = 1; q <= 10; ++q)
        out << QStringList{app.m.quest[q], app.m.ansa[q], app.m.ansb[q],
                           app.m.ansc[q],  app.m.ansd[q], app.m.rightans[q]}
                   .join(QStringLiteral(" | "));
    return out;
}

// The documented change of a round trip: blanks at either end of a text do not travel.
QStringList trimmedTexts(const QStringList &set)
{
    QStringList out;
    for (const QString &line : set) {
        QStringList parts = line.split(QStringLiteral(" | "));
        for (QString &part : parts)
            part = part.trimmed();
        out << parts.join(QStringLiteral(" | "));
    }
    return out;
}

QStringList listed(TestApp &app)
{
    app.m.readtracklist(kListFile);
    QStringList out;
    for (long long i = 1; i <= app.m.trackcount; ++i)
        out << app.m.tracklist[std::size_t(i)];
    return out;
}

QString onlyFileIn(const QString &folder)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    return files.size() == 1 ? QDir(folder).filePath(files.first()) : QString();
}

bool reportHas(const ExchangeReport &report, const QString &part)
{
    return report.text().contains(part);
}

// A GIFT file of `count` plain multiple-choice questions.
QByteArray giftQuestions(int count, const QString &tag = QStringLiteral("Q"))
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("%1 %2?{=right ~wrong one ~wrong two ~wrong three}\n\n").arg(tag).arg(i);
    return text.toUtf8();
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void handWrittenFiles_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("lineEnds"); // "as written", "LF" or "CR LF + byte-order mark"
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("skipped"); // the numbers of the skipped questions
        QTest::addColumn<QString>("leftOver");
        // Question j of worksheet w (1 or 2) as loadquiz reads it back.
        QTest::addColumn<int>("sheet");
        QTest::addColumn<int>("question");
        QTest::addColumn<QString>("expected");

        const QStringList aikenSkips{QStringLiteral("4"), QStringLiteral("9"), QStringLiteral("14"),
                                     QStringLiteral("19"), QStringLiteral("24")};
        const QString aikenLeft = QStringLiteral("questions 26-30, 5 usable questions left over");
        for (const QString &ends : {QStringLiteral("as written"), QStringLiteral("LF")}) {
            QTest::addRow("Aiken, %s, accented", qPrintable(ends))
                << QStringLiteral("Solar system.txt") << ends << QStringLiteral("Aiken") << aikenSkips << aikenLeft << 1
                << 5 << QStringLiteral("Quelle planète est la plus grande ? | Jupiter | Saturne | Vénus | Mars | 1");
            QTest::addRow("Aiken, %s, brackets", qPrintable(ends))
                << QStringLiteral("Solar system.txt") << ends << QStringLiteral("Aiken") << aikenSkips << aikenLeft << 1
                << 2
                << QStringLiteral("Which planet is known as the red planet? | Jupiter | Mars | Saturn | Neptune | 2");
            QTest::addRow("Aiken, %s, second worksheet", qPrintable(ends))
                << QStringLiteral("Solar system.txt") << ends << QStringLiteral("Aiken") << aikenSkips << aikenLeft << 2
                << 6 << QStringLiteral("Wie heißt der größte Mond des Saturn? | Europa | Io | Phobos | Titan | 4");
        }
        const QStringList giftSkips{QStringLiteral("2"),  QStringLiteral("7"),  QStringLiteral("10"),
                                    QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("13"),
                                    QStringLiteral("14"), QStringLiteral("15"), QStringLiteral("16"),
                                    QStringLiteral("32")};
        const QString giftLeft = QStringLiteral("questions 30-31, 33-35, 5 usable questions left over");
        for (const QString &ends : {QStringLiteral("as written"), QStringLiteral("CR LF + byte-order mark")}) {
            QTest::addRow("GIFT, %s, escapes", qPrintable(ends))
                << QStringLiteral("Science quiz.gift") << ends << QStringLiteral("GIFT") << giftSkips << giftLeft << 1
                << 3
                << QStringLiteral(
                       "In the ratio 3:1, what does 2 = 1 + 1 show? | A ratio | A sum | A {set} | A ~wave | 2");
            QTest::addRow("GIFT, %s, answers on lines with feedback", qPrintable(ends))
                << QStringLiteral("Science quiz.gift") << ends << QStringLiteral("GIFT") << giftSkips << giftLeft << 1
                << 2 << QStringLiteral("What is the chemical symbol for gold? | Ag | Au | Gd | Go | 2");
            QTest::addRow("GIFT, %s, html", qPrintable(ends))
                << QStringLiteral("Science quiz.gift") << ends << QStringLiteral("GIFT") << giftSkips << giftLeft << 1
                << 6
                << QStringLiteral("Which part of the cell holds its DNA? | The nucleus | The wall | The membrane | The "
                                  "cytoplasm | 1");
            QTest::addRow("GIFT, %s, missing word", qPrintable(ends))
                << QStringLiteral("Science quiz.gift") << ends << QStringLiteral("GIFT") << giftSkips << giftLeft << 1
                << 7
                << QStringLiteral(
                       "The Sun is a _____ at the centre of the solar system. | star | planet | moon | comet | 1");
            QTest::addRow("GIFT, %s, accented", qPrintable(ends))
                << QStringLiteral("Science quiz.gift") << ends << QStringLiteral("GIFT") << giftSkips << giftLeft << 1
                << 8 << QStringLiteral("Où se trouve la tour Eiffel ? | Paris | Lyon | Marseille | Nice | 1");
        }
    }

    void handWrittenFiles()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, lineEnds);
        QFETCH(QString, format);
        QFETCH(QStringList, skipped);
        QFETCH(QString, leftOver);
        QFETCH(int, sheet);
        QFETCH(int, question);
        QFETCH(QString, expected);

        QTemporaryDir in;
        QByteArray bytes = readBytes(kExchangeData + fixture);
        if (lineEnds != QLatin1String("as written")) {
            if (bytes.startsWith("\xEF\xBB\xBF"))
                bytes.remove(0, 3);
            bytes.replace("\r\n", "\n");
            if (lineEnds.startsWith(QLatin1String("CR LF")))
                bytes = "\xEF\xBB\xBF" + bytes.replace("\n", "\r\n");
        }
        const QString path = in.filePath(fixture);
        writeBytes(path, bytes);

        TestApp app;
        auto untouched = snapshot(app.root);
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY2(report.ok, qPrintable(report.text()));
        const QString base = QFileInfo(fixture).completeBaseName();
        // Two worksheets and the list change; nothing else, and no temporary or lock stays.
        auto after = snapshot(app.root);
        for (const QString &changed :
             {QStringLiteral("/multiple/track.txt"), QStringLiteral("/multiple/%1 1.txt").arg(base),
              QStringLiteral("/multiple/%1 2.txt").arg(base)}) {
            untouched.remove(changed);
            QVERIFY2(after.remove(changed) == 1, qPrintable(changed));
        }
        QCOMPARE(after, untouched);
        QCOMPARE(listed(app), (QStringList{base + QStringLiteral(" 1"), base + QStringLiteral(" 2")}));
        QVERIFY2(report.lines.first().contains(QStringLiteral("(%1, ").arg(format)), qPrintable(report.text()));
        QStringList skippedNumbers;
        for (const QString &line : report.lines) {
            if (line.contains(QLatin1String(" skipped: ")))
                skippedNumbers << line.section(QLatin1Char(' '), 3, 3);
        }
        QCOMPARE(skippedNumbers, skipped);
        QVERIFY2(reportHas(report,
                           QStringLiteral("not saved: ") + leftOver + QStringLiteral("; a worksheet needs ten")),
                 qPrintable(report.text()));

        const QStringList set = quizSet(app, worksheetFile(base + QLatin1Char(' ') + QString::number(sheet)));
        QCOMPARE(set.value(0), base + QLatin1Char(' ') + QString::number(sheet));
        QCOMPARE(set.value(question), expected);
        // Accented letters are stored in the worksheet's own code page.
        const QByteArray stored = readBytes(app.dataPath(worksheetFile(base + QStringLiteral(" 1"))));
        QVERIFY(!stored.contains("\xC3"));
    }

    void skippedWithReasons_data()
    {
        QTest::addColumn<QByteArray>("question");
        QTest::addColumn<QString>("reason");
        QTest::newRow("too long a question")
            << QString(61, QLatin1Char('q')).toUtf8() + "{=a ~b ~c ~d}"
            << QStringLiteral("the question is too long: 61 characters, the wizard's box holds 60");
        QTest::newRow("too long an answer")
            << QByteArray("Q{=a ~b ~") + QByteArray(31, 'c') + " ~d}"
            << QStringLiteral("answer C is too long: 31 characters, the wizard's box holds 30");
        QTest::newRow("an empty answer") << QByteArray("Q{=a ~ ~c ~d}") << QStringLiteral("answer B is empty");
        QTest::newRow("an empty question") << QByteArray("{=a ~b ~c ~d}") << QStringLiteral("the question is empty");
        QTest::newRow("an emoji") << QByteArray("Q \xF0\x9F\x98\x80{=a ~b ~c ~d}")
                                  << QStringLiteral("the character \"😀\" (U+1F600) in the question cannot be saved");
        QTest::newRow("a control character")
            << QByteArray("Q\x01x{=a ~b ~c ~d}") << QStringLiteral("it holds the control character");
        QTest::newRow("five answers") << QByteArray("Q{=a ~b ~c ~d ~e}")
                                      << QStringLiteral("it has 5 answers; a worksheet question has four");
        QTest::newRow("no right answer") << QByteArray("Q{~a ~b ~c ~d}")
                                         << QStringLiteral("none of its answers is marked right");
    }

    void skippedWithReasons()
    {
        // Nine good questions and one bad: the bad one is named with its reason, and the
        // nine make no worksheet.
        QFETCH(QByteArray, question);
        QFETCH(QString, reason);
        QTemporaryDir in;
        const QString path = in.filePath(QStringLiteral("Mixed.gift"));
        writeBytes(path, giftQuestions(5) + question + "\n\n" + giftQuestions(4, QStringLiteral("R")));
        TestApp app;
        const QByteArray list = readBytes(app.dataPath(kListFile));
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY2(reportHas(report, QStringLiteral("question 6 (line 11) skipped: ") + reason),
                 qPrintable(report.text()));
        QVERIFY2(reportHas(report, QStringLiteral("9 usable questions left over")), qPrintable(report.text()));
        QCOMPARE(readBytes(app.dataPath(kListFile)), list);
        QCOMPARE(QDir(app.dataPath(QStringLiteral("multiple"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Ardovin Sevrani.txt"), QStringLiteral("track.txt")}));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("source"); // a test worksheet, or empty for the unit's quiz
        QTest::addColumn<QString>("title"); // as shown
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("importAs"); // the exported file's new name, or empty
        QTest::addColumn<QString>("change"); // the report's words for a documented change

        for (const QuestionFormat format : {QuestionFormat::Aiken, QuestionFormat::Gift}) {
            const char *name = format == QuestionFormat::Aiken ? "Aiken" : "GIFT";
            const QString ext = format == QuestionFormat::Aiken ? QStringLiteral(".txt") : QStringLiteral(".gift");
            // Two of the unit quiz's answers are longer than the wizard's boxes take.
            QTest::addRow("unit quiz, %s", name)
                << QString() << QStringLiteral("Ardovin Sevrani") << int(format) << QStringLiteral("Ardovin quiz") + ext
                << QStringLiteral("skipped: answer B is too long: 34 characters, the wizard's box holds 30");
            QTest::addRow("hand-made worksheet, %s", name)
                << QStringLiteral("handmade-worksheet.txt") << QStringLiteral("Les planètes, et leurs lunes")
                << int(format) << QString() << QString();
            QTest::addRow("long texts, %s", name)
                << QStringLiteral("handmade-long-texts.txt") << QStringLiteral("The Solar System in Detail")
                << int(format) << QString()
                << QStringLiteral("question 1 (line %1) skipped: the question is too long: 70 characters")
                       .arg(format == QuestionFormat::Aiken ? 1 : 3);
            QTest::addRow("wizard worksheet with commas and GIFT's characters, %s", name)
                << QStringLiteral("wizard") << QStringLiteral("Plants, animals") << int(format) << QString()
                << QString();
        }
    }

    void roundTrips()
    {
        QFETCH(QString, source);
        QFETCH(QString, title);
        QFETCH(int, format);
        QFETCH(QString, importAs);
        QFETCH(QString, change);

        TestApp from;
        QString asWritten = kUnitQuizFile;
        if (source == QLatin1String("wizard")) {
            wizard &w = from.forms.ref<wizard>();
            fillWizard(w, title);
            w.Text2[0].setText(QStringLiteral("Is 2 = 1+1, {x} ~y #z: yes?"));
            w.Text2[1].setText(QStringLiteral("\"Quoted\", with a comma & more"));
            w.Text3[4].setText(QStringLiteral("C:\\path\\n, \\{"));
            w.Text3[5].setText(QStringLiteral("%50% [html] //"));
            w.genwork();
            QCOMPARE(from.messages.shown.last().text, QStringLiteral("Your worksheet has been saved."));
            asWritten = worksheetFile(listTitle(title));
        } else if (!source.isEmpty()) {
            asWritten = worksheetFile(listTitle(title));
            from.writeDataFile(asWritten, readBytes(QStringLiteral(VELMORA_SOURCE_TESTDATA "/") + source));
            // The list is in the code page of the worksheet files.
            from.writeDataFile(kListFile, " 1 \r\n" + *toWindows1252(listTitle(title)) + "\r\n");
        }
        const QStringList original = quizSet(from, asWritten);

        QTemporaryDir out;
        const ExchangeReport exported = exportWorksheets(from.m, out.path(), QuestionFormat(format), title);
        QVERIFY2(exported.ok, qPrintable(exported.text()));
        QString file = onlyFileIn(out.path());
        QVERIFY2(!file.isEmpty(), qPrintable(exported.text()));
        QCOMPARE(QFileInfo(file).completeBaseName(), title);
        if (!importAs.isEmpty()) {
            QVERIFY(QFile::rename(file, out.filePath(importAs)));
            file = out.filePath(importAs);
        }

        TestApp to;
        const QByteArray listBefore = readBytes(to.dataPath(kListFile));
        const ExchangeReport imported = importFiles(to.m, {file});
        if (!change.isEmpty()) {
            QVERIFY2(reportHas(imported, change), qPrintable(imported.text()));
            QVERIFY(!imported.text().contains(QLatin1String("saved \"")));
            QCOMPARE(readBytes(to.dataPath(kListFile)), listBefore);
            return;
        }
        QVERIFY2(imported.ok, qPrintable(imported.text()));
        const QString newTitle = QFileInfo(file).completeBaseName();
        QCOMPARE(listed(to), QStringList{listTitle(newTitle)});
        QStringList expected = trimmedTexts(original);
        expected[0] = newTitle;
        QCOMPARE(quizSet(to, worksheetFile(listTitle(newTitle))), expected);
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // what is put under the name
        QTest::addColumn<QString>("reason");

        QTest::newRow("50 MB") << QStringLiteral("big.gift") << QStringLiteral("50 MB")
                               << QStringLiteral("it is larger than 4 MB");
        QTest::newRow("binary garbage") << QStringLiteral("garbage.gift") << QStringLiteral("garbage")
                                        << QStringLiteral("it is not a text file");
        QTest::newRow("neither format") << QStringLiteral("letter.txt") << QStringLiteral("letter")
                                        << QStringLiteral("it is neither Aiken");
        QTest::newRow("a folder") << QStringLiteral("folder.gift") << QStringLiteral("folder")
                                  << QStringLiteral("it is not an ordinary file");
        QTest::newRow("a pipe") << QStringLiteral("pipe.gift") << QStringLiteral("pipe")
                                << QStringLiteral("it is not an ordinary file");
        QTest::newRow("missing") << QStringLiteral("missing.gift") << QStringLiteral("nothing")
                                 << QStringLiteral("there is no such file");
        // Titles from file names that the wizard refuses too.
        QTest::newRow("a title leading out of the folder")
            << QStringLiteral("..\\..\\escape.gift") << QStringLiteral("questions")
            << QStringLiteral("A worksheet title cannot contain \"/\" or \"\\\"");
        QTest::newRow("a title of dots") << QStringLiteral("...gift") << QStringLiteral("questions")
                                         << QStringLiteral("cannot be made of dots only");
        QTest::newRow("the list's own name") << QStringLiteral("track.gift") << QStringLiteral("questions")
                                             << QStringLiteral("is kept for the program's own files");
        QTest::newRow("a device name") << QStringLiteral("CON.txt") << QStringLiteral("questions")
                                       << QStringLiteral("is kept for the program's own files");
        QTest::newRow("a colon") << QStringLiteral("a:b.gift") << QStringLiteral("questions")
                                 << QStringLiteral("cannot contain \":\"");
        QTest::newRow("outside the code page") << QStringLiteral("Ω quiz.gift") << QStringLiteral("questions")
                                               << QStringLiteral("cannot be saved in a worksheet title");
        QTest::newRow("unbalanced braces")
            << QStringLiteral("braces.gift") << QStringLiteral("unbalanced") << QStringLiteral("(unbalanced braces)");
    }

    void refusedFiles()
    {
        // Nothing outside the list and the worksheets of `multiple` changes, and here
        // not even they do.
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir in;
        const QString path = in.filePath(name);
        if (kind == QLatin1String("50 MB")) {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly));
            const QByteArray chunk = giftQuestions(1000);
            for (qint64 written = 0; written < 50LL * 1024 * 1024; written += chunk.size())
                QCOMPARE(big.write(chunk), chunk.size());
        } else if (kind == QLatin1String("garbage")) {
            QByteArray bytes(qsizetype(64) * 1024, Qt::Uninitialized);
            QRandomGenerator random(42);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            writeBytes(path, bytes);
        } else if (kind == QLatin1String("letter")) {
            writeBytes(path, "Dear parents,\r\nthe trip is on Friday.\r\n");
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(in.path()).mkdir(name));
        } else if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("questions")) {
            writeBytes(path, giftQuestions(10));
        } else if (kind == QLatin1String("unbalanced")) {
            writeBytes(path,
                       giftQuestions(4) + "Q{=a ~b\n\nQ}{=a ~b ~c ~d}\n\nQ{=a {~b} ~c ~d}\n\n" + giftQuestions(5));
        }

        TestApp app;
        const auto before = snapshot(app.root);
        const auto inputsBefore = snapshot(in.path());
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY(!report.ok || kind == QLatin1String("unbalanced"));
        QVERIFY2(reportHas(report, reason), qPrintable(report.text()));
        QCOMPARE(snapshot(app.root), before);
        QCOMPARE(snapshot(in.path()), inputsBefore);
    }

    void existingTitleIsNeverReplaced_data()
    {
        QTest::addColumn<QString>("taken"); // the title already saved, by the wizard
        QTest::newRow("same title") << QStringLiteral("Quiz");
        QTest::newRow("same title in other case") << QStringLiteral("QUIZ");
    }

    void existingTitleIsNeverReplaced()
    {
        QFETCH(QString, taken);
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        fillWizard(w, taken);
        w.genwork();
        const auto before = snapshot(app.root);

        QTemporaryDir in;
        const QString path = in.filePath(QStringLiteral("Quiz.gift"));
        writeBytes(path, giftQuestions(10));
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY(!report.ok);
        QVERIFY2(reportHas(report, QStringLiteral("not saved: \"Quiz\" (questions 1-10): a worksheet of this title "
                                                  "exists already and is left as it was")),
                 qPrintable(report.text()));
        QCOMPARE(snapshot(app.root), before);
    }

    void severalFilesOneReport()
    {
        // A refused file does not stop the next one.
        QTemporaryDir in;
        writeBytes(in.filePath(QStringLiteral("A.gift")), giftQuestions(10));
        writeBytes(in.filePath(QStringLiteral("B.txt")), QByteArray("\0\0\0", 3));
        writeBytes(in.filePath(QStringLiteral("C.gift")), giftQuestions(20));
        TestApp app;
        const ExchangeReport report =
            importFiles(app.m, {in.filePath(QStringLiteral("A.gift")), in.filePath(QStringLiteral("B.txt")),
                                in.filePath(QStringLiteral("C.gift"))});
        QVERIFY(!report.ok);
        QCOMPARE(listed(app), (QStringList{QStringLiteral("A"), QStringLiteral("C 1"), QStringLiteral("C 2")}));
        QVERIFY(reportHas(report, QStringLiteral("B.txt: nothing imported: it is not a text file")));
    }

    void exportEveryListedWorksheet()
    {
        // Titles as shown (commas back), safe names, two titles that come out alike
        // kept apart, and a damaged worksheet named without stopping the others.
        TestApp app;
        for (const QString &title :
             {QStringLiteral("Plants, animals"), QStringLiteral("What?"), QStringLiteral("What*")}) {
            wizard &w = app.forms.ref<wizard>();
            fillWizard(w, title);
            w.genwork();
        }
        app.writeDataFile(QStringLiteral("multiple/Damaged.txt"), "Damaged\r\n \r\n");
        app.m.appendToWorksheetList(QStringLiteral("Damaged"));

        QTemporaryDir out;
        const ExchangeReport report =
            exportWorksheets(app.m, out.filePath(QStringLiteral("new folder")), QuestionFormat::Aiken);
        QVERIFY(!report.ok);
        QVERIFY2(reportHas(report, QStringLiteral("not written: \"Damaged\": This worksheet seems to be corrupted.")),
                 qPrintable(report.text()));
        QCOMPARE(QDir(out.filePath(QStringLiteral("new folder"))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("Plants, animals.txt"), QStringLiteral("What_ (2).txt"),
                              QStringLiteral("What_.txt")}));
        QVERIFY(reportHas(report, QStringLiteral("(\"Plants, animals\", Aiken)")));
        const QByteArray aiken = readBytes(out.filePath(QStringLiteral("new folder/Plants, animals.txt")));
        QVERIFY(aiken.startsWith("Question 1 of Plants, animals\r\nA. answer 1A\r\n"));
    }

    void exportOneTitle_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("found");
        QTest::newRow("as shown") << QStringLiteral("Plants, animals") << true;
        QTest::newRow("as listed") << QStringLiteral("Plants& animals") << true;
        QTest::newRow("not listed") << QStringLiteral("Plants") << false;
    }

    void exportOneTitle()
    {
        QFETCH(QString, asked);
        QFETCH(bool, found);
        TestApp app;
        for (const QString &title : {QStringLiteral("Other"), QStringLiteral("Plants, animals")}) {
            wizard &w = app.forms.ref<wizard>();
            fillWizard(w, title);
            w.genwork();
        }
        QTemporaryDir out;
        const ExchangeReport report = exportWorksheets(app.m, out.path(), QuestionFormat::Gift, asked);
        QCOMPARE(report.ok, found);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files),
                 found ? QStringList{QStringLiteral("Plants, animals.gift")} : QStringList{});
    }

    void sharedChecks_data()
    {
        QTest::addColumn<int>("questionLength");
        QTest::addColumn<int>("answerLength");
        QTest::addColumn<QString>("problem");
        QTest::newRow("as long as the boxes") << kQuestionBoxLength << kAnswerBoxLength << QString();
        QTest::newRow("question one longer")
            << kQuestionBoxLength + 1 << kAnswerBoxLength << QStringLiteral("the question");
        QTest::newRow("answer one longer") << kQuestionBoxLength << kAnswerBoxLength + 1 << QStringLiteral("answer A");
    }

    void sharedChecks()
    {
        // The lengths are those of the wizard's own boxes.
        QFETCH(int, questionLength);
        QFETCH(int, answerLength);
        QFETCH(QString, problem);
        TestApp app;
        wizard &w = app.forms.ref<wizard>();
        QCOMPARE(w.Text1->maxLength(), kTitleBoxLength);
        QCOMPARE(w.Text2[0].maxLength(), kQuestionBoxLength);
        QCOMPARE(w.Text3[0].maxLength(), kAnswerBoxLength);
        const QuestionDraft question{QString(questionLength, QLatin1Char('q')),
                                     {QString(answerLength, QLatin1Char('a')), QStringLiteral("b"), QStringLiteral("c"),
                                      QStringLiteral("d")},
                                     {true, false, false, false}};
        const auto found = lengthProblem(question);
        QCOMPARE(found ? found->where : QString(), problem);
        QVERIFY(!completenessProblem(question));
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
