#include "questionfiles.h"

#include "platform/windows1252.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <vector>

namespace velmora {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    return text.split(breaks);
}

// A text as one line: each line of it trimmed, the non-empty ones joined by a blank;
// tabs become blanks.
QString oneLine(const QString &text)
{
    QStringList parts;
    for (const QString &line : splitLines(text)) {
        const QString trimmed = QString(line).replace(QLatin1Char('\t'), QLatin1Char(' ')).trimmed();
        if (!trimmed.isEmpty())
            parts << trimmed;
    }
    return parts.join(QLatin1Char(' '));
}

bool isControl(char32_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c < 0xA0);
}

// ---- Aiken ----

const QRegularExpression &aikenAnswerLine()
{
    // A letter, "." or ")", then a blank and the text (or nothing: an empty answer).
    static const QRegularExpression re(QStringLiteral("^([A-Za-z])[.)](?:\\s+(.*))?$"));
    return re;
}

const QRegularExpression &aikenKeyLine()
{
    static const QRegularExpression re(QStringLiteral("^ANSWER\\s*:\\s*(.*)$"));
    return re;
}

// ---- GIFT ----

// One character of a GIFT block, and whether a backslash made it plain.
struct Unit {
    QChar c;
    bool escaped;
};
using Units = std::vector<Unit>;

bool isSpecial(QChar c)
{
    return c == u'~' || c == u'=' || c == u'#' || c == u'{' || c == u'}' || c == u':';
}

Units unitsOf(const QString &text)
{
    Units out;
    out.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text[i + 1];
            if (isSpecial(next) || next == u'\\') {
                out.push_back({next, true});
                ++i;
                continue;
            }
            if (next == u'n') {
                out.push_back({QLatin1Char('\n'), true});
                ++i;
                continue;
            }
        }
        out.push_back({c, false});
    }
    return out;
}

bool plainAt(const Units &units, std::size_t i, QChar c)
{
    return i < units.size() && !units[i].escaped && units[i].c == c;
}

// The first unescaped `c` at or after `from`, or units.size().
std::size_t findPlain(const Units &units, std::size_t from, QChar c, std::size_t to)
{
    for (std::size_t i = from; i < to && i < units.size(); ++i) {
        if (plainAt(units, i, c))
            return i;
    }
    return units.size();
}

QString textOf(const Units &units, std::size_t from, std::size_t to)
{
    QString out;
    for (std::size_t i = from; i < to && i < units.size(); ++i)
        out.append(units[i].c);
    return out;
}

bool hasPlain(const Units &units, std::size_t from, std::size_t to, QChar c)
{
    return findPlain(units, from, c, to) < to;
}

enum class TextFormat { Moodle, Html, Plain, Markdown };

// Takes a leading [html], [moodle], [plain] or [markdown] off a text.
std::optional<TextFormat> takeFormat(QString &text)
{
    static const std::array<std::pair<const char *, TextFormat>, 4> markers{{{"[html]", TextFormat::Html},
                                                                             {"[moodle]", TextFormat::Moodle},
                                                                             {"[plain]", TextFormat::Plain},
                                                                             {"[markdown]", TextFormat::Markdown}}};
    const QString trimmed = text.trimmed();
    for (const auto &[marker, format] : markers) {
        const QLatin1String m(marker);
        if (trimmed.startsWith(m)) {
            text = trimmed.mid(m.size());
            return format;
        }
    }
    return std::nullopt;
}

// The character of one of the usual named entities ("amp" is '&'), or 0.
char32_t namedEntity(const QString &name)
{
    struct Named {
        const char *name;
        char16_t code;
    };
    static constexpr Named kNamed[] = {{"amp", u'&'},  {"lt", u'<'},    {"gt", u'>'},
                                       {"quot", u'"'}, {"apos", u'\''}, {"nbsp", u' '}};
    for (const Named &named : kNamed) {
        if (name == QLatin1String(named.name))
            return named.code;
    }
    return 0;
}

