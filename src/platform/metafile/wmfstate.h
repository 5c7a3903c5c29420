#pragma once

#include "platform/metafilescan.h"

#include <QColor>

#include <vector>

namespace velmora::metafile {

// The parts of the device context that the page's records set and that the player
// drawing it forgets: libwmf starts afresh with its defaults after every SaveDC (text
// alignment, background mode and colour, text colour, fill mode), and it converts a
// pen's width when the pen is created, with the window of that moment. Windows keeps
// all of these through SaveDC, and a pen's width is in the units in force when it
// draws. This is kept from the records themselves, as Windows keeps it.
struct DcState {
    quint16 textAlign = 0; // TA_* bits: left, top, no current position
    bool opaqueBackground = true;
    QColor textColor = QColor(0, 0, 0);
    QColor backgroundColor = QColor(255, 255, 255);
    bool windingFill = false; // alternate filling otherwise
    qint16 characterExtra = 0; // logical units between characters
    int pen = -1; // the CreatePenIndirect record of the selected pen; -1: the stock black pen

    bool operator==(const DcState &) const = default;
};

// A pen as its record gives it.
struct PenRecord {
    quint16 style = 0; // PS_* style, end cap and join bits
    int width = 0; // logical units; 0: one device pixel
    QColor color = QColor(0, 0, 0);
};

// Follows the records in the order the player plays them.
class DcTracker
{
public:
    explicit DcTracker(const Scan &scan);

    // The state in which record `index` plays: every record before it applied. Indexes
    // must not go backwards (an earlier index gives the state reached so far).
    const DcState &at(int index);
    // The pen the state has selected.
    PenRecord pen(const DcState &state) const;

private:
    void apply(const Record &record);

    const Scan &m_scan;
    int m_next = 0;
    DcState m_state;
    std::vector<DcState> m_saved;
};

} // namespace velmora::metafile
