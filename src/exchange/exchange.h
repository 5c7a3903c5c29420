#pragma once

#include "questionfiles.h"

#include "module1/worksheetfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmora {

class Module1;

// Worksheets to and from the question files of learning platforms (Aiken, GIFT).

// What one command did, in lines for the teacher; `ok` is false when something that
// was asked for could not be done (a file not read, a worksheet not saved or not
// written). Questions skipped and questions left over do not count as failures.
struct ExchangeReport {
    QStringList lines;
    bool ok = true;
    QString text() const { return lines.join(QLatin1Char('\n')); }
};

// Import.
//
// A file is read whole (at most kMaxImportBytes), told apart as Aiken or GIFT by its
// content, and its multiple-choice questions with exactly four answers and one right
// answer are kept when they pass the wizard's checks (every text filled, no longer
// than the wizard's boxes, only characters the worksheet files hold). Kept questions
// make worksheets of ten, in the file's order; the rest (fewer than ten) are not
// saved. Worksheets are titled after the file's name ("Planets.gift" gives "Planets";
// "Planets 1", "Planets 2", ... when the file gives more than one), and the title is
// checked as the wizard checks it before it saves.
inline constexpr qint64 kMaxImportBytes = qint64(4) * 1024 * 1024;

struct PlannedWorksheet {
    Worksheet sheet;
    QList<int> numbers; // the file's question numbers it holds, from 1
    QString refusal; // why it cannot be saved (its title), or empty
};

struct ImportPlan {
    QString fileName;
    QString refusal; // why nothing is taken from the file, or empty
    std::optional<QuestionFormat> format;
    bool legacy = false; // read as Windows-1252, not UTF-8
    int found = 0; // questions found in the file
    QStringList skipped; // a line for each question not taken, with the reason
    QList<PlannedWorksheet> worksheets;
    QList<int> leftOver; // usable questions that make no worksheet of ten
};

// Works out what importing these bytes, read from a file of that name, would save.
// Writes nothing.
ImportPlan planImport(const QByteArray &bytes, const QString &fileName);

// Imports each file: reads it (refusing what is not an ordinary file or is too large),
// plans it, and saves each worksheet through the program's own save (atomic, under the
// list's lock). A title that is already taken is not saved again: the teacher's
// worksheet is never replaced. The report says, file by file, what was saved and what
// was skipped and why.
ExchangeReport importFiles(Module1 &m, const QStringList &paths);

// Export.
//
// Writes each listed worksheet, or only the one titled `onlyTitle` (as shown, with its
// commas, or as listed; the unit's own quiz by its name), into `folder` as one file in
// `format`, named after its title as shown, made safe for any file system. Existing
// files of those names in the folder are replaced.
ExchangeReport exportWorksheets(Module1 &m, const QString &folder, QuestionFormat format,
                                const std::optional<QString> &onlyTitle = std::nullopt);

// The file name a worksheet of this (shown) title is exported under, extension
// included: characters that Windows or a memory stick refuses become "_", blanks and
// dots at the end go, device names get a "_" in front, long names are cut.
QString exportFileName(const QString &shownTitle, QuestionFormat format);

// The format of exports when none is named.
inline constexpr QuestionFormat kDefaultExportFormat = QuestionFormat::Gift;

} // namespace velmora
