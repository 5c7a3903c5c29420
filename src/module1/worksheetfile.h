#pragma once

#include <QString>

#include <array>
#include <optional>

namespace velmora {

class FileSlot;

// One worksheet as the wizard writes it: a title, ten questions with four answers each,
// and for each question the number of its correct answer as text ("1" = A ... "4" = D).
struct Worksheet {
    static constexpr int kQuestions = 10;
    static constexpr int kLines = 72;

    QString title;
    std::array<QString, kQuestions> questions;
    std::array<std::array<QString, 4>, kQuestions> answers;
    std::array<QString, kQuestions> correct;
};

// The comma rule of the worksheet files: texts are written with each "," as "&" and
// read back with each "&" as ",". An "&" typed by an author therefore reads back as ",".
QString commasToAmpersands(const QString &text);
QString ampersandsToCommas(const QString &text);

// Writes the worksheet file (72 lines, CR LF) into file slot 1, which the caller has
// opened for output and closes afterwards:
//   1      the title (comma rule)          2  a single space
//   3+7q   question q+1 (comma rule)       4+7q .. 7+7q  answers A to D (comma rule)
//   8+7q   the correct answer, as given    9+7q  a single space
// Texts are written exactly as typed apart from the comma rule. The field reader takes
// every line literally (a double quote is an ordinary character), so any text that the
// code page holds reads back unchanged, double quotes and trailing blanks included;
// only leading blanks are lost, as the field rule skips them.
void writeworksheet(FileSlot &file, const Worksheet &sheet);

// Titles. A worksheet is listed and stored under its list title: the typed title
// without blanks at either end (the reader would drop leading ones, and other systems
// refuse trailing ones in file names) and with each "," written as "&". The list file
// splits a line at its commas, so a comma must never reach it; and the catalogue shows
// each "&" of a listed title as "," and turns it back to find the file, so the file is
// named with the same "&" form. "Plants, animals" is thus listed as "Plants& animals"
// and stored in "multiple/Plants& animals.txt", shown and loaded as "Plants, animals".
QString listTitle(const QString &typed);
// Why a typed title cannot name a worksheet, in words for the teacher; nothing when
// it can. Refused: titles that are only blanks; slashes and backslashes; titles made of
// dots; control characters; characters the files' code page cannot hold; names the
// program's own files use ("track", the unit's quiz) or that Windows reserves (CON,
// PRN, AUX, NUL, COM1-9, LPT1-9); names too long for the file system.
std::optional<QString> titleRefusal(const QString &typed);
// The worksheet file of a list title, as the screens name it.
QString worksheetFile(const QString &listTitle);

// The worksheet list file.
inline const QString kListFile = QStringLiteral("multiple/track.txt");
inline const QString kUnitQuizFile = QStringLiteral("multiple\\Ardovin Sevrani.txt");

} // namespace velmora
