// Fuzz target over the import of question files: any bytes go through the decoding, the
// format detection, both readers and the import's plan (checks, worksheets of ten,
// titles). What the plan would save must pass the wizard's checks and travel through
// both writers and back unchanged.
#include "exchange/exchange.h"
#include "exchange/questionfiles.h"
#include "module1/worksheetchecks.h"

#include <QByteArray>

#include <cstdint>

namespace {

using namespace velmora;

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The plan's questions read back from a writer's file are the ones written.
void readsBack(const QList<ExportQuestion> &written, const QByteArray &file, QuestionFormat format)
{
    const DecodedText decoded = decodeQuestionFile(file);
    check(decoded.text.has_value() && !decoded.legacy);
    check(detectFormat(*decoded.text) == format);
    const QList<ParsedQuestion> read = readQuestions(*decoded.text, format);
    check(read.size() == written.size());
    for (qsizetype i = 0; i < read.size(); ++i) {
        check(read[i].notMultipleChoice.isEmpty() && !read[i].partMarks);
        check(read[i].text == written[i].text);
        check(read[i].answers.size() == 4);
        for (int k = 0; k < 4; ++k)
            check(read[i].answers[k] == written[i].answers[std::size_t(k)]);
        check(read[i].right == QList<int>{written[i].right});
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText decoded = decodeQuestionFile(bytes);
    if (decoded.text) {
        detectFormat(*decoded.text);
        readAiken(*decoded.text);
        readGift(*decoded.text);
    }

    const ImportPlan plan = planImport(bytes, QStringLiteral("fuzz.gift"));
    check(plan.refusal.isEmpty() == plan.format.has_value());
    qsizetype taken = plan.leftOver.size();
    for (const PlannedWorksheet &planned : plan.worksheets) {
        check(planned.numbers.size() == WorksheetDraft::kQuestions);
        taken += planned.numbers.size();
        QList<ExportQuestion> questions;
        for (int q = 0; q < Worksheet::kQuestions; ++q) {
            const int right = planned.sheet.correct[std::size_t(q)].toInt() - 1;
            check(right >= 0 && right < 4);
            ExportQuestion question{planned.sheet.questions[std::size_t(q)], planned.sheet.answers[std::size_t(q)],
                                    right};
            check(!lengthProblem({question.text, question.answers, {}}));
            questions << question;
        }
        readsBack(questions, writeGift(planned.sheet.title, questions), QuestionFormat::Gift);
        bool aikenHolds = true;
        for (const ExportQuestion &question : std::as_const(questions))
            aikenHolds = aikenHolds && !aikenCannotHold(question);
        if (aikenHolds)
            readsBack(questions, writeAiken(questions), QuestionFormat::Aiken);
    }
    check(taken + plan.skipped.size() == plan.found);
    return 0;
}
