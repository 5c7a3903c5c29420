#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace velmora {

// The two plain-text question formats that learning platforms import and export:
//
// Aiken, multiple choice only:
//     Which planet is nearest the Sun?
//     A. Mercury
//     B) Venus
//     ANSWER: A
// The question on one line, then its answers, each a letter, "." or ")" and a blank,
// then "ANSWER: " and the letter of the right one. Questions are separated by blank
// lines (or simply follow an ANSWER line).
//
// GIFT, many question types, one question per block of lines between blank lines:
//     // a comment line
//     ::Title::Which planet is nearest the Sun? {=Mercury ~Venus ~Earth ~Mars}
// "=" marks the right answer and "~" the others; "#" starts feedback, "%50%" after
// "=" or "~" gives an answer part marks; "\" makes ~ = # { } : plain characters ("\n"
// is a line break and "\\" a backslash); [html], [moodle], [plain] or [markdown]
// before a text names its format.

enum class QuestionFormat { Aiken, Gift };

QString formatName(QuestionFormat format);

// One question as a file gives it, before any check of our own.
struct ParsedQuestion {
    int line = 0; // where it starts, counted from 1
    // Why it is not a multiple-choice question (a true/false question, a description,
    // a matching question...), or why it could not be read; empty when it is one.
    QString notMultipleChoice;
    QString text; // one line: line breaks inside it become blanks
    QStringList answers;
    QList<int> right; // indexes into answers of the answers marked right
    bool partMarks = false; // some answer gives part marks (a multiple-answer question)
};

// Text from the bytes of a question file: UTF-8, with or without a byte-order mark;
// bytes that are not UTF-8 are read as Windows-1252 (files saved by old editors), and
// `legacy` says so. Nothing, with `refusal` set, for bytes that are not text: NUL
// bytes, UTF-16, or many control characters.
struct DecodedText {
    std::optional<QString> text;
    QString refusal;
    bool legacy = false;
};
DecodedText decodeQuestionFile(const QByteArray &bytes);

// Which of the two formats a text is written in, by its content: Aiken's "ANSWER:"
// lines against GIFT's answers in braces. Nothing when neither appears.
std::optional<QuestionFormat> detectFormat(const QString &text);

QList<ParsedQuestion> readAiken(const QString &text);
QList<ParsedQuestion> readGift(const QString &text);
QList<ParsedQuestion> readQuestions(const QString &text, QuestionFormat format);

// One multiple-choice question to write: four answers, the right one by index.
struct ExportQuestion {
    QString text;
    std::array<QString, 4> answers;
    int right = 0;
};

// Why Aiken cannot carry this question (its question line would read as an answer
// line), or nothing. GIFT carries every one-line text.
std::optional<QString> aikenCannotHold(const ExportQuestion &question);

// The files, UTF-8 without a byte-order mark, every line ended by CR LF. GIFT questions
// are named "<name>, question <n>" so they stay apart in a platform's question bank.
QByteArray writeAiken(const QList<ExportQuestion> &questions);
QByteArray writeGift(const QString &name, const QList<ExportQuestion> &questions);

// A text with GIFT's special characters escaped.
QString giftEscaped(const QString &text);

} // namespace velmora