// The words of an HTML text: tags dropped (a line break or paragraph becomes a blank),
// the usual entities and numeric references decoded.
QString htmlToText(const QString &html)
{
    static const QRegularExpression breaks(QStringLiteral("<\\s*(br|/p|/div|/li)[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.replace(breaks, QStringLiteral(" "));
    text.replace(tags, QString());
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]{2,8});"));
    QString out;
    qsizetype last = 0;
    auto it = entity.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        out += text.mid(last, match.capturedStart() - last);
        last = match.capturedEnd();
        const QString name = match.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x")) || name.startsWith(QLatin1String("#X")))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt();
        else
            code = namedEntity(name);
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000) || isControl(code))
            out += match.captured(0);
        else
            out += QString::fromUcs4(&code, 1);
    }
    out += text.mid(last);
    return out.simplified();
}

QString finishText(QString text, TextFormat format)
{
    return format == TextFormat::Html ? htmlToText(text) : oneLine(text);
}

// A GIFT answer weight "%50%" at the start of `text`, taken off it.
std::optional<double> takeWeight(QString &text)
{
    static const QRegularExpression weight(QStringLiteral("^\\s*%(-?[0-9]+(?:\\.[0-9]+)?)%"));
    const auto match = weight.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    text = text.mid(match.capturedEnd());
    return match.captured(1).toDouble();
}

// Where the text of a GIFT block starts, past its leading blanks and a "::title::";
// nothing when the title is not closed.
std::optional<std::size_t> textStart(const Units &units, std::size_t pos)
{
    if (plainAt(units, pos, u':') && plainAt(units, pos + 1, u':')) {
        std::size_t end = pos + 2;
        while (end < units.size() && !(plainAt(units, end, u':') && plainAt(units, end + 1, u':')))
            ++end;
        if (end >= units.size())
            return std::nullopt;
        pos = end + 2;
    }
    return pos;
}

// Why the braces of a block, its answers from `open` to `close`, do not make one
// question; empty when they do.
QString braceProblem(const Units &units, std::size_t start, std::size_t open, std::size_t close)
{
    if (findPlain(units, start, u'}', open) < open)
        return QStringLiteral("it has a \"}\" without a \"{\" before it (unbalanced braces)");
    if (open >= units.size())
        return QStringLiteral("it has no answers in braces (a description, not a question)");
    if (close >= units.size())
        return QStringLiteral("its answers are not closed with \"}\" (unbalanced braces)");
    if (hasPlain(units, open + 1, close, u'{'))
        return QStringLiteral("it has a \"{\" inside its answers (unbalanced braces)");
    if (hasPlain(units, close + 1, units.size(), u'{') || hasPlain(units, close + 1, units.size(), u'}'))
        return QStringLiteral("it has more than one set of braces (questions must be "
                              "separated by a blank line)");
    return {};
}

// The kinds of question that show in the answers before they are read: an essay,
// a numerical or a true/false question; empty for any other.
QString answerlessKind(const Units &units, std::size_t open, std::size_t close)
{
    const QString whole = textOf(units, open + 1, close).trimmed();
    const QString head = whole.section(QLatin1Char('#'), 0, 0).trimmed().toUpper();
    if (whole.isEmpty())
        return QStringLiteral("it is an essay question (no answers to choose from)");
    std::size_t first = open + 1;
    while (first < close && units[first].c.isSpace())
        ++first;
    if (plainAt(units, first, u'#'))
        return QStringLiteral("it is a numerical question");
    if (head == QLatin1String("T") || head == QLatin1String("F") || head == QLatin1String("TRUE")
        || head == QLatin1String("FALSE"))
        return QStringLiteral("it is a true/false question");
    return {};
}

// One answer in the braces: its mark ("=" right, "~" wrong) and where its text lies.
struct GiftAnswer {
    QChar mark;
    std::size_t from;
    std::size_t to;
};

std::vector<GiftAnswer> giftAnswers(const Units &units, std::size_t open, std::size_t close)
{
    std::vector<GiftAnswer> answers;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (plainAt(units, i, u'=') || plainAt(units, i, u'~')) {
            if (!answers.empty())
                answers.back().to = i;
            answers.push_back({units[i].c, i + 1, close});
        }
    }
    return answers;
}

