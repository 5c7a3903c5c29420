#pragma once

#include <QString>

#include <array>
#include <optional>

namespace velmora {

struct Worksheet;

// The checks a worksheet passes before it is saved, shared by the wizard and by the
// import of question files, so both refuse the same worksheets.

// The lengths the wizard's boxes take. The wizard's boxes stop typing there; texts
// that arrive by other ways (an import) are held to the same lengths.
inline constexpr int kTitleBoxLength = 25;
inline constexpr int kQuestionBoxLength = 60;
inline constexpr int kAnswerBoxLength = 30;

// One question as the wizard's boxes hold it: its text, answers A to D and the ticks.
struct QuestionDraft {
    QString text;
    std::array<QString, 4> answers;
    std::array<bool, 4> ticked{};
};

// A worksheet as the wizard's boxes hold it.
struct WorksheetDraft {
    static constexpr int kQuestions = 10;
    QString title;
    std::array<QuestionDraft, kQuestions> questions;
};

// What is wrong with one question.
struct QuestionProblem {
    enum class Kind {
        Incomplete, // the question or an answer is empty
        NoTick, // no answer is marked correct
        SeveralTicks, // more than one answer is marked correct
        TooLong, // longer than the wizard's box for it
        Unencodable, // a character the worksheet files' code page cannot hold
    };
    Kind kind;
    // Which text, in words: "the question", "answer C".
    QString where;
    // For Unencodable the character; for TooLong the length found.
    QString detail;
};

// A box counts as empty when its text has length 0; a box holding only blanks counts
// as filled. Checked in the wizard's order: the question, answers A to D (the first
// empty one), then the ticks.
std::optional<QuestionProblem> completenessProblem(const QuestionDraft &question);
// The first text (question, then answers A to D) holding a character that the
// worksheet files cannot hold.
std::optional<QuestionProblem> characterProblem(const QuestionDraft &question);
// The first text longer than the wizard's box for it.
std::optional<QuestionProblem> lengthProblem(const QuestionDraft &question);

// The wizard's checks before a save, in its order, stopping at the first problem:
// an empty title; for each question in turn its completeness and ticks; a title that
// cannot name a worksheet (titleRefusal); characters the files cannot hold. Returns
// the problem in the wizard's own words, or nothing when the worksheet may be saved.
// Lengths are not checked here: the wizard's boxes limit typing, and a worksheet
// opened from a hand-made file with longer texts saves unchanged.
std::optional<QString> worksheetProblem(const WorksheetDraft &draft);

// The worksheet a draft saves: each question's correct answer is its ticked answer
// ("1" = A ... "4" = D; after the checks there is exactly one).
Worksheet worksheetFromDraft(const WorksheetDraft &draft);

} // namespace velmora
