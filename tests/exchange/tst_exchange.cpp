// Worksheets out to and in from question files, through the program's own files: the
// teachers' hand-written files, round trips of every supplied and test worksheet, and
// files that must not get in; the Aiken and GIFT readers and writers on their own: what
// a text gives, question by question, and that what the writers write reads back the
// same.
#include "exchange/exchange.h"
#include "exchange/questionfiles.h"
#include "module1/worksheetfile.h"
#include "toolkit/textbox.h"
#include "worksheets/worksheetfolder.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

// Fails showing the whole report when the report lacks `part`.
#define VERIFY_REPORT_HAS(report, part) QVERIFY2((report).text().contains(part), qPrintable((report).text()))

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A worksheet as loadquiz reads it: its title, then per question its text, answers A to
// D and the correct answer, joined by " | "; with `trimmed`, each text trimmed.
QStringList quizSet(TestApp &app, const QString &asWritten, bool trimmed = false)
{
    app.platform.file1().openForInput(asWritten);
    app.m.loadquiz();
    app.platform.file1().close();
    QStringList out{app.m.worktitle};
    for (std::size_t q = 1; q <= 10; ++q) {
        QStringList parts{app.m.quest[q], app.m.ansa[q], app.m.ansb[q], app.m.ansc[q], app.m.ansd[q]};
        for (QString &part : parts)
            part = trimmed ? part.trimmed() : part;
        out << (parts << app.m.rightans[q]).join(u" | "_s);
    }
    return out;
}

// A GIFT file of `count` plain multiple-choice questions.
QByteArray giftQuestions(int count, const QString &tag = u"Q"_s)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += u"%1 %2?{=right ~wrong one ~wrong two ~wrong three}\n\n"_s.arg(tag).arg(i);
    return text.toUtf8();
}

constexpr auto Aiken = QuestionFormat::Aiken;
constexpr auto Gift = QuestionFormat::Gift;