// Reads the answers into `q`, with their weights; a question without a wrong answer is
// a matching or short-answer question and keeps none.
void readGiftAnswers(ParsedQuestion &q, const Units &units, const std::vector<GiftAnswer> &answers, TextFormat format)
{
    bool anyWrongMark = false;
    bool matching = false;
    for (const GiftAnswer &answer : answers) {
        const std::size_t feedback = findPlain(units, answer.from, u'#', answer.to);
        QString text = textOf(units, answer.from, qMin(feedback, answer.to));
        const auto weight = takeWeight(text);
        const double value = weight.value_or(answer.mark == u'=' ? 100.0 : 0.0);
        // An answer may name its own format; otherwise it has the question's.
        const TextFormat answerFormat = takeFormat(text).value_or(format);
        if (text.contains(QLatin1String("->")))
            matching = true;
        anyWrongMark = anyWrongMark || answer.mark == u'~';
        if (value >= 100.0)
            q.right << int(q.answers.size());
        else if (value > 0.0)
            q.partMarks = true;
        q.answers << finishText(text, answerFormat);
    }
    if (!anyWrongMark) {
        q.notMultipleChoice = matching ? QStringLiteral("it is a matching question")
                                       : QStringLiteral("it is a short-answer question (every answer is right)");
        q.answers.clear();
        q.right.clear();
    }
}

// The question of one GIFT block.
ParsedQuestion readGiftBlock(const QString &block, int line)
{
    ParsedQuestion q;
    q.line = line;
    const Units units = unitsOf(block);
    std::size_t pos = 0;
    while (pos < units.size() && units[pos].c.isSpace())
        ++pos;
    const std::optional<std::size_t> start = textStart(units, pos);
    if (!start) {
        q.notMultipleChoice = QStringLiteral("its title is not closed with \"::\"");
        q.text = oneLine(textOf(units, pos + 2, units.size()));
        return q;
    }
    const std::size_t open = findPlain(units, *start, u'{', units.size());
    QString before = textOf(units, *start, open);
    const TextFormat format = takeFormat(before).value_or(TextFormat::Moodle);
    q.text = finishText(before, format);
    const std::size_t close = findPlain(units, open + 1, u'}', units.size());
    q.notMultipleChoice = braceProblem(units, *start, open, close);
    if (!q.notMultipleChoice.isEmpty())
        return q;
    // Answers in the middle of the sentence: a missing-word question, its gap shown
    // as a line.
    const QString after = finishText(textOf(units, close + 1, units.size()), format);
    if (!after.isEmpty())
        q.text = (q.text.isEmpty() ? QString() : q.text + QLatin1Char(' ')) + QStringLiteral("_____ ") + after;

    q.notMultipleChoice = answerlessKind(units, open, close);
    if (!q.notMultipleChoice.isEmpty())
        return q;
    const std::vector<GiftAnswer> answers = giftAnswers(units, open, close);
    const std::size_t firstMark = answers.empty() ? close : answers.front().from - 1;
    if (!textOf(units, open + 1, firstMark).trimmed().isEmpty()) {
        q.notMultipleChoice = QStringLiteral("its answers are not marked with \"=\" and \"~\"");
        return q;
    }
    readGiftAnswers(q, units, answers, format);
    return q;
}

} // namespace

QString formatName(QuestionFormat format)
{
    return format == QuestionFormat::Aiken ? QStringLiteral("Aiken") : QStringLiteral("GIFT");
}

