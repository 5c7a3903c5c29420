#include "worksheetfile.h"

#include "platform/fileslot.h"
#include "platform/windows1252.h"

#include <QRegularExpression>

namespace velmora {

namespace {
const QString kBlankLine = QStringLiteral(" ");
// The longest file name most file systems hold, in bytes.
constexpr int kMaxFileNameBytes = 255;

QString swapped(const QString &text, QChar from, QChar to)
{
    // Built character by character, as the program has always converted its texts.
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(c == from ? to : c);
    return out;
}
} // namespace

QString commasToAmpersands(const QString &text)
{
    return swapped(text, QLatin1Char(','), QLatin1Char('&'));
}

QString ampersandsToCommas(const QString &text)
{
    return swapped(text, QLatin1Char('&'), QLatin1Char(','));
}

void writeworksheet(FileSlot &file, const Worksheet &sheet)
{
    file.writeLine(commasToAmpersands(sheet.title));
    file.writeLine(kBlankLine);
    for (int q = 0; q < Worksheet::kQuestions; ++q) {
        file.writeLine(commasToAmpersands(sheet.questions[q]));
        for (const QString &answer : sheet.answers[q])
            file.writeLine(commasToAmpersands(answer));
        file.writeLine(sheet.correct[q]);
        file.writeLine(kBlankLine);
    }
}

QString listTitle(const QString &typed)
{
    return commasToAmpersands(typed.trimmed());
}

std::optional<QString> titleRefusal(const QString &typed)
{
    const QString title = typed.trimmed();
    if (title.isEmpty())
        return QStringLiteral("A worksheet title must hold more than blanks.");
    for (const QChar c : title) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral("A worksheet title cannot contain \"/\" or \"\\\". Please choose another title.");
        // The data folder may be a Windows share, where ":" names a stream of a file; the
        // program's path layer refuses it for that reason too.
        if (c == QLatin1Char(':'))
            return QStringLiteral("A worksheet title cannot contain \":\". Please choose another title.");
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("A worksheet title cannot contain control characters. Please choose another title.");
    }
    if (const QString bad = firstUnencodable(title); !bad.isEmpty())
        return QStringLiteral("The character %1 cannot be saved in a worksheet title. Please choose another title.")
            .arg(describeCharacter(bad));
    static const QRegularExpression onlyDots(QStringLiteral("^\\.+$"));
    static const QRegularExpression reserved(QStringLiteral(
                                                 "^(track|ardovin sevrani|con|prn|aux|nul|com[1-9]|lpt[1-9])$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (onlyDots.match(title).hasMatch())
        return QStringLiteral("A worksheet title cannot be made of dots only. Please choose another title.");
    if (reserved.match(title).hasMatch())
        return QStringLiteral("The title \"%1\" is kept for the program's own files. Please choose another title.")
            .arg(title);
    if ((listTitle(title) + QStringLiteral(".txt")).toUtf8().size() > kMaxFileNameBytes)
        return QStringLiteral("This worksheet title is too long to be saved. Please choose a shorter title.");
    return std::nullopt;
}

QString worksheetFile(const QString &listTitle)
{
    return QStringLiteral("multiple/") + listTitle + QStringLiteral(".txt");
}

} // namespace velmora
