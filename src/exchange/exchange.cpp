#include "exchange.h"

#include "module1/filefailure.h"
#include "module1/module1.h"
#include "module1/worksheetchecks.h"
#include "platform/fileslot.h"
#include "platform/platform.h"
#include "platform/safefile.h"
#include "platform/windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace velmora {

namespace {

const QString kIndent = QStringLiteral("  ");
const QString kUnitQuizTitle = QStringLiteral("Ardovin Sevrani");

// "1-3, 5, 7-8"
QString numberList(const QList<int> &numbers)
{
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        parts << (j == i ? QString::number(numbers[i]) : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Why a question of the file makes no worksheet question, or nothing.
std::optional<QString> unusable(const ParsedQuestion &q, QuestionDraft &draft)
{
    if (!q.notMultipleChoice.isEmpty())
        return q.notMultipleChoice;
    if (q.answers.size() != 4)
        return QStringLiteral("it has %1 answer%2; a worksheet question has four")
            .arg(q.answers.size())
            .arg(q.answers.size() == 1 ? QString() : QStringLiteral("s"));
    if (q.partMarks)
        return QStringLiteral("some of its answers give part marks (a question with several right answers)");
    if (q.right.isEmpty())
        return QStringLiteral("none of its answers is marked right");
    if (q.right.size() > 1)
        return QStringLiteral("%1 of its answers are marked right; a worksheet question has one").arg(q.right.size());

    draft.text = q.text;
    for (int k = 0; k < 4; ++k) {
        draft.answers[std::size_t(k)] = q.answers[k];
        draft.ticked[std::size_t(k)] = q.right.first() == k;
    }
    using Kind = QuestionProblem::Kind;
    if (const auto problem = completenessProblem(draft)) {
        if (problem->kind == Kind::Incomplete)
            return QStringLiteral("%1 is empty").arg(problem->where);
        return QStringLiteral("it has no single right answer");
    }
    if (const auto problem = lengthProblem(draft)) {
        const int limit = problem->where == QLatin1String("the question") ? kQuestionBoxLength : kAnswerBoxLength;
        return QStringLiteral("%1 is too long: %2 characters, the wizard's box holds %3")
            .arg(problem->where, problem->detail)
            .arg(limit);
    }
    if (const auto problem = characterProblem(draft))
        return QStringLiteral("the character %1 in %2 cannot be saved in a worksheet (its code page cannot hold it)")
            .arg(describeCharacter(problem->detail), problem->where);
    // Characters a box cannot be typed with: the file would hold them, no screen would.
    for (const QString *text :
         {&draft.text, &draft.answers[0], &draft.answers[1], &draft.answers[2], &draft.answers[3]}) {
        for (const QChar c : *text) {
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                return QStringLiteral("it holds the control character %1").arg(describeCharacter(QString(c)));
        }
    }
    return std::nullopt;
}

QString reasonOf(const FileError &error)
{
    switch (error.kind()) {
    case FileError::Kind::NotFound:
        return QStringLiteral("there is no such file");
    case FileError::Kind::NotRegular:
        return QStringLiteral("it is not an ordinary file (a folder, a link or a device)");
    case FileError::Kind::TooLarge:
        return QStringLiteral("it is larger than %1 MB, far more than any question file").arg(kMaxImportBytes >> 20);
    default:
        return QStringLiteral("it cannot be read (%1)").arg(error.detail());
    }
}

// A failed save or write, in the program's own words for the reason.
QString failureText(const QString &fixed, const FileError &error)
{
    return fileFailureMessage(fixed, error).replace(QStringLiteral("\n\n"), QStringLiteral(" "));
}

// A worksheet to export: its file as the screens name it, and its title as shown.
struct ExportItem {
    QString file;
    QString shown;
};

// The worksheets to export: every listed one, or only the one titled `onlyTitle` (the
// unit's own quiz included). Empty, with the reason in the report, when there are none.
QList<ExportItem> worksheetsToExport(Module1 &m, const std::optional<QString> &onlyTitle, ExchangeReport &report)
{
    QList<ExportItem> wanted;
    try {
        m.readtracklist(kListFile);
    } catch (const FileError &error) {
        m.platform().file1().abandon();
        report.lines << failureText(QStringLiteral("The list of worksheets cannot be read; nothing was written."),
                                    error);
        report.ok = false;
        return {};
    }
    for (long long i = 1; i <= m.trackcount; ++i) {
        const QString listed = m.tracklist[std::size_t(i)];
        const QString shown = ampersandsToCommas(listed);
        if (!onlyTitle || *onlyTitle == shown || *onlyTitle == listed || listTitle(*onlyTitle) == listed) {
            wanted << ExportItem{worksheetFile(listed), shown};
            if (onlyTitle)
                break;
        }
    }
    if (onlyTitle && wanted.isEmpty()) {
        if (onlyTitle->trimmed().compare(kUnitQuizTitle, Qt::CaseInsensitive) == 0) {
            wanted << ExportItem{kUnitQuizFile, kUnitQuizTitle};
        } else {
            report.lines << QStringLiteral("No worksheet titled %1 is in the list; nothing was written.")
                                .arg(quoted(*onlyTitle));
            report.ok = false;
            return {};
        }
    }
    if (wanted.isEmpty())
        report.lines << QStringLiteral("The list of worksheets is empty; nothing was written.");
    return wanted;
}

// The questions of the worksheet just loaded, as they are exported; what keeps them
// from being written in `format`, if anything.
QString loadedQuestions(const Module1 &m, QuestionFormat format, QList<ExportQuestion> &questions)
{
    QString problem;
    for (int q = 1; q <= Module1::kQuestions && problem.isEmpty(); ++q) {
        const std::size_t i = std::size_t(q);
        bool isNumber = false;
        const int right = m.rightans[i].trimmed().toInt(&isNumber);
        if (!isNumber || right < 1 || right > 4) {
            problem = QStringLiteral("the correct answer of question %1 is not 1 to 4 (the file is damaged)").arg(q);
            break;
        }
        ExportQuestion question{m.quest[i], {m.ansa[i], m.ansb[i], m.ansc[i], m.ansd[i]}, right - 1};
        if (format == QuestionFormat::Aiken) {
            if (const auto why = aikenCannotHold(question))
                problem = QStringLiteral("question %1: %2; export it as GIFT").arg(q).arg(*why);
        }
        questions << question;
    }
    return problem;
}

// The file name for a worksheet titled `shown`, kept apart from the names already
// `used`: two titles that differ only in characters made safe, or in case, get apart.
QString unusedFileName(const QString &shown, QuestionFormat format, QSet<QString> &used)
{
    QString name = exportFileName(shown, format);
    const QString extension = name.mid(name.lastIndexOf(QLatin1Char('.')));
    const QString stem = name.left(name.size() - extension.size());
    for (int n = 2; used.contains(name.toLower()); ++n)
        name = stem + QStringLiteral(" (%1)").arg(n) + extension;
    used.insert(name.toLower());
    return name;
}

// Writes one worksheet into `folder` and reports it.
void exportWorksheet(Module1 &m, const ExportItem &item, const QString &folder, QuestionFormat format,
                     QSet<QString> &used, ExchangeReport &report)
{
    FileSlot &file = m.platform().file1();
    QList<ExportQuestion> questions;
    try {
        file.openForInput(item.file);
        m.loadquiz();
        file.close();
    } catch (const FileError &error) {
        file.abandon();
        report.lines << QStringLiteral("not written: %1: %2")
                            .arg(quoted(item.shown),
                                 failureText(QStringLiteral("This worksheet seems to be corrupted."), error));
        report.ok = false;
        return;
    }
    const QString problem = loadedQuestions(m, format, questions);
    if (!problem.isEmpty()) {
        report.lines << QStringLiteral("not written: %1: %2").arg(quoted(item.shown), problem);
        report.ok = false;
        return;
    }
    const QString name = unusedFileName(item.shown, format, used);

    const QString path = QDir(folder).filePath(name);
    const QByteArray bytes = format == QuestionFormat::Aiken ? writeAiken(questions) : writeGift(item.shown, questions);
    try {
        AtomicFile out(path, name);
        out.write(bytes);
        out.commit();
    } catch (const FileError &error) {
        report.lines << QStringLiteral("not written: %1: %2")
                            .arg(quoted(item.shown), failureText(QStringLiteral("The file cannot be written."), error));
        report.ok = false;
        return;
    }
    report.lines << QStringLiteral("wrote %1 (%2, %3)")
                        .arg(QDir::toNativeSeparators(path), quoted(item.shown), formatName(format));
}

} // namespace

ImportPlan planImport(const QByteArray &bytes, const QString &fileName)
{
    ImportPlan plan;
    plan.fileName = fileName;
    const DecodedText decoded = decodeQuestionFile(bytes);
    if (!decoded.text) {
        plan.refusal = decoded.refusal;
        return plan;
    }
    plan.legacy = decoded.legacy;
    plan.format = detectFormat(*decoded.text);
    if (!plan.format) {
        plan.refusal = QStringLiteral("it is neither Aiken (no \"ANSWER:\" lines) nor GIFT (no answers in braces)");
        return plan;
    }
    const QList<ParsedQuestion> questions = readQuestions(*decoded.text, *plan.format);
    plan.found = int(questions.size());

    QList<std::pair<int, QuestionDraft>> usable;
    for (qsizetype i = 0; i < questions.size(); ++i) {
        const int number = int(i + 1);
        QuestionDraft draft;
        if (const auto why = unusable(questions[i], draft)) {
            plan.skipped
                << QStringLiteral("question %1 (line %2) skipped: %3").arg(number).arg(questions[i].line).arg(*why);
            continue;
        }
        usable << std::pair{number, draft};
    }

    const qsizetype sheets = usable.size() / WorksheetDraft::kQuestions;
    const QString base = QFileInfo(fileName).completeBaseName().trimmed();
    for (qsizetype s = 0; s < sheets; ++s) {
        WorksheetDraft draft;
        draft.title = sheets == 1 ? base : base + QLatin1Char(' ') + QString::number(s + 1);
        PlannedWorksheet planned;
        for (int j = 0; j < WorksheetDraft::kQuestions; ++j) {
            const auto &[number, question] = usable[s * WorksheetDraft::kQuestions + j];
            draft.questions[std::size_t(j)] = question;
            planned.numbers << number;
        }
        // The wizard's own checks, the title's among them, on the whole worksheet.
        if (const auto problem = worksheetProblem(draft))
            planned.refusal = *problem;
        planned.sheet = worksheetFromDraft(draft);
        plan.worksheets << planned;
    }
    for (qsizetype i = sheets * WorksheetDraft::kQuestions; i < usable.size(); ++i)
        plan.leftOver << usable[i].first;
    return plan;
}

ExchangeReport importFiles(Module1 &m, const QStringList &paths)
{
    ExchangeReport report;
    FileSlot &file = m.platform().file1();
    for (const QString &path : paths) {
        const QFileInfo info(path);
        // The teacher named this file: a link they chose is followed to its file.
        const QString target = info.canonicalFilePath().isEmpty() ? path : info.canonicalFilePath();
        ImportPlan plan;
        try {
            plan = planImport(readRegularFile(target, kMaxImportBytes), info.fileName());
        } catch (const FileError &error) {
            plan.refusal = reasonOf(error);
        }
        if (!plan.refusal.isEmpty()) {
            report.lines
                << QStringLiteral("%1: nothing imported: %2.").arg(QDir::toNativeSeparators(path), plan.refusal);
            report.ok = false;
            continue;
        }
        report.lines << QStringLiteral("%1 (%2%3, %4 question%5):")
                            .arg(QDir::toNativeSeparators(path), formatName(*plan.format),
                                 plan.legacy ? QStringLiteral(", read as Windows-1252 as it is not UTF-8") : QString(),
                                 QString::number(plan.found), plan.found == 1 ? QString() : QStringLiteral("s"));
        for (const QString &line : std::as_const(plan.skipped))
            report.lines << kIndent + line;
        for (const PlannedWorksheet &planned : std::as_const(plan.worksheets)) {
            const QString title = quoted(planned.sheet.title);
            const QString which = QStringLiteral("questions ") + numberList(planned.numbers);
            if (!planned.refusal.isEmpty()) {
                report.lines << kIndent + QStringLiteral("not saved: %1 (%2): %3").arg(title, which, planned.refusal);
                report.ok = false;
                continue;
            }
            try {
                if (m.saveNewWorksheet(planned.sheet)) {
                    report.lines << kIndent + QStringLiteral("saved %1 (%2)").arg(title, which);
                } else {
                    report.lines << kIndent
                                        + QStringLiteral("not saved: %1 (%2): a worksheet of this title exists "
                                                         "already and is left as it was; rename the file and "
                                                         "import it again")
                                              .arg(title, which);
                    report.ok = false;
                }
            } catch (const FileError &error) {
                file.abandon();
                report.lines << kIndent
                                    + QStringLiteral("not saved: %1 (%2): %3")
                                          .arg(title, which,
                                               failureText(QStringLiteral("There was a problem saving it."), error));
                report.ok = false;
            }
        }
        if (!plan.leftOver.isEmpty())
            report.lines << kIndent
                                + QStringLiteral("not saved: question%1 %2, %3 usable question%4 left over; a "
                                                 "worksheet needs ten")
                                      .arg(plan.leftOver.size() == 1 ? QString() : QStringLiteral("s"),
                                           numberList(plan.leftOver))
                                      .arg(plan.leftOver.size())
                                      .arg(plan.leftOver.size() == 1 ? QString() : QStringLiteral("s"));
        if (plan.worksheets.isEmpty() && plan.leftOver.isEmpty())
            report.lines << kIndent + QStringLiteral("no usable questions, nothing saved");
    }
    return report;
}

QString exportFileName(const QString &shownTitle, QuestionFormat format)
{
    static const QString refused = QStringLiteral("<>:\"/\\|?*");
    QString name;
    for (const QChar c : shownTitle) {
        const bool bad = refused.contains(c) || c.category() == QChar::Other_Control
                         || c.category() == QChar::Other_Format || c.isSurrogate();
        name.append(bad ? QLatin1Char('_') : c);
    }
    name = name.trimmed();
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    static const QRegularExpression nameless(QStringLiteral("^[._ ]*$"));
    if (nameless.match(name).hasMatch())
        name = QStringLiteral("worksheet");
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        name.prepend(QLatin1Char('_'));
    // Most file systems hold 255 bytes in a name; room is left for the extension and a
    // number that keeps two titles apart.
    while (name.toUtf8().size() > 200)
        name.chop(1);
    return name + (format == QuestionFormat::Aiken ? QStringLiteral(".txt") : QStringLiteral(".gift"));
}

ExchangeReport exportWorksheets(Module1 &m, const QString &folder, QuestionFormat format,
                                const std::optional<QString> &onlyTitle)
{
    ExchangeReport report;
    if (!QDir().mkpath(folder)) {
        report.lines << QStringLiteral("The folder %1 cannot be made; nothing was written.")
                            .arg(QDir::toNativeSeparators(folder));
        report.ok = false;
        return report;
    }
    const QList<ExportItem> items = worksheetsToExport(m, onlyTitle, report);
    QSet<QString> used;
    for (const ExportItem &item : items)
        exportWorksheet(m, item, folder, format, used, report);
    return report;
}

} // namespace velmora