DecodedText decodeQuestionFile(const QByteArray &bytes)
{
    DecodedText out;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        out.refusal = QStringLiteral("it is UTF-16 text; please save it as UTF-8");
        return out;
    }
    QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (body.contains('\0')) {
        out.refusal = QStringLiteral("it is not a text file (it holds NUL bytes)");
        return out;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (utf8.hasError()) {
        text = fromWindows1252(body);
        out.legacy = true;
    }
    qsizetype controls = 0;
    for (const QChar c : std::as_const(text))
        controls += isControl(c.unicode()) ? 1 : 0;
    // A stray control character is a question's problem; many of them are no text.
    if (controls > 8 && controls * 100 > text.size()) {
        out.refusal = QStringLiteral("it is not a text file (it holds %1 control characters)").arg(controls);
        return out;
    }
    out.text = text;
    return out;
}

std::optional<QuestionFormat> detectFormat(const QString &text)
{
    // Each block of lines between blank lines votes: one with an Aiken "ANSWER:" line
    // for Aiken (its texts may hold braces), one with braces and no such line for GIFT.
    qsizetype aiken = 0;
    qsizetype gift = 0;
    bool key = false;
    bool braces = false;
    const auto vote = [&] {
        aiken += key ? 1 : 0;
        gift += !key && braces ? 1 : 0;
        key = braces = false;
    };
    for (const QString &line : splitLines(text)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            vote();
            continue;
        }
        key = key || aikenKeyLine().match(trimmed).hasMatch();
        if (braces || trimmed.startsWith(QLatin1String("//")))
            continue;
        const Units units = unitsOf(trimmed);
        for (std::size_t i = 0; i < units.size() && !braces; ++i)
            braces = plainAt(units, i, u'{');
    }
    vote();
    if (aiken == 0 && gift == 0)
        return std::nullopt;
    return aiken >= gift ? QuestionFormat::Aiken : QuestionFormat::Gift;
}

QList<ParsedQuestion> readAiken(const QString &text)
{
    QList<ParsedQuestion> out;
    std::optional<ParsedQuestion> open;
    QString letters; // the letters of the open question's answers, upper case
    bool runsOn = false; // the open question's text took more than one line

    const auto closeUnanswered = [&] {
        if (!open)
            return;
        open->notMultipleChoice = runsOn ? QStringLiteral("its question runs over more than one line "
                                                          "(an Aiken question is one line) and it has no ANSWER line")
                                         : QStringLiteral("it has no ANSWER line after its answers");
        out << *open;
        open.reset();
    };

    const QStringList lines = splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString(lines[i]).replace(QLatin1Char('\t'), QLatin1Char(' ')).trimmed();
        if (line.isEmpty())
            continue;
        const int number = int(qMin<qsizetype>(i + 1, INT_MAX));
        if (const auto key = aikenKeyLine().match(line); key.hasMatch()) {
            if (!open) {
                ParsedQuestion stray;
                stray.line = number;
                stray.notMultipleChoice = QStringLiteral("an ANSWER line without a question before it");
                out << stray;
                continue;
            }
            const QString letter = key.captured(1).trimmed().toUpper();
            const qsizetype index = letter.size() == 1 ? letters.indexOf(letter[0]) : -1;
            if (runsOn)
                open->notMultipleChoice = QStringLiteral("its question runs over more than one line "
                                                         "(an Aiken question is one line)");
            else if (open->answers.isEmpty())
                open->notMultipleChoice = QStringLiteral("it has no answers");
            else if (open->notMultipleChoice.isEmpty() && index < 0)
                open->notMultipleChoice =
                    QStringLiteral("its ANSWER line \"%1\" names none of its answers").arg(key.captured(1).trimmed());
            if (index >= 0)
                open->right << int(index);
            out << *open;
            open.reset();
            continue;
        }
        if (open) {
            if (const auto answer = aikenAnswerLine().match(line); answer.hasMatch()) {
                const QChar letter = answer.captured(1).toUpper()[0];
                if (letters.contains(letter) && open->notMultipleChoice.isEmpty())
                    open->notMultipleChoice = QStringLiteral("the letter %1 starts two of its answers").arg(letter);
                letters.append(letter);
                open->answers << answer.captured(2).trimmed();
                continue;
            }
            if (open->answers.isEmpty()) {
                runsOn = true;
                open->text += QLatin1Char(' ') + line;
                continue;
            }
            closeUnanswered();
        }
        open = ParsedQuestion();
        open->line = number;
        open->text = line;
        letters.clear();
        runsOn = false;
    }
    closeUnanswered();
    return out;
}

