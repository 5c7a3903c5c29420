#pragma once

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace velmora::metafile {

// How much of a metafile the program is willing to read. Pages of ours stay far below
// every one of these; a file beyond them is damaged or hostile.
inline constexpr qsizetype kMaxFileBytes = qsizetype(16) * 1024 * 1024;
inline constexpr int kMaxRecords = 250000;
inline constexpr int kMaxTextCharacters = 100000;
inline constexpr qint64 kMaxPoints = 1000000;
inline constexpr int kMaxObjects = 4096;
inline constexpr int kMaxSavedStates = 64;
inline constexpr int kMaxClipRecords = 2000;
inline constexpr int kMaxRegionRecords = 1000;
inline constexpr int kMaxRegionRectangles = 2000;
// A picture larger than this on any side is not a page.
inline constexpr double kMaxSideTwips = 1440.0 * 100;

// Record function numbers the program acts on.
enum Function : quint16 {
    kEof = 0x0000,
    kSaveDC = 0x001E,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetPolyFillMode = 0x0106,
    kSetTextCharExtra = 0x0108,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRelAbs = 0x0105,
    kSetTextAlign = 0x012E,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kCreatePatternBrush = 0x01F9,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kOffsetWindowOrg = 0x020F,
    kScaleWindowExt = 0x0410,
    kCreatePalette = 0x00F7,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kCreateRegion = 0x06FF,
    kDibCreatePatternBrush = 0x0142,
    kTextOut = 0x0521,
    kExtTextOut = 0x0A32,
};

struct Record {
    qsizetype offset = 0; // of the record's size field
    quint32 words = 0; // the whole record, its six-byte head included
    quint16 function = 0;
    // SelectObject and DeleteObject: the record that created the object in the slot
    // named (the slot as the player hands them out); -1 otherwise.
    int object = -1;

    qsizetype end() const { return offset + qsizetype(words) * 2; }
    qsizetype params() const { return qsizetype(words) - 3; }
};

// What the pre-scan learnt of an accepted file, and the copy libwmf is given: the same
// bytes with the header's counts set to what the records really need and the records
// libwmf would misread made harmless (an unbalanced RestoreDC, a reference to an object
// slot that cannot exist, an ExtTextOut whose options promise a rectangle it lacks, an
// old-style pattern brush that libwmf would not count as an object).
struct Scan {
    QString error; // empty when the file is accepted
    QByteArray bytes;
    std::vector<Record> records; // in file order; the end record is the last one

    bool placeable = false;
    int left = 0, top = 0, right = 0, bottom = 0; // the placeable frame, logical units
    int unitsPerInch = 0;

    // The first SetWindowOrg and SetWindowExt records (indexes), if any. Offsets and
    // scalings before them apply to the window the player starts with.
    int firstWindowOrgRecord = -1;
    int firstWindowExtRecord = -1;
    // The window and mapping mode in force when the first drawing record comes.
    bool windowExtBeforeDrawing = false;
    QPoint pageOrigin;
    QSize pageExtent;
    quint16 pageMapMode = 1;

    // The record whose last byte ends at `end`, or -1.
    int recordEndingAt(qsizetype end) const;
    quint16 word(const Record &record, qsizetype index) const;
    qint16 signedWord(const Record &record, qsizetype index) const { return qint16(word(record, index)); }
};

// Reads every record head before libwmf sees anything: sizes against the bytes left,
// each record's minimum size for its function, known function numbers, sane header
// fields, object references against the object table, and the limits above.
Scan scanMetafile(const QByteArray &input);

} // namespace velmora::metafile
