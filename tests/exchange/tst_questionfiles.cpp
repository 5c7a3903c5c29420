// The Aiken and GIFT readers and writers on their own: what a text gives, question by
// question, and that what the writers write reads back the same.
#include "exchange/exchange.h"
#include "exchange/questionfiles.h"

#include <QTest>

using namespace velmora;

namespace {

// A question as the tests describe it: its text, its answers joined by "|", the
// indexes of its right answers, and why it is no multiple-choice question.
QString describe(const ParsedQuestion &q)
{
    QStringList right;
    for (const int r : q.right)
        right << QString::number(r);
    return QStringLiteral("%1 [%2] right=%3%4%5")
        .arg(q.text, q.answers.join(QLatin1Char('|')), right.join(QLatin1Char(',')),
             q.partMarks ? QStringLiteral(" part") : QString(),
             q.notMultipleChoice.isEmpty() ? QString() : QStringLiteral(" / ") + q.notMultipleChoice);
}

QStringList describeAll(const QList<ParsedQuestion> &questions)
{
    QStringList out;
    for (const ParsedQuestion &q : questions)
        out << describe(q);
    return out;
}

} // namespace

class TestQuestionFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aiken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("dots, then brackets; blank line between")
            << QStringLiteral(
                   "What is the right answer?\nA. This one\nB. Maybe this\nC. Or this\nD. Surely this\nANSWER: D\n\n"
                   "Which is a planet?\nA) Mars\nB) The Sun\nC) The Moon\nD) Halley\nANSWER: A\n")
            << QStringList{QStringLiteral("What is the right answer? "
                                          "[This one|Maybe this|Or "
                                          "this|Surely this] right=3"),
                           QStringLiteral("Which is a planet? "
                                          "[Mars|The Sun|The "
                                          "Moon|Halley] right=0")};
        QTest::newRow("no blank line, CR LF, blanks around lines")
            << QStringLiteral("  Q one?\r\nA. a\r\nB. b \r\n\tC. c\r\nD. d\r\nANSWER:  B \r\nQ two?\r\nA. w\r\nB. "
                              "x\r\nC. y\r\nD. z\r\nANSWER: c\r\n")
            << QStringList{QStringLiteral("Q one? [a|b|c|d] right=1"), QStringLiteral("Q two? [w|x|y|z] right=2")};
        QTest::newRow("six answers are read; the count is checked later")
            << QStringLiteral("Q?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nANSWER: F\n")
            << QStringList{QStringLiteral("Q? [1|2|3|4|5|6] right=5")};
        QTest::newRow("a question line that looks like an answer")
            << QStringLiteral("A. Smith wrote which book?\nA. One\nB. Two\nC. Three\nD. Four\nANSWER: A\n")
            << QStringList{QStringLiteral("A. Smith wrote which book? [One|Two|Three|Four] right=0")};
        QTest::newRow("an empty answer") << QStringLiteral("Q?\nA.\nB. b\nC. c\nD. d\nANSWER: B\n")
                                         << QStringList{QStringLiteral("Q? [|b|c|d] right=1")};
        QTest::newRow("no ANSWER line, then the next question")
            << QStringLiteral("Q one?\nA. a\nB. b\nQ two?\nA. c\nB. d\nANSWER: A\n")
            << QStringList{QStringLiteral("Q one? [a|b] right= / it has no ANSWER line after its answers"),
                           QStringLiteral("Q two? [c|d] right=0")};
        QTest::newRow("a question over two lines")
            << QStringLiteral("Which planet\nis red?\nA. Mars\nB. Venus\nANSWER: A\n")
            << QStringList{QStringLiteral("Which planet is red? [Mars|Venus] right=0 / its question runs over more "
                                          "than one line (an Aiken question is one line)")};
        QTest::newRow("an ANSWER letter that is no answer")
            << QStringLiteral("Q?\nA. a\nB. b\nANSWER: E\n")
            << QStringList{QStringLiteral("Q? [a|b] right= / its ANSWER line \"E\" names none of its answers")};
        QTest::newRow("ANSWER naming two letters")
            << QStringLiteral("Q?\nA. a\nB. b\nANSWER: A, B\n")
            << QStringList{QStringLiteral("Q? [a|b] right= / its ANSWER line \"A, B\" names none of its answers")};
        QTest::newRow("an ANSWER line on its own")
            << QStringLiteral("ANSWER: A\n")
            << QStringList{QStringLiteral(" [] right= / an ANSWER line without a question before it")};
        QTest::newRow("a letter given twice")
            << QStringLiteral("Q?\nA. a\nA. b\nANSWER: A\n")
            << QStringList{QStringLiteral("Q? [a|b] right=0 / the letter A starts two of its answers")};
        QTest::newRow("a question without answers")
            << QStringLiteral("Q?\nANSWER: A\n") << QStringList{QStringLiteral("Q? [] right= / it has no answers")};
    }

    void aiken()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(describeAll(readAiken(text)), expected);
    }

    void gift_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("one line, title, comment")
            << QStringLiteral("// a comment\n::Q1:: Who wrote it?{~Anna ~Ben =nobody ~Carl}\n")
            << QStringList{QStringLiteral("Who wrote it? [Anna|Ben|nobody|Carl] right=2")};
        QTest::newRow("answers on lines, feedback, CR LF, comment inside")
            << QStringLiteral("Which country?{\r\n  ~India #No\r\n// not this\r\n  =China # Yes!\r\n  ~Korea\r\n  "
                              "~Egypt}\r\n")
            << QStringList{QStringLiteral("Which country? [India|China|Korea|Egypt] right=1")};
        QTest::newRow("escapes") << QStringLiteral(
            "::T\\:1:: 3\\:1 and 2 \\= 1+1 \\# \\{x\\} \\~ a\\\\b\\nc ? {=\\{s\\} ~a\\=b ~c\\#d ~e\\:f}\n")
                                 << QStringList{
                                        QStringLiteral("3:1 and 2 = 1+1 # {x} ~ a\\b c ? [{s}|a=b|c#d|e:f] right=0")};
        QTest::newRow("a lone backslash stays") << QStringLiteral("C:\\temp? {=a ~b ~c ~d}\n")
                                                << QStringList{QStringLiteral("C:\\temp? [a|b|c|d] right=0")};
        QTest::newRow("missing word") << QStringLiteral("Grant is {~buried =entombed ~living ~x} in the tomb.\n")
                                      << QStringList{QStringLiteral(
                                             "Grant is _____ in the tomb. [buried|entombed|living|x] right=1")};
        QTest::newRow("weights: 100 is right, 0 and below wrong")
            << QStringLiteral("Q?{~%100%a ~%0%b ~%-50%c =%100%d}\n")
            << QStringList{QStringLiteral("Q? [a|b|c|d] right=0,3")};
        QTest::newRow("part marks") << QStringLiteral("Q?{~%50%a ~%50%b ~%-100%c ~%-100%d}\n")
                                    << QStringList{QStringLiteral("Q? [a|b|c|d] right= part")};
        QTest::newRow("html question and answer")
            << QStringLiteral("[html]<p>Which <b>gas</b> &amp; why&#63;</p>{=[html]CO<sub>2</sub> ~O ~N ~He}\n")
            << QStringList{QStringLiteral("Which gas & why? [CO2|O|N|He] right=0")};
        QTest::newRow("plain and markdown markers")
            << QStringLiteral("[plain]<b> stays{=a ~b}\n\n[markdown]*x*{=a ~b}\n")
            << QStringList{QStringLiteral("<b> stays [a|b] right=0"), QStringLiteral("*x* [a|b] right=0")};
        QTest::newRow("category, blank lines with blanks, several questions")
            << QStringLiteral("$CATEGORY: a/b\n\n \t \nQ1{=a ~b}\n\n\n\nQ2{=c ~d}")
            << QStringList{QStringLiteral("Q1 [a|b] right=0"), QStringLiteral("Q2 [c|d] right=0")};
        QTest::newRow("category on the question's first line")
            << QStringLiteral("$CATEGORY: a\nQ{=a ~b}\n") << QStringList{QStringLiteral("Q [a|b] right=0")};

        const auto notMc = [](const QString &text, const QString &why) {
            return text + QStringLiteral(" [] right= / ") + why;
        };
        QTest::newRow("true/false")
            << QStringLiteral("The Sun is a star.{T}\n\nIt is.{FALSE#no}\n")
            << QStringList{notMc(QStringLiteral("The Sun is a star."), QStringLiteral("it is a true/false question")),
                           notMc(QStringLiteral("It is."), QStringLiteral("it is a true/false question"))};
        QTest::newRow("short answer") << QStringLiteral("Two plus {=two =2} is four.\n")
                                      << QStringList{notMc(QStringLiteral("Two plus _____ is four."),
                                                           QStringLiteral("it is a short-answer question (every "
                                                                          "answer is right)"))};
        QTest::newRow("matching") << QStringLiteral("Match:{=cat -> fish =dog -> bone}\n")
                                  << QStringList{
                                         notMc(QStringLiteral("Match:"), QStringLiteral("it is a matching question"))};
        QTest::newRow("numerical") << QStringLiteral("Born when?{#1822:5}\n")
                                   << QStringList{notMc(QStringLiteral("Born when?"),
                                                        QStringLiteral("it is a numerical question"))};
        QTest::newRow("essay") << QStringLiteral("Write.{}\n")
                               << QStringList{notMc(QStringLiteral("Write."),
                                                    QStringLiteral("it is an essay question (no answers to "
                                                                   "choose from)"))};
        QTest::newRow("description") << QStringLiteral("Just words.\n")
                                     << QStringList{notMc(QStringLiteral("Just words."),
                                                          QStringLiteral("it has no answers in braces (a "
                                                                         "description, not a question)"))};
        QTest::newRow("unclosed answers")
            << QStringLiteral("Q?{=a ~b\n")
            << QStringList{notMc(QStringLiteral("Q?"), QStringLiteral("its answers are not closed with "
                                                                      "\"}\" (unbalanced braces)"))};
        QTest::newRow("closing brace first")
            << QStringLiteral("Q}?{=a ~b}\n")
            << QStringList{notMc(QStringLiteral("Q}?"), QStringLiteral("it has a \"}\" without a \"{\" "
                                                                       "before it (unbalanced braces)"))};
        QTest::newRow("brace inside answers")
            << QStringLiteral("Q?{=a {~b}\n")
            << QStringList{notMc(QStringLiteral("Q?"), QStringLiteral("it has a \"{\" inside its "
                                                                      "answers (unbalanced braces)"))};
        QTest::newRow("two questions without a blank line")
            << QStringLiteral("Q1?{=a ~b}\nQ2?{=c ~d}\n")
            << QStringList{notMc(QStringLiteral("Q1?"), QStringLiteral("it has more than one set of braces "
                                                                       "(questions must be separated by a blank "
                                                                       "line)"))};
        QTest::newRow("unclosed title") << QStringLiteral("::T Q?{=a ~b}\n")
                                        << QStringList{notMc(QStringLiteral("T Q?{=a ~b}"),
                                                             QStringLiteral("its title is not closed with \"::\""))};
        QTest::newRow("unmarked answers")
            << QStringLiteral("Q?{Paris}\n")
            << QStringList{notMc(QStringLiteral("Q?"), QStringLiteral("its answers are not marked with "
                                                                      "\"=\" and \"~\""))};
    }

    void gift()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(describeAll(readGift(text)), expected);
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("legacy");
        QTest::addColumn<QString>("refusal");

        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << QStringLiteral("café") << false << QString();
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                                    "caf\xC3\xA9")
                                                      << QStringLiteral("café") << false << QString();
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x93q\x94") << QStringLiteral("café “q”") << true
                                      << QString();
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFEQ\0?\0", 6) << QString() << false
                                << QStringLiteral("it is UTF-16 text; please save it as UTF-8");
        QTest::newRow("NUL bytes") << QByteArray("ab\0cd", 5) << QString() << false
                                   << QStringLiteral("it is not a text file (it holds NUL bytes)");
        QTest::newRow("control characters") << QByteArray(40, '\x01') + QByteArray(100, 'a') << QString() << false
                                            << QStringLiteral("it is not a text file (it holds 40 control "
                                                              "characters)");
        QTest::newRow("a stray control character is left to the checks")
            << QByteArray(2000, 'a') + '\x0B' << QString(2000, QLatin1Char('a')) + QChar(0x0B) << false << QString();
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

    void detection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("format"); // -1 neither

        QTest::newRow("Aiken") << QStringLiteral("Q?\nA. a\nANSWER: A\n") << int(QuestionFormat::Aiken);
        QTest::newRow("GIFT") << QStringLiteral("Q?{=a ~b}\n") << int(QuestionFormat::Gift);
        QTest::newRow("braces in comments and escaped do not count")
            << QStringLiteral("// {x}\nQ \\{?\nA. a\nANSWER: A\n") << int(QuestionFormat::Aiken);
        QTest::newRow("Aiken with a brace in one question")
            << QStringLiteral("Is {1,2} a set?\nA. Yes\nB. No\nANSWER: A\nQ?\nA. a\nANSWER: A\n")
            << int(QuestionFormat::Aiken);
        QTest::newRow("neither") << QStringLiteral("Dear class,\nsee you.\n") << -1;
        QTest::newRow("empty") << QString() << -1;
    }

    void detection()
    {
        QFETCH(QString, text);
        QFETCH(int, format);
        const auto found = detectFormat(text);
        QCOMPARE(found ? int(*found) : -1, format);
    }

    void writersReadBack_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");

        QTest::newRow("plain") << QStringLiteral("Which planet is red?") << QStringLiteral("Mars");
        QTest::newRow("every GIFT special character") << QStringLiteral("a~b=c#d{e}f:g::h") << QStringLiteral("=~#{}:");
        QTest::newRow("backslashes") << QStringLiteral("C:\\new \\n \\\\ \\= end\\") << QStringLiteral("\\");
        QTest::newRow("a comment look-alike") << QStringLiteral("// not a comment") << QStringLiteral("// nor this");
        QTest::newRow("a format look-alike") << QStringLiteral("[html]<b>x</b>") << QStringLiteral("[plain]y");
        QTest::newRow("a weight look-alike") << QStringLiteral("50% of 10?") << QStringLiteral("%5%");
        QTest::newRow("an answer line look-alike") << QStringLiteral("B) is it this?") << QStringLiteral("A. x");
        QTest::newRow("a category look-alike") << QStringLiteral("$CATEGORY: x") << QStringLiteral("y");
        QTest::newRow("accents and quotes") << QStringLiteral("Où est « Noël » ? “quoted” ’") << QStringLiteral("Été");
        QTest::newRow("true/false look-alike") << QStringLiteral("T") << QStringLiteral("TRUE");
        QTest::newRow("commas and ampersands") << QStringLiteral("salt, pepper & oil") << QStringLiteral("a,b&c");
    }

    void writersReadBack()
    {
        QFETCH(QString, question);
        QFETCH(QString, answer);
        const QList<ExportQuestion> written{
            {question, {answer, QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("four")}, 0},
            {QStringLiteral("Second?"), {QStringLiteral("w"), answer, QStringLiteral("y"), QStringLiteral("z")}, 1},
        };
        const QStringList expected{
            QStringLiteral("%1 [%2|two|three|four] right=0").arg(question, answer),
            QStringLiteral("Second? [w|%1|y|z] right=1").arg(answer),
        };
        const auto gift = decodeQuestionFile(writeGift(QStringLiteral("A: {name}"), written));
        QVERIFY(gift.text);
        QCOMPARE(detectFormat(*gift.text), QuestionFormat::Gift);
        QCOMPARE(describeAll(readGift(*gift.text)), expected);
        if (!aikenCannotHold(written[0])) {
            const auto aiken = decodeQuestionFile(writeAiken(written));
            QVERIFY(aiken.text);
            QCOMPARE(detectFormat(*aiken.text), QuestionFormat::Aiken);
            QCOMPARE(describeAll(readAiken(*aiken.text)), expected);
        }
    }

    void aikenCannotHoldEverything_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("held");
        QTest::newRow("an ordinary question") << QStringLiteral("Which?") << true;
        QTest::newRow("an empty question") << QString() << false;
        QTest::newRow("only blanks") << QStringLiteral("   ") << false;
        QTest::newRow("an ANSWER line") << QStringLiteral("ANSWER: B") << false;
    }

    void aikenCannotHoldEverything()
    {
        QFETCH(QString, question);
        QFETCH(bool, held);
        QCOMPARE(!aikenCannotHold({question, {}, 0}).has_value(), held);
    }

    void exportNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        QTest::newRow("commas stay") << QStringLiteral("Plants, animals") << QStringLiteral("Plants, animals.gift");
        QTest::newRow("refused characters")
            << QStringLiteral("a<b>c:d\"e/f\\g|h?i*j") << QStringLiteral("a_b_c_d_e_f_g_h_i_j.gift");
        QTest::newRow("climbing out") << QStringLiteral("../../etc/x") << QStringLiteral(".._.._etc_x.gift");
        QTest::newRow("only dots") << QStringLiteral("..") << QStringLiteral("worksheet.gift");
        QTest::newRow("dots and blanks at the end") << QStringLiteral("Quiz. . ") << QStringLiteral("Quiz.gift");
        QTest::newRow("a device name") << QStringLiteral("con") << QStringLiteral("_con.gift");
        QTest::newRow("a device name with a dot") << QStringLiteral("LPT1.x") << QStringLiteral("_LPT1.x.gift");
        QTest::newRow("a control character") << QStringLiteral("a\tb") << QStringLiteral("a_b.gift");
        QTest::newRow("long") << QString(300, QLatin1Char('x'))
                              << QString(200, QLatin1Char('x')) + QStringLiteral(".gift");
    }

    void exportNames()
    {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(exportFileName(title, QuestionFormat::Gift), name);
        QCOMPARE(exportFileName(title, QuestionFormat::Aiken), name.chopped(5) + QStringLiteral(".txt"));
    }
};

QTEST_GUILESS_MAIN(TestQuestionFiles)
#include "tst_questionfiles.moc"
