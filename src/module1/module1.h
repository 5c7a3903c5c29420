#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace velmora {

class Form;
class FormRegistry;
class Platform;
struct Worksheet;

// The shared module: the process-wide values that more than one screen reads or
// writes, and the procedures every screen shares. Values start unset (0 or empty),
// keep their contents while forms come and go, and are never saved.
class Module1
{
public:
    static constexpr int kQuestions = 10;
    static constexpr int kListCapacity = 1000;

    Module1(Platform &platform, FormRegistry &forms);

    Platform &platform() const { return m_platform; }
    FormRegistry &forms() const { return m_forms; }

    // The screen frame every content form's load handler runs first: colours, caption,
    // the size of 12000 by 9000 twips and centring on the screen.
    void setupform(Form &form) const;

    // Reads one quiz set from the worksheet file the caller has opened in file slot 1:
    // the title, then for each question its text, answers A to D (each "&" read as ",")
    // and its correct answer (unchanged). Throws FileError on any failure, leaving the
    // fields read so far replaced and the rest as they were; the caller closes the slot.
    void loadquiz();

    // Reads the worksheet list from the file named `asWritten` in file slot 1: the count
    // into trackcount, then that many titles into tracklist(1) onwards. Opens and closes
    // the file itself. Throws FileError on any failure (a count above the list's room
    // fails at the 1001st title); what was read before the failure stays, and the slot
    // is left open for the caller's handler to close.
    void readtracklist(const QString &asWritten);

    // The list's two changes. Copies of the program on other machines may share the
    // folder, so each reads, changes and writes the list under the list's lock
    // (ListLock, "track.txt.lock" beside the list), which every copy honours; a lock
    // that another copy keeps for more than a few seconds throws FileError Locked.
    //
    // Adds a list title (see listTitle()) to the list file unless it is listed already
    // (exact comparison). Reads the file first; trackcount keeps the count read. Returns
    // whether the title was added. Throws FileError, with the list file untouched.
    bool appendToWorksheetList(const QString &title);
    // Removes the last entry equal to a list title from the list file and from memory.
    // A title that is not listed alters nothing and returns false. Throws FileError,
    // with the list file untouched.
    bool removeFromWorksheetList(const QString &title);

    // Saves a worksheet under a title that no worksheet has yet: writes its file as the
    // wizard does (atomically, in file slot 1), then adds its list title to the list.
    // All of it happens under the list's lock, so no other copy can save the same title
    // between the check and the save. A title already listed, or whose file exists (a
    // name matched without regard to case, as a Windows share would), is not saved:
    // returns false and nothing is written. Throws FileError; a failure after the file
    // is written leaves it unlisted, as a failed save of the wizard does.
    bool saveNewWorksheet(const Worksheet &sheet);

    // Page viewers.
    qint16 pageno = 0;
    qint16 pagecount = 0;
    QString pagename;
    qint16 logoframe = 0;

    // The quiz set; questions 1 to 10 (index 0 unused).
    QString worktitle;
    std::array<QString, kQuestions + 1> quest;
    std::array<QString, kQuestions + 1> ansa;
    std::array<QString, kQuestions + 1> ansb;
    std::array<QString, kQuestions + 1> ansc;
    std::array<QString, kQuestions + 1> ansd;
    std::array<QString, kQuestions + 1> rightans;

    // The worksheet list, a cache of multiple\track.txt; titles 1 to trackcount.
    long long trackcount = 0;
    std::array<QString, kListCapacity + 1> tracklist;

    // The running quiz and the current exercise.
    int questno = 0;
    std::array<int, kQuestions + 1> marks{};
    QString quizhead;
    int score = 0;
    int total = 0;

    // The worksheet catalogue.
    int workpageno = 0;
    QString deltitle;

private:
    // appendToWorksheetList with the list's lock already held.
    bool appendHoldingLock(const QString &title);

    Platform &m_platform;
    FormRegistry &m_forms;
};

// A number as the program writes it into a message, label or printout: one space
// (the place of the sign) and the decimal digits, so "Question" + number(3) reads
// "Question 3".
QString number(long long value);

} // namespace velmora