// Each question as the tests describe it: its text, its answers joined by "|", the
// indexes of its right answers, and why it is no multiple-choice question.
QStringList described(const QList<ParsedQuestion> &questions)
{
    QStringList out;
    for (const ParsedQuestion &q : questions) {
        QStringList right;
        for (const int r : q.right)
            right << QString::number(r);
        out << u"%1 [%2] right=%3%4%5"_s.arg(q.text, q.answers.join(u'|'), right.join(u','),
                                             q.partMarks ? u" part"_s : QString(),
                                             q.notMultipleChoice.isEmpty() ? QString()
                                                                           : u" / "_s + q.notMultipleChoice);
    }
    return out;
}

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("detected"); // the format told from the text, -1 for neither

        // One case a block of lines: "FORMAT: name", the text after "< " and each question
        // it reads as after "> " (the case file's head says more).
        const QString cases =
            QString::fromUtf8(readBytes(QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/reading-cases.txt")));
        for (const QString &block : cases.split(u"\n\n"_s, Qt::SkipEmptyParts)) {
            const QStringList lines = block.split(u'\n', Qt::SkipEmptyParts);
            if (lines[0].startsWith(u'#'))
                continue;
            const bool aiken = lines[0].startsWith("Aiken: "_L1);
            QVERIFY2((aiken || lines[0].startsWith("GIFT: "_L1)) && lines.value(1).startsWith(u'<'), qPrintable(block));
            QString text = lines[1].mid(2);
            text.replace(u'␍', u'\r').replace(u'␊', u'\n').replace(u'␉', u'\t');
            QStringList expected;
            for (const QString &line : lines.mid(2))
                expected << line.mid(2);
            const int format = int(aiken ? Aiken : Gift);
            QTest::addRow("%s", qPrintable(lines[0]))
                << format << text << expected << (lines[0].endsWith("(detected as neither)"_L1) ? -1 : format);
        }
    }

    void reading()
    {
        QFETCH(int, format);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QFETCH(int, detected);
        QCOMPARE(described(readQuestions(text, QuestionFormat(format))), expected);
        const auto found = detectFormat(text);
        QCOMPARE(found ? int(*found) : -1, detected);
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QString>("refusal");

        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << u"café"_s << false << QString();
        QTest::newRow("UTF-8 with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF") + "caf\xC3\xA9" << u"café"_s << false << QString();
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x93q\x94") << u"café “q”"_s << true << QString();
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFEQ\0?\0", 6) << QString() << false
                                << u"it is UTF-16 text; please save it as UTF-8"_s;
        QTest::newRow("NUL bytes") << QByteArray("ab\0cd", 5) << QString() << false
                                   << u"it is not a text file (it holds NUL bytes)"_s;
        QTest::newRow("control characters") << QByteArray(40, '\x01') + QByteArray(100, 'a') << QString() << false
                                            << u"it is not a text file (it holds 40 control characters)"_s;
        QTest::newRow("a stray control character is left to the checks")
            << QByteArray(2000, 'a') + '\x0B' << QString(2000, u'a') + QChar(0x0B) << false << QString();
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, legacy);
        QFETCH(QString, refusal);
        const DecodedText decoded = decodeQuestionFile(bytes);
        QCOMPARE(decoded.text.value_or(QString()), text);
        QCOMPARE(decoded.legacy, legacy);
        QCOMPARE(decoded.refusal, refusal);
    }

    void writersReadBack_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("aiken"); // whether Aiken can carry the question

        QTest::newRow("every GIFT special character") << u"a~b=c#d{e}f:g::h"_s << u"=~#{}:"_s << true;
        QTest::newRow("backslashes") << u"C:\\new \\n \\\\ \\= end\\"_s << u"\\"_s << true;
        QTest::newRow("a comment look-alike") << u"// not a comment"_s << u"// nor this"_s << true;
        QTest::newRow("a format look-alike") << u"[html]<b>x</b>"_s << u"[plain]y"_s << true;
        QTest::newRow("a weight look-alike") << u"50% of 10?"_s << u"%5%"_s << true;
        QTest::newRow("an answer line look-alike") << u"B) is it this?"_s << u"A. x"_s << true;
        QTest::newRow("a category look-alike") << u"$CATEGORY: x"_s << u"y"_s << true;
        QTest::newRow("accents and quotes") << u"Où est « Noël » ? “quoted” ’"_s << u"Été"_s << true;
        QTest::newRow("true/false look-alike") << u"T"_s << u"TRUE"_s << true;
        QTest::newRow("commas and ampersands") << u"salt, pepper & oil"_s << u"a,b&c"_s << true;
        QTest::newRow("an ANSWER line look-alike") << u"ANSWER: B"_s << u"x"_s << false;
        QTest::newRow("an empty question") << QString() << u"x"_s << false;
        QTest::newRow("only blanks") << u"   "_s << u"x"_s << false;
    }

    void writersReadBack()
    {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(bool, aiken);
        const QList<ExportQuestion> written{{question, {answer, u"two"_s, u"three"_s, u"four"_s}, 0},
                                            {u"Second?"_s, {u"w"_s, answer, u"y"_s, u"z"_s}, 1}};
        // Blanks at either end of a text do not travel.
        const QStringList expected{u"%1 [%2|two|three|four] right=0"_s.arg(question.trimmed(), answer),
                                   u"Second? [w|%1|y|z] right=1"_s.arg(answer)};
        QCOMPARE(!aikenCannotHold(written[0]), aiken);
        for (const QuestionFormat format : {Gift, Aiken}) {
            if (format == Aiken && !aiken)
                continue;
            const auto read =
                decodeQuestionFile(format == Gift ? writeGift(u"A: {name}"_s, written) : writeAiken(written));
            QVERIFY(read.text);
            QCOMPARE(detectFormat(*read.text), format);
            QCOMPARE(described(readQuestions(*read.text, format)), expected);
        }
    }

    void exportNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("refused characters") << u"a<b>c:d\"e/f\\g|h?i*j"_s << u"a_b_c_d_e_f_g_h_i_j"_s;
        QTest::newRow("climbing out") << u"../../etc/x"_s << u".._.._etc_x"_s;
        QTest::newRow("only dots") << u".."_s << u"worksheet"_s;
        QTest::newRow("dots and blanks at the end") << u"Quiz. . "_s << u"Quiz"_s;
        QTest::newRow("a device name") << u"con"_s << u"_con"_s;
        QTest::newRow("a device name with a dot") << u"LPT1.x"_s << u"_LPT1.x"_s;
        QTest::newRow("a control character") << u"a\tb"_s << u"a_b"_s;
        QTest::newRow("long") << QString(300, u'x') << QString(200, u'x');
    }

    void exportNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(exportFileName(title, Gift), name + u".gift"_s); // Aiken's ".txt": see roundTrips
    }

    void handWrittenFiles()
    {
        // Two teachers' files and one that is no text, imported at once: the refused file
        // does not stop the next. The Aiken file is saved with a byte-order mark and CR LF,
        // the GIFT file as UTF-8 with LF.
        QTemporaryDir in;
        writeBytes(in.filePath(u"B.txt"_s), QByteArray("\0\0\0", 3));
        const QString fixtures = QStringLiteral(VELMORA_SOURCE_TESTDATA "/exchange/");
        TestApp app;
        auto untouched = snapshot(app.root);
        const ExchangeReport report = importFiles(app.m, {fixtures + u"Solar system.txt"_s, in.filePath(u"B.txt"_s),
                                                          fixtures + u"Science quiz.gift"_s});
        QVERIFY(!report.ok);
        for (const QString &part :
             {u"Solar system.txt (Aiken, 30 questions):"_s, u"B.txt: nothing imported: it is not a text file"_s,
              u"question 4 (line 23) skipped: it has 6 answers; a worksheet question has four"_s,
              u"Science quiz.gift (GIFT, 35 questions):"_s,
              u"not saved: questions 26-30, 5 usable questions left over; a worksheet needs ten"_s,
              u"not saved: questions 30-31, 33-35, 5 usable questions left over; a worksheet needs ten"_s})
            VERIFY_REPORT_HAS(report, part);

        // Four worksheets and the list change; nothing else, and no temporary or lock stays.
        const QStringList titles{u"Solar system 1"_s, u"Solar system 2"_s, u"Science quiz 1"_s, u"Science quiz 2"_s};
        QCOMPARE(readBytes(app.dataPath(kListFile)), listBytes(titles));
        auto after = snapshot(app.root);
        untouched.remove(u"/"_s + kListFile);
        after.remove(u"/"_s + kListFile);
        for (const QString &title : titles)
            QVERIFY(after.remove(u"/"_s + worksheetFile(title)));
        QCOMPARE(after, untouched);
        // Every worksheet as loadquiz reads it back, against what was worked out by hand
        // from the two files: a title, then per question its text, answers and right answer.
        // Which questions were skipped shows in which questions the worksheets hold.
        QStringList asRead;
        for (const QString &title : titles)
            asRead << quizSet(app, worksheetFile(title));
        QCOMPARE(asRead,
                 QString::fromUtf8(readBytes(fixtures + u"imported-as-read.txt"_s)).split(u'\n', Qt::SkipEmptyParts));
    }

    void skippedWithReasons_data()
    {
        QTest::addColumn<QByteArray>("question");
        QTest::addColumn<QString>("reason");
        QTest::newRow("too long a question") << QByteArray(61, 'q') + "{=a ~b ~c ~d}"
                                             << u"the question is too long: 61 characters, the wizard's box holds 60"_s;
        QTest::newRow("too long an answer") << "Q{=a ~b ~" + QByteArray(31, 'c') + " ~d}"
                                            << u"answer C is too long: 31 characters, the wizard's box holds 30"_s;
        QTest::newRow("an empty answer") << QByteArray("Q{=a ~ ~c ~d}") << u"answer B is empty"_s;
        QTest::newRow("an empty question") << QByteArray("{=a ~b ~c ~d}") << u"the question is empty"_s;
        QTest::newRow("an emoji") << QByteArray("Q \xF0\x9F\x98\x80{=a ~b ~c ~d}")
                                  << u"the character \"😀\" (U+1F600) in the question cannot be saved in a worksheet "
                                     u"(its code page cannot hold it)"_s;
        QTest::newRow("a control character")
            << QByteArray("Q\x01x{=a ~b ~c ~d}") << u"it holds the control character \"\u0001\" (U+0001)"_s;
        QTest::newRow("five answers") << QByteArray("Q{=a ~b ~c ~d ~e}")
                                      << u"it has 5 answers; a worksheet question has four"_s;
        QTest::newRow("no right answer") << QByteArray("Q{~a ~b ~c ~d}") << u"none of its answers is marked right"_s;
    }

    void skippedWithReasons()
    {
        // Nine good questions and one bad: the bad one is named with its reason, and the
        // nine make no worksheet.
        QFETCH(QByteArray, question);
        QFETCH(QString, reason);
        const ImportPlan plan =
            planImport(giftQuestions(5) + question + "\n\n" + giftQuestions(4, u"R"_s), u"Mixed.gift"_s);
        QCOMPARE(plan.skipped, QStringList{u"question 6 (line 11) skipped: "_s + reason});
        QCOMPARE(plan.leftOver.size(), 9);
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("source"); // a test worksheet, "wizard", or empty for the unit's quiz
        QTest::addColumn<QString>("title"); // as shown
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("change"); // the report's words for a documented change

        for (const QuestionFormat format : {Aiken, Gift}) {
            const bool aiken = format == Aiken;
            const char *name = aiken ? "Aiken" : "GIFT";
            // Two of the unit quiz's answers are longer than the wizard's boxes take.
            QTest::addRow("unit quiz, %s", name)
                << QString() << u"Ardovin Sevrani"_s << int(format)
                << u"skipped: answer B is too long: 34 characters, the wizard's box holds 30"_s;
            QTest::addRow("hand-made worksheet, %s", name)
                << u"handmade-worksheet.txt"_s << u"Les planètes, et leurs lunes"_s << int(format) << QString();
            QTest::addRow("long texts, %s", name)
                << u"handmade-long-texts.txt"_s << u"The Solar System in Detail"_s << int(format)
                << u"question 1 (line %1) skipped: the question is too long: 70 characters"_s.arg(aiken ? 1 : 3);
            QTest::addRow("wizard worksheet with commas and GIFT's characters, %s", name)
                << u"wizard"_s << u"Plants, animals"_s << int(format) << QString();
        }
    }

    void roundTrips()
    {
        QFETCH(QString, source);
        QFETCH(QString, title);
        QFETCH(int, format);
        QFETCH(QString, change);

        TestApp from;
        const QString asWritten = source.isEmpty() ? kUnitQuizFile : worksheetFile(listTitle(title));
        if (source == "wizard"_L1) {
            wizard &w = from.forms.ref<wizard>();
            fillWizard(w, title);
            w.Text2[0].setText(u"Is 2 = 1+1, {x} ~y #z: yes?"_s);
            w.Text2[1].setText(u"\"Quoted\", with a comma & more"_s);
            w.Text3[4].setText(u"C:\\path\\n, \\{"_s);
            w.Text3[5].setText(u"%50% [html] //"_s);
            w.genwork();
        } else if (!source.isEmpty()) {
            from.writeDataFile(asWritten, readBytes(QStringLiteral(VELMORA_SOURCE_TESTDATA "/") + source));
            // The list is in the code page of the worksheet files.
            from.writeDataFile(kListFile, listBytes({listTitle(title)}));
        }

        QTemporaryDir out;
        const ExchangeReport exported = exportWorksheets(from.m, out.path(), QuestionFormat(format), title);
        QVERIFY2(exported.ok, qPrintable(exported.text()));
        const QString exportedName = title + (format == int(Aiken) ? u".txt"_s : u".gift"_s);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{exportedName});

        TestApp to;
        const QByteArray listBefore = readBytes(to.dataPath(kListFile));
        const ExchangeReport imported = importFiles(to.m, {out.filePath(exportedName)});
        if (!change.isEmpty()) {
            VERIFY_REPORT_HAS(imported, change);
            QVERIFY(!imported.text().contains("saved \""_L1));
            QCOMPARE(readBytes(to.dataPath(kListFile)), listBefore);
            return;
        }
        QVERIFY2(imported.ok, qPrintable(imported.text()));
        QCOMPARE(readBytes(to.dataPath(kListFile)), listBytes({listTitle(title)}));
        // Blanks at either end of a text do not travel.
        QCOMPARE(quizSet(to, worksheetFile(listTitle(title))), quizSet(from, asWritten, true));
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // what is put under the name
        QTest::addColumn<QString>("reason");

        QTest::newRow("larger than the limit") << u"big.gift"_s << u"big"_s << u"it is larger than 4 MB"_s;
        QTest::newRow("neither format") << u"letter.txt"_s << u"letter"_s << u"it is neither Aiken"_s;
        QTest::newRow("a pipe") << u"pipe.gift"_s << u"pipe"_s << u"it is not an ordinary file"_s;
        QTest::newRow("missing") << u"missing.gift"_s << u"nothing"_s << u"there is no such file"_s;
        // Titles from file names that the wizard refuses too, in its words.
        QTest::newRow("a title leading out of the folder")
            << u"..\\..\\escape.gift"_s << u"questions"_s << u"A worksheet title cannot contain \"/\" or \"\\\""_s;
        QTest::newRow("a title of dots") << u"...gift"_s << u"questions"_s << u"cannot be made of dots only"_s;
        QTest::newRow("the list's own name")
            << u"track.gift"_s << u"questions"_s
            << u"The title \"track\" is kept for the program's own files. Please choose another title."_s;
        QTest::newRow("a device name") << u"CON.txt"_s << u"questions"_s << u"is kept for the program's own files"_s;
        QTest::newRow("a colon") << u"a:b.gift"_s << u"questions"_s
                                 << u"A worksheet title cannot contain \":\". Please choose another title."_s;
        QTest::newRow("outside the code page")
            << u"Stars 🌟.gift"_s << u"questions"_s
            << u"The character \"🌟\" (U+1F31F) cannot be saved in a worksheet title. Please choose another title."_s;
        // A worksheet the wizard saved under the title is never replaced.
        const QString kept = u"not saved: \"Quiz\" (questions 1-10): a worksheet of this title exists already "
                             u"and is left as it was"_s;
        QTest::newRow("a title already saved") << u"Quiz.gift"_s << u"questions, Quiz saved"_s << kept;
        QTest::newRow("a title already saved in other case") << u"Quiz.gift"_s << u"questions, QUIZ saved"_s << kept;
    }

    void refusedFiles()
    {
        // Nothing in the data folder changes, nor the file imported.
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir in;
        const QString path = in.filePath(name);
        TestApp app;
        if (kind == "big"_L1) {
            const QByteArray questions = giftQuestions(1000);
            writeBytes(path, questions.repeated(int(kMaxImportBytes / questions.size()) + 1));
        } else if (kind == "letter"_L1) {
            writeBytes(path, "Dear parents,\r\nthe trip is on Friday.\r\n");
        } else if (kind == "pipe"_L1) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind.startsWith("questions"_L1)) {
            writeBytes(path, giftQuestions(10));
            if (kind.endsWith(" saved"_L1))
                saveSheet(app, kind.section(u' ', 1, 1));
        }

        const auto before = snapshot(app.root);
        const auto inputsBefore = snapshot(in.path());
        const ExchangeReport report = importFiles(app.m, {path});
        QVERIFY(!report.ok);
        VERIFY_REPORT_HAS(report, reason);
        QCOMPARE(snapshot(app.root), before);
        QCOMPARE(snapshot(in.path()), inputsBefore);
    }

    void exportEveryListedWorksheet()
    {
        // Titles as shown (commas back), safe names, two titles that come out alike
        // kept apart, and a damaged worksheet named without stopping the others.
        TestApp app;
        for (const QString &title : {u"Plants, animals"_s, u"What?"_s, u"What*"_s})
            saveSheet(app, title);
        app.writeDataFile(u"multiple/Damaged.txt"_s, "Damaged\r\n \r\n");
        app.m.appendToWorksheetList(u"Damaged"_s);

        QTemporaryDir out;
        const QString folder = out.filePath(u"new folder"_s);
        const ExchangeReport report = exportWorksheets(app.m, folder, Aiken);
        QVERIFY(!report.ok);
        VERIFY_REPORT_HAS(report, "not written: \"Damaged\": This worksheet seems to be corrupted."_L1);
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 (QStringList{u"Plants, animals.txt"_s, u"What_ (2).txt"_s, u"What_.txt"_s}));
        VERIFY_REPORT_HAS(report, "(\"Plants, animals\", Aiken)"_L1);
        QVERIFY(readBytes(folder + u"/Plants, animals.txt"_s)
                    .startsWith("Question 1 of Plants, animals\r\nA. answer 1A\r\n"));
        // One title, as listed, or none when it is not listed.
        const QString one = out.filePath(u"one"_s);
        QVERIFY(exportWorksheets(app.m, one, Gift, u"Plants& animals"_s).ok);
        QCOMPARE(QDir(one).entryList(QDir::Files), QStringList{u"Plants, animals.gift"_s});
        QVERIFY(!exportWorksheets(app.m, out.filePath(u"none"_s), Gift, u"Plants"_s).ok);
        QCOMPARE(QDir(out.filePath(u"none"_s)).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
