// The Aiken and GIFT readers and writers on their own: what a text gives, question by
// question, and that what the writers write reads back the same.
#include "exchange/exchange.h"
#include "exchange/questionfiles.h"

#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

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

// A row of the reading table; the text is taken for the format it is written in unless
// `detected` says otherwise (-1 for neither).
void readsAs(QuestionFormat format, const char *name, const QString &text, const QStringList &expected,
             int detected = -2)
{
    QTest::addRow("%s: %s", format == Aiken ? "Aiken" : "GIFT", name)
        << int(format) << text << expected << (detected == -2 ? int(format) : detected);
}

// A GIFT text of one question that is no multiple-choice question: its text and why.
void giftRefuses(const char *name, const QString &text, const QString &question, const QString &why, int detected = -2)
{
    readsAs(Gift, name, text, {question + u" [] right= / "_s + why}, detected);
}

} // namespace

class TestQuestionFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("detected"); // the format told from the text, -1 for neither

        readsAs(Aiken, "dots, then brackets; blank line between",
                u"What is the right answer?\nA. This one\nB. Maybe this\nC. Or this\nD. Surely this\nANSWER: D\n\n"
                u"Which is a planet?\nA) Mars\nB) The Sun\nC) The Moon\nD) Halley\nANSWER: A\n"_s,
                {u"What is the right answer? [This one|Maybe this|Or this|Surely this] right=3"_s,
                 u"Which is a planet? [Mars|The Sun|The Moon|Halley] right=0"_s});
        readsAs(Aiken, "no blank line, CR LF, blanks around lines",
                u"  Q one?\r\nA. a\r\nB. b \r\n\tC. c\r\nD. d\r\nANSWER:  B \r\n"
                u"Q two?\r\nA. w\r\nB. x\r\nC. y\r\nD. z\r\nANSWER: c\r\n"_s,
                {u"Q one? [a|b|c|d] right=1"_s, u"Q two? [w|x|y|z] right=2"_s});
        readsAs(Aiken, "six answers are read; the count is checked later",
                u"Q?\nA. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nANSWER: F\n"_s, {u"Q? [1|2|3|4|5|6] right=5"_s});
        readsAs(Aiken, "a question line that looks like an answer",
                u"A. Smith wrote which book?\nA. One\nB. Two\nC. Three\nD. Four\nANSWER: A\n"_s,
                {u"A. Smith wrote which book? [One|Two|Three|Four] right=0"_s});
        readsAs(Aiken, "an empty answer", u"Q?\nA.\nB. b\nC. c\nD. d\nANSWER: B\n"_s, {u"Q? [|b|c|d] right=1"_s});
        readsAs(Aiken, "no ANSWER line, then the next question",
                u"Q one?\nA. a\nB. b\nQ two?\nA. c\nB. d\nANSWER: A\n"_s,
                {u"Q one? [a|b] right= / it has no ANSWER line after its answers"_s, u"Q two? [c|d] right=0"_s});
        readsAs(Aiken, "a question over two lines", u"Which planet\nis red?\nA. Mars\nB. Venus\nANSWER: A\n"_s,
                {u"Which planet is red? [Mars|Venus] right=0 / its question runs over more than one line "
                 u"(an Aiken question is one line)"_s});
        readsAs(Aiken, "an ANSWER letter that is no answer", u"Q?\nA. a\nB. b\nANSWER: E\n"_s,
                {u"Q? [a|b] right= / its ANSWER line \"E\" names none of its answers"_s});
        readsAs(Aiken, "ANSWER naming two letters", u"Q?\nA. a\nB. b\nANSWER: A, B\n"_s,
                {u"Q? [a|b] right= / its ANSWER line \"A, B\" names none of its answers"_s});
        readsAs(Aiken, "an ANSWER line on its own", u"ANSWER: A\n"_s,
                {u" [] right= / an ANSWER line without a question before it"_s});
        readsAs(Aiken, "a letter given twice", u"Q?\nA. a\nA. b\nANSWER: A\n"_s,
                {u"Q? [a|b] right=0 / the letter A starts two of its answers"_s});
        readsAs(Aiken, "a brace in one question", u"Is {1,2} a set?\nA. Yes\nB. No\nANSWER: A\nQ?\nA. a\nANSWER: A\n"_s,
                {u"Is {1,2} a set? [Yes|No] right=0"_s, u"Q? [a] right=0"_s});
        readsAs(
            Aiken, "braces in a comment line and escaped", u"// {x}\nQ \\{?\nA. a\nANSWER: A\n"_s,
            {u"// {x} Q \\{? [a] right=0 / its question runs over more than one line (an Aiken question is one line)"_s});
        readsAs(Aiken, "empty, detected as neither", QString(), {}, -1);
        readsAs(Aiken, "a question without answers", u"Q?\nANSWER: A\n"_s, {u"Q? [] right= / it has no answers"_s});

        readsAs(Gift, "one line, title, comment", u"// a comment\n::Q1:: Who wrote it?{~Anna ~Ben =nobody ~Carl}\n"_s,
                {u"Who wrote it? [Anna|Ben|nobody|Carl] right=2"_s});
        readsAs(Gift, "answers on lines, feedback, CR LF, comment inside",
                u"Which country?{\r\n  ~India #No\r\n// not this\r\n  =China # Yes!\r\n  ~Korea\r\n  ~Egypt}\r\n"_s,
                {u"Which country? [India|China|Korea|Egypt] right=1"_s});
        readsAs(Gift, "escapes",
                u"::T\\:1:: 3\\:1 and 2 \\= 1+1 \\# \\{x\\} \\~ a\\\\b\\nc ? {=\\{s\\} ~a\\=b ~c\\#d ~e\\:f}\n"_s,
                {u"3:1 and 2 = 1+1 # {x} ~ a\\b c ? [{s}|a=b|c#d|e:f] right=0"_s});
        readsAs(Gift, "a lone backslash stays", u"C:\\temp? {=a ~b ~c ~d}\n"_s, {u"C:\\temp? [a|b|c|d] right=0"_s});
        readsAs(Gift, "missing word", u"Grant is {~buried =entombed ~living ~x} in the tomb.\n"_s,
                {u"Grant is _____ in the tomb. [buried|entombed|living|x] right=1"_s});
        readsAs(Gift, "weights: 100 is right, 0 and below wrong", u"Q?{~%100%a ~%0%b ~%-50%c =%100%d}\n"_s,
                {u"Q? [a|b|c|d] right=0,3"_s});
        readsAs(Gift, "part marks", u"Q?{~%50%a ~%50%b ~%-100%c ~%-100%d}\n"_s, {u"Q? [a|b|c|d] right= part"_s});
        readsAs(Gift, "html question and answer",
                u"[html]<p>Which <b>gas</b> &amp; why&#63;</p>{=[html]CO<sub>2</sub> ~O ~N ~He}\n"_s,
                {u"Which gas & why? [CO2|O|N|He] right=0"_s});
        readsAs(Gift, "plain and markdown markers", u"[plain]<b> stays{=a ~b}\n\n[markdown]*x*{=a ~b}\n"_s,
                {u"<b> stays [a|b] right=0"_s, u"*x* [a|b] right=0"_s});
        readsAs(Gift, "category, blank lines with blanks, several questions",
                u"$CATEGORY: a/b\n\n \t \nQ1{=a ~b}\n\n\n\nQ2{=c ~d}"_s,
                {u"Q1 [a|b] right=0"_s, u"Q2 [c|d] right=0"_s});
        readsAs(Gift, "category on the question's first line", u"$CATEGORY: a\nQ{=a ~b}\n"_s, {u"Q [a|b] right=0"_s});
        readsAs(Gift, "true/false", u"The Sun is a star.{T}\n\nIt is.{FALSE#no}\n"_s,
                {u"The Sun is a star. [] right= / it is a true/false question"_s,
                 u"It is. [] right= / it is a true/false question"_s});

        giftRefuses("short answer", u"Two plus {=two =2} is four.\n"_s, u"Two plus _____ is four."_s,
                    u"it is a short-answer question (every answer is right)"_s);
        giftRefuses("matching", u"Match:{=cat -> fish =dog -> bone}\n"_s, u"Match:"_s, u"it is a matching question"_s);
        giftRefuses("numerical", u"Born when?{#1822:5}\n"_s, u"Born when?"_s, u"it is a numerical question"_s);
        giftRefuses("essay", u"Write.{}\n"_s, u"Write."_s, u"it is an essay question (no answers to choose from)"_s);
        giftRefuses("description", u"Just words.\n"_s, u"Just words."_s,
                    u"it has no answers in braces (a description, not a question)"_s, -1);
        giftRefuses("unclosed answers", u"Q?{=a ~b\n"_s, u"Q?"_s,
                    u"its answers are not closed with \"}\" (unbalanced braces)"_s);
        giftRefuses("closing brace first", u"Q}?{=a ~b}\n"_s, u"Q}?"_s,
                    u"it has a \"}\" without a \"{\" before it (unbalanced braces)"_s);
        giftRefuses("brace inside answers", u"Q?{=a {~b}\n"_s, u"Q?"_s,
                    u"it has a \"{\" inside its answers (unbalanced braces)"_s);
        giftRefuses("two questions without a blank line", u"Q1?{=a ~b}\nQ2?{=c ~d}\n"_s, u"Q1?"_s,
                    u"it has more than one set of braces (questions must be separated by a blank line)"_s);
        giftRefuses("unclosed title", u"::T Q?{=a ~b}\n"_s, u"T Q?{=a ~b}"_s, u"its title is not closed with \"::\""_s);
        giftRefuses("unmarked answers", u"Q?{Paris}\n"_s, u"Q?"_s,
                    u"its answers are not marked with \"=\" and \"~\""_s);
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
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                                    "caf\xC3\xA9")
                                                      << u"café"_s << false << QString();
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

        QTest::newRow("plain") << u"Which planet is red?"_s << u"Mars"_s << true;
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
        QTest::newRow("commas stay") << u"Plants, animals"_s << u"Plants, animals"_s;
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
        QCOMPARE(exportFileName(title, Gift), name + u".gift"_s);
        QCOMPARE(exportFileName(title, Aiken), name + u".txt"_s);
    }
};

QTEST_GUILESS_MAIN(TestQuestionFiles)
#include "tst_questionfiles.moc"
