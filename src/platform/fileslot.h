#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

namespace velmora {

class DataPaths;

// A failed file operation. It travels up to the handler of the event that started
// the work, which closes the slot and tells the user in its own words.
class FileError : public std::runtime_error
{
public:
    enum class Kind {
        NotFound, // no such file, or a folder on the way is missing
        Refused, // a name that leads outside the data folder or cannot be a file
        NotRegular, // a link, folder, pipe or device where a data file belongs
        TooLarge, // far larger than any file the program writes: damaged or hostile
        ReadFailed, // the file exists but could not be read
        Locked, // another copy of the program is changing the list right now
        AlreadyOpen, // the slot holds another file
        NotOpen, // read or write without an open file of that mode
        PastEnd, // input past the end of the file
        BadNumber, // a number field that holds no whole number
        Unencodable, // a character the file's code page cannot hold
        WriteFailed, // the disk refused the data
        DiskFull, // no room left on the disk (or over the user's quota)
        ReadOnly, // the folder or file cannot be written
        Overflow, // more entries than the list in memory can hold
    };

    FileError(Kind kind, const QString &detail);
    Kind kind() const { return m_kind; }
    QString detail() const { return m_detail; }

private:
    Kind m_kind;
    QString m_detail;
};

// File slot 1: the one sequential file of the program. Every operation opens its
// file, reads or writes it completely and closes it within one event; two files are
// never open at once.
//
// Reading follows the field rule: a field ends at a comma, at the end of a line (CR,
// LF or CR LF) or at the end of the file; blanks before a field are skipped; reading
// when the file is exhausted is an error. Text is single-byte Windows-1252.
//
// Writing is atomic: lines go to a temporary file that replaces the old one only when
// close() has written everything; abandon() (or any failure) keeps the old file as it
// was, byte for byte. Only ordinary files are read or replaced (see safefile.h), and
// no file larger than kMaxFileBytes is read.
//
// Every failure closes the slot before the FileError leaves it, so a handler never has
// to remember to.
class AtomicFile;

class FileSlot
{
public:
    // A worksheet file is 72 short lines and the list at most 1000 titles; a file past
    // this size is not one the program wrote and is refused as damaged.
    static constexpr qint64 kMaxFileBytes = qint64(1024) * 1024;

    explicit FileSlot(const DataPaths &paths);
    ~FileSlot();
    FileSlot(const FileSlot &) = delete;
    FileSlot &operator=(const FileSlot &) = delete;

    void openForInput(const QString &asWritten);
    void openForOutput(const QString &asWritten);
    bool isOpen() const;

    // Input.
    QString readField();
    // A number field: blanks around the digits are ignored.
    long long readNumber();
    bool atEnd() const;

    // Output: the text and CR LF. A text holding a line break, or a character outside
    // the code page, is refused (FileError, and the old file stays as it was).
    void writeLine(const QString &text);

    // Ends the work with the file: input is dropped; output replaces the old file.
    // Closing a closed slot does nothing.
    void close();
    // Drops the file without saving anything (the error path of output).
    void abandon();
    // Closes the slot as abandon() does, then throws the error: how a procedure that
    // works on the slot reports a failure of its own.
    [[noreturn]] void fail(const FileError &error);

private:
    const DataPaths &m_paths;
    QByteArray m_input;
    qsizetype m_pos = 0;
    bool m_inputOpen = false;
    std::unique_ptr<AtomicFile> m_output;
    QString m_outputName;
};

// Removes the temporary files that a save killed at the wrong moment can leave beside
// the file it was replacing ("name.txt.Ab12Cd"); the readers never look at them. On a
// folder that other copies of the program share, one of them may be saving right now:
// temporaries younger than `minimumAgeSeconds` are left alone. Returns how many were
// removed.
int removeStrayTemporaries(const QString &folderPath, int minimumAgeSeconds = 0);

} // namespace velmora
