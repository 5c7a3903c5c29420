#include "wmfstate.h"

namespace velmora::metafile {

namespace {

constexpr quint16 kTransparent = 1;
constexpr quint16 kWinding = 2;

QColor colorAt(const Scan &scan, const Record &r, qsizetype index)
{
    const quint16 redGreen = scan.word(r, index);
    const quint16 blue = scan.word(r, index + 1);
    return QColor(redGreen & 0xFF, redGreen >> 8, blue & 0xFF);
}

} // namespace

DcTracker::DcTracker(const Scan &scan)
    : m_scan(scan)
{
}

const DcState &DcTracker::at(int index)
{
    const int end = std::min<int>(index, int(m_scan.records.size()));
    for (; m_next < end; ++m_next)
        apply(m_scan.records[m_next]);
    return m_state;
}

PenRecord DcTracker::pen(const DcState &state) const
{
    if (state.pen < 0 || state.pen >= int(m_scan.records.size()))
        return {};
    const Record &r = m_scan.records[state.pen];
    PenRecord pen;
    pen.style = m_scan.word(r, 0);
    pen.width = std::abs(m_scan.signedWord(r, 1));
    pen.color = colorAt(m_scan, r, 3);
    return pen;
}

void DcTracker::apply(const Record &r)
{
    switch (r.function) {
    case kSetTextAlign:
        m_state.textAlign = m_scan.word(r, 0);
        break;
    case kSetBkMode:
        m_state.opaqueBackground = m_scan.word(r, 0) != kTransparent;
        break;
    case kSetTextColor:
        m_state.textColor = colorAt(m_scan, r, 0);
        break;
    case kSetBkColor:
        m_state.backgroundColor = colorAt(m_scan, r, 0);
        break;
    case kSetPolyFillMode:
        m_state.windingFill = m_scan.word(r, 0) == kWinding;
        break;
    case kSetTextCharExtra:
        m_state.characterExtra = m_scan.signedWord(r, 0);
        break;
    case kSelectObject:
        if (r.object >= 0 && m_scan.records[r.object].function == kCreatePenIndirect)
            m_state.pen = r.object;
        break;
    case kSaveDC:
        m_saved.push_back(m_state);
        break;
    case kRestoreDC: // the player goes back one state, whatever the record asks
        if (!m_saved.empty()) {
            m_state = m_saved.back();
            m_saved.pop_back();
        }
        break;
    default:
        break;
    }
}

} // namespace velmora::metafile