QList<ParsedQuestion> readGift(const QString &text)
{
    QList<ParsedQuestion> out;
    QStringList block;
    int blockLine = 0;
    const auto finish = [&] {
        if (block.isEmpty())
            return;
        // A category line names where a platform files the questions; it asks nothing.
        if (block.first().trimmed().startsWith(QLatin1String("$CATEGORY:"))) {
            block.removeFirst();
            ++blockLine;
        }
        if (!block.isEmpty())
            out << readGiftBlock(block.join(QLatin1Char('\n')), blockLine);
        block.clear();
    };
    const QStringList lines = splitLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.startsWith(QLatin1String("//")))
            continue;
        if (trimmed.isEmpty()) {
            finish();
            continue;
        }
        if (block.isEmpty())
            blockLine = int(qMin<qsizetype>(i + 1, INT_MAX));
        block << lines[i];
    }
    finish();
    return out;
}

QList<ParsedQuestion> readQuestions(const QString &text, QuestionFormat format)
{
    return format == QuestionFormat::Aiken ? readAiken(text) : readGift(text);
}

std::optional<QString> aikenCannotHold(const ExportQuestion &question)
{
    const QString text = oneLine(question.text);
    if (text.isEmpty())
        return QStringLiteral("its question is empty, and an Aiken question is the line before its answers");
    if (aikenKeyLine().match(text).hasMatch())
        return QStringLiteral("its question would read as an Aiken ANSWER line");
    return std::nullopt;
}

QByteArray writeAiken(const QList<ExportQuestion> &questions)
{
    QString out;
    for (const ExportQuestion &question : questions) {
        out += oneLine(question.text) + kLineEnd;
        for (int k = 0; k < 4; ++k)
            out += QChar(u'A' + k) + QStringLiteral(". ") + oneLine(question.answers[std::size_t(k)]) + kLineEnd;
        out += QStringLiteral("ANSWER: ") + QChar(u'A' + qBound(0, question.right, 3)) + kLineEnd + kLineEnd;
    }
    return out.toUtf8();
}

QString giftEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isSpecial(c) || c == u'\\')
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    return out;
}

namespace {
// A text as GIFT carries it: one line, escaped, and one that begins like the name of a
// text format ("[html]...") gets the default format named first, so it reads as text.
QString giftText(const QString &text)
{
    QString line = oneLine(text);
    const bool looksLikeFormat = takeFormat(line).has_value();
    QString out = giftEscaped(oneLine(text));
    if (looksLikeFormat)
        out.prepend(QStringLiteral("[moodle]"));
    return out;
}
} // namespace

QByteArray writeGift(const QString &name, const QList<ExportQuestion> &questions)
{
    QString out = QStringLiteral("// ") + oneLine(name)
                  + QStringLiteral(": %1 multiple-choice questions").arg(questions.size()) + kLineEnd + kLineEnd;
    int n = 0;
    for (const ExportQuestion &question : questions) {
        const QString text = giftText(question.text);
        out += QStringLiteral("::") + giftEscaped(oneLine(name) + QStringLiteral(", question ") + QString::number(++n))
               + QStringLiteral("::") + text + QStringLiteral(" {") + kLineEnd;
        for (int k = 0; k < 4; ++k) {
            const QString answer = oneLine(question.answers[std::size_t(k)]);
            const bool right = k == question.right;
            out += QStringLiteral("\t") + QLatin1Char(right ? '=' : '~');
            // A text that begins with "%" would read as part marks: the weight is given.
            if (answer.startsWith(QLatin1Char('%')))
                out += right ? QStringLiteral("%100%") : QStringLiteral("%0%");
            out += giftText(answer) + kLineEnd;
        }
        out += QStringLiteral("}") + kLineEnd + kLineEnd;
    }
    return out.toUtf8();
}

} // namespace velmora
