#include "worksheetchecks.h"

#include "module1.h"
#include "worksheetfile.h"

#include "platform/windows1252.h"

namespace velmora {

namespace {
const std::array<QString, 4> kAnswerNames{QStringLiteral("answer A"), QStringLiteral("answer B"),
                                          QStringLiteral("answer C"), QStringLiteral("answer D")};
const QString kQuestionName = QStringLiteral("the question");
} // namespace

std::optional<QuestionProblem> completenessProblem(const QuestionDraft &question)
{
    using Kind = QuestionProblem::Kind;
    if (question.text.isEmpty())
        return QuestionProblem{Kind::Incomplete, kQuestionName, {}};
    int ticks = 0;
    for (int k = 0; k < 4; ++k) {
        // An empty answer is reported before any tick of this question is looked at.
        if (question.answers[k].isEmpty())
            return QuestionProblem{Kind::Incomplete, kAnswerNames[k], {}};
        ticks += question.ticked[k] ? 1 : 0;
    }
    if (ticks == 0)
        return QuestionProblem{Kind::NoTick, {}, {}};
    if (ticks > 1)
        return QuestionProblem{Kind::SeveralTicks, {}, QString::number(ticks)};
    return std::nullopt;
}

std::optional<QuestionProblem> characterProblem(const QuestionDraft &question)
{
    if (const QString bad = firstUnencodable(question.text); !bad.isEmpty())
        return QuestionProblem{QuestionProblem::Kind::Unencodable, kQuestionName, bad};
    for (int k = 0; k < 4; ++k) {
        if (const QString bad = firstUnencodable(question.answers[k]); !bad.isEmpty())
            return QuestionProblem{QuestionProblem::Kind::Unencodable, kAnswerNames[k], bad};
    }
    return std::nullopt;
}

std::optional<QuestionProblem> lengthProblem(const QuestionDraft &question)
{
    if (question.text.size() > kQuestionBoxLength)
        return QuestionProblem{QuestionProblem::Kind::TooLong, kQuestionName, QString::number(question.text.size())};
    for (int k = 0; k < 4; ++k) {
        if (question.answers[k].size() > kAnswerBoxLength)
            return QuestionProblem{QuestionProblem::Kind::TooLong, kAnswerNames[k],
                                   QString::number(question.answers[k].size())};
    }
    return std::nullopt;
}

std::optional<QString> worksheetProblem(const WorksheetDraft &draft)
{
    using Kind = QuestionProblem::Kind;
    if (draft.title.isEmpty())
        return QStringLiteral("You have not chosen a title for your worksheet");
    for (int q = 1; q <= WorksheetDraft::kQuestions; ++q) {
        const auto problem = completenessProblem(draft.questions[q - 1]);
        if (!problem)
            continue;
        switch (problem->kind) {
        case Kind::NoTick:
            return QStringLiteral("You have not ticked the correct answer for Question") + number(q);
        case Kind::SeveralTicks:
            return QStringLiteral("You have ticked more than one correct answer for Question") + number(q);
        default:
            return QStringLiteral("You have not completed Question") + number(q);
        }
    }
    // Checked before anything is written: a title that cannot name a file safely, and
    // characters the worksheet file cannot hold.
    if (auto refusal = titleRefusal(draft.title))
        return refusal;
    for (int q = 1; q <= WorksheetDraft::kQuestions; ++q) {
        if (const auto problem = characterProblem(draft.questions[q - 1]))
            return QStringLiteral("The character %1 in Question %2 cannot be saved in a worksheet. "
                                  "Please type it another way.")
                .arg(describeCharacter(problem->detail))
                .arg(q);
    }
    return std::nullopt;
}

Worksheet worksheetFromDraft(const WorksheetDraft &draft)
{
    Worksheet sheet;
    sheet.title = draft.title;
    for (int j = 0; j < WorksheetDraft::kQuestions; ++j) {
        const QuestionDraft &question = draft.questions[j];
        sheet.questions[j] = question.text;
        for (int k = 0; k < 4; ++k) {
            sheet.answers[j][k] = question.answers[k];
            if (question.ticked[k])
                sheet.correct[j] = QString::number(k + 1);
        }
    }
    return sheet;
}

} // namespace velmora
