#include "metafilescan.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace velmora::metafile {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;
constexpr quint16 kRectangleOptions = 0x0006; // ETO_OPAQUE | ETO_CLIPPED
constexpr quint16 kGreyLow = 0x8080; // a 50% grey COLORREF, low and high word
constexpr quint16 kGreyHigh = 0x0080;

quint16 readWord(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 readDword(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void writeWord(QByteArray &bytes, qsizetype at, quint16 value)
{
    qToLittleEndian<quint16>(value, bytes.data() + at);
}

void writeDword(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

QString at(const Record &r)
{
    return QStringLiteral(" (record at byte %1)").arg(r.offset);
}

// Checks the band structure of a CreateRegion record: scans of [count, top, bottom,
// count x values, count] from word 11 on, all inside the record.
QString checkRegion(const Scan &scan, const Record &r, int &rectangles)
{
    const int bands = scan.word(r, 5);
    qsizetype index = 11;
    for (int band = 0; band < bands; ++band) {
        if (index >= r.params())
            return QStringLiteral("Region record shorter than its bands") + at(r);
        const int count = scan.word(r, index);
        if (count % 2)
            return QStringLiteral("Region band with an odd number of edges") + at(r);
        if (index + count + 3 >= r.params() || scan.word(r, index + count + 3) != count)
            return QStringLiteral("Region band does not close") + at(r);
        rectangles += count / 2;
        if (rectangles > kMaxRegionRectangles)
            return QStringLiteral("Region with too many rectangles") + at(r);
        index += count + 4;
    }
    return {};
}

// What the walk through the records has found so far.
struct Walk {
    explicit Walk(Scan &s)
        : scan(s)
        , bytes(s.bytes)
    {
    }

    Scan &scan;
    QByteArray &bytes;
    std::vector<int> slots; // the record that created each object slot's object; -1: free
    int index = 0; // of the record being read
    int requiredObjects = 0;
    int saved = 0;
    int textCharacters = 0;
    qint64 points = 0;
    int clipRecords = 0;
    int regionRecords = 0;
    bool drawn = false;
    bool ended = false;
    quint16 mapMode = 1;
    QPoint org;
    QSize ext;
    bool extSet = false;
};

// A record the player must not act on becomes a SetRelAbs, which it ignores.
void makeHarmless(Walk &w, Record &r)
{
    writeWord(w.bytes, r.offset + 4, kSetRelAbs);
    r.function = kSetRelAbs;
}

// ---- Per-record rules: each checks its record, counts what it costs and repairs what
// the player would misread. An error text refuses the whole file.

QString endOfFile(Walk &w, Record &)
{
    w.ended = true;
    return {};
}

QString polyline(Walk &w, Record &r) // Polyline and Polygon
{
    const qint64 n = w.scan.word(r, 0);
    if (1 + 2 * n > r.params())
        return QStringLiteral("Metafile polygon longer than its record") + at(r);
    w.points += n;
    return {};
}

QString polyPolygon(Walk &w, Record &r)
{
    const qint64 polygons = w.scan.word(r, 0);
    if (1 + polygons > r.params())
        return QStringLiteral("Metafile polygon list longer than its record") + at(r);
    qint64 n = 0;
    for (qint64 i = 0; i < polygons; ++i)
        n += w.scan.word(r, 1 + i);
    if (1 + polygons + 2 * n > r.params())
        return QStringLiteral("Metafile polygon list longer than its record") + at(r);
    w.points += n;
    return {};
}

QString textOut(Walk &w, Record &r)
{
    const int length = w.scan.word(r, 0);
    if (1 + (length + 1) / 2 + 2 > r.params())
        return QStringLiteral("Metafile text longer than its record") + at(r);
    w.textCharacters += length;
    return {};
}

QString extTextOut(Walk &w, Record &r)
{
    const int length = w.scan.word(r, 2);
    quint16 options = w.scan.word(r, 3);
    // libwmf reads a rectangle whenever any option bit is set; only two of them bring one.
    if (options && !(options & kRectangleOptions)) {
        writeWord(w.bytes, r.offset + 12, 0); // the options word
        options = 0;
    }
    const qsizetype head = options ? 8 : 4;
    if (head + (length + 1) / 2 > r.params())
        return QStringLiteral("Metafile text longer than its record") + at(r);
    w.textCharacters += length;
    return {};
}

QString neutralise(Walk &w, Record &r) // flood fills need the pixels of a screen: skipped
{
    makeHarmless(w, r);
    return {};
}

QString dibBitBlt(Walk &w, Record &r) // a bitmap, or nine words of a plain raster operation
{
    if (r.params() != 9 && r.params() < 8 + 20)
        makeHarmless(w, r);
    return {};
}

QString dibStretchBlt(Walk &w, Record &r) // without a bitmap: nothing libwmf can play
{
    if (r.params() < 10 + 20)
        makeHarmless(w, r);
    return {};
}

QString createRegion(Walk &w, Record &r)
{
    if (++w.regionRecords > kMaxRegionRecords)
        return QStringLiteral("Metafile with more than %1 regions").arg(kMaxRegionRecords);
    int rectangles = 0;
    return checkRegion(w.scan, r, rectangles);
}

QString clipping(Walk &w, Record &)
{
    if (++w.clipRecords > kMaxClipRecords)
        return QStringLiteral("Metafile with more than %1 clipping records").arg(kMaxClipRecords);
    return {};
}

QString saveState(Walk &w, Record &r)
{
    if (++w.saved > kMaxSavedStates)
        return QStringLiteral("Metafile saves its state more than %1 deep").arg(kMaxSavedStates) + at(r);
    return {};
}

// libwmf goes back exactly one saved state, whatever the record asks.
QString restoreState(Walk &w, Record &r)
{
    if (w.saved == 0)
        makeHarmless(w, r); // nothing saved: a no-op for Windows, a crash for some players
    else
        --w.saved;
    return {};
}

// An old-style pattern brush: libwmf would not give it an object slot and every later
// object reference would be off by one. A grey brush stands in.
QString oldPatternBrush(Walk &w, Record &r)
{
    writeWord(w.bytes, r.offset + 4, kCreateBrushIndirect);
    writeWord(w.bytes, r.offset + 6, 0);
    writeWord(w.bytes, r.offset + 8, kGreyLow);
    writeWord(w.bytes, r.offset + 10, kGreyHigh);
    writeWord(w.bytes, r.offset + 12, 0);
    r.function = kCreateBrushIndirect;
    return {};
}

QString objectReference(Walk &w, Record &r) // SelectObject and DeleteObject
{
    const quint16 slot = w.scan.word(r, 0);
    if (slot >= w.slots.size() || w.slots[slot] < 0) {
        makeHarmless(w, r); // no such object: Windows ignores the call
        return {};
    }
    r.object = w.slots[slot];
    if (r.function == kDeleteObject)
        w.slots[slot] = -1;
    return {};
}

QString mapMode(Walk &w, Record &r)
{
    if (!w.drawn)
        w.mapMode = w.scan.word(r, 0);
    return {};
}

QString windowOrigin(Walk &w, Record &r) // SetWindowOrg and OffsetWindowOrg
{
    if (w.scan.firstWindowOrgRecord < 0 && r.function == kSetWindowOrg)
        w.scan.firstWindowOrgRecord = w.index;
    const QPoint p(w.scan.signedWord(r, 1), w.scan.signedWord(r, 0));
    if (!w.drawn)
        w.org = r.function == kSetWindowOrg ? p : w.org + p;
    return {};
}

QString windowExtent(Walk &w, Record &r)
{
    if (w.scan.firstWindowExtRecord < 0)
        w.scan.firstWindowExtRecord = w.index;
    if (!w.drawn) {
        w.ext = QSize(w.scan.signedWord(r, 1), w.scan.signedWord(r, 0));
        w.extSet = true;
    }
    return {};
}

QString scaleWindowExtent(Walk &w, Record &r)
{
    if (w.drawn || !w.extSet)
        return {};
    const int xDiv = w.scan.signedWord(r, 2);
    const int yDiv = w.scan.signedWord(r, 0);
    if (xDiv != 0 && yDiv != 0)
        w.ext = QSize(int(qint64(w.ext.width()) * w.scan.signedWord(r, 3) / xDiv),
                      int(qint64(w.ext.height()) * w.scan.signedWord(r, 1) / yDiv));
    return {};
}

using Check = QString (*)(Walk &, Record &);

// Every record function the format defines, with the parameter words libwmf reads at
// least (records it only skips need none), whether it puts something on the page,
// whether it takes an object slot, and its own check. Anything else is not a metafile
// record.
struct Rule {
    quint16 function;
    quint16 minParams;
    bool draws;
    bool createsObject;
    Check check;
};

constexpr Rule kRules[] = {
    {0x0000, 0, false, false, endOfFile}, // end of file (with more than three words: nonsense)
    {0x001E, 0, false, false, saveState}, // SaveDC
    {0x0035, 0, false, false, nullptr}, // RealizePalette
    {0x0037, 0, false, false, nullptr}, // SetPalEntries
    {0x00F7, 0, false, true, nullptr}, // CreatePalette
    {0x0102, 1, false, false, nullptr}, // SetBkMode
    {0x0103, 1, false, false, mapMode}, // SetMapMode
    {0x0104, 1, false, false, nullptr}, // SetROP2
    {0x0105, 0, false, false, nullptr}, // SetRelAbs
    {0x0106, 1, false, false, nullptr}, // SetPolyFillMode
    {0x0107, 0, false, false, nullptr}, // SetStretchBltMode
    {0x0108, 1, false, false, nullptr}, // SetTextCharExtra
    {0x0127, 0, false, false, restoreState}, // RestoreDC
    {0x012A, 1, true, false, nullptr}, // InvertRegion
    {0x012B, 1, true, false, nullptr}, // PaintRegion
    {0x012C, 1, false, false, clipping}, // SelectClipRegion
    {0x012D, 1, false, false, objectReference}, // SelectObject
    {0x012E, 1, false, false, nullptr}, // SetTextAlign
    {0x0139, 0, false, false, nullptr}, // ResizePalette
    {0x0142, 2, false, true, nullptr}, // DIBCreatePatternBrush
    {0x014C, 0, false, false, nullptr}, // SetLayout
    {0x01F0, 1, false, false, objectReference}, // DeleteObject
    {0x01F9, 4, false, false, oldPatternBrush}, // CreatePatternBrush
    {0x0201, 2, false, false, nullptr}, // SetBkColor
    {0x0209, 2, false, false, nullptr}, // SetTextColor
    {0x020A, 1, false, false, nullptr}, // SetTextJustification
    {0x020B, 2, false, false, windowOrigin}, // SetWindowOrg
    {0x020C, 2, false, false, windowExtent}, // SetWindowExt
    {0x020D, 2, false, false, nullptr}, // SetViewportOrg
    {0x020E, 2, false, false, nullptr}, // SetViewportExt
    {0x020F, 2, false, false, windowOrigin}, // OffsetWindowOrg
    {0x0211, 2, false, false, nullptr}, // OffsetViewportOrg
    {0x0213, 2, true, false, nullptr}, // LineTo
    {0x0214, 2, false, false, nullptr}, // MoveTo
    {0x0220, 2, false, false, clipping}, // OffsetClipRgn
    {0x0228, 2, true, false, nullptr}, // FillRegion
    {0x0231, 0, false, false, nullptr}, // SetMapperFlags
    {0x0234, 0, false, false, nullptr}, // SelectPalette
    {0x02FA, 5, false, true, nullptr}, // CreatePenIndirect
    {0x02FB, 9, false, true, nullptr}, // CreateFontIndirect
    {0x02FC, 4, false, true, nullptr}, // CreateBrushIndirect
    {0x0324, 1, true, false, polyline}, // Polygon
    {0x0325, 1, true, false, polyline}, // Polyline
    {0x0410, 4, false, false, scaleWindowExtent}, // ScaleWindowExt
    {0x0412, 4, false, false, nullptr}, // ScaleViewportExt
    {0x0415, 4, false, false, clipping}, // ExcludeClipRect
    {0x0416, 4, false, false, clipping}, // IntersectClipRect
    {0x0418, 4, true, false, nullptr}, // Ellipse
    {0x0419, 0, true, false, neutralise}, // FloodFill
    {0x041B, 4, true, false, nullptr}, // Rectangle
    {0x041F, 4, true, false, nullptr}, // SetPixel
    {0x0429, 4, true, false, nullptr}, // FrameRegion
    {0x0436, 0, false, false, nullptr}, // AnimatePalette
    {0x0521, 1, true, false, textOut}, // TextOut
    {0x0538, 1, true, false, polyPolygon}, // PolyPolygon
    {0x0548, 0, true, false, neutralise}, // ExtFloodFill
    {0x061C, 6, true, false, nullptr}, // RoundRect
    {0x061D, 6, true, false, nullptr}, // PatBlt
    {0x0626, 0, false, false, nullptr}, // Escape
    {0x06FF, 11, false, true, createRegion}, // CreateRegion
    {0x0817, 8, true, false, nullptr}, // Arc
    {0x081A, 8, true, false, nullptr}, // Pie
    {0x0830, 8, true, false, nullptr}, // Chord
    {0x0922, 0, true, false, nullptr}, // BitBlt (device-dependent bitmap: skipped by libwmf)
    {0x0940, 8, true, false, dibBitBlt}, // DIBBitBlt
    {0x0A32, 4, true, false, extTextOut}, // ExtTextOut
    {0x0B23, 0, true, false, nullptr}, // StretchBlt (device-dependent bitmap: skipped by libwmf)
    {0x0B41, 10, true, false, dibStretchBlt}, // DIBStretchBlt
    {0x0D33, 9, true, false, nullptr}, // SetDIBToDev
    {0x0F43, 11, true, false, nullptr}, // StretchDIB
};

const Rule *ruleFor(quint16 function)
{
    const auto *found = std::find_if(std::begin(kRules), std::end(kRules),
                                     [function](const Rule &r) { return r.function == function; });
    return found == std::end(kRules) ? nullptr : found;
}

// Object slots exactly as libwmf hands them out: the lowest free one.
QString takeSlot(Walk &w)
{
    const auto free = std::find(w.slots.begin(), w.slots.end(), -1);
    const auto slot = free - w.slots.begin();
    if (free == w.slots.end())
        w.slots.push_back(w.index);
    else
        *free = w.index;
    w.requiredObjects = std::max(w.requiredObjects, int(slot) + 1);
    if (w.requiredObjects > kMaxObjects)
        return QStringLiteral("Metafile with more than %1 objects at once").arg(kMaxObjects);
    return {};
}

QString checkTotals(const Walk &w)
{
    if (w.textCharacters > kMaxTextCharacters)
        return QStringLiteral("Metafile with more than %1 characters of text").arg(kMaxTextCharacters);
    if (w.points > kMaxPoints)
        return QStringLiteral("Metafile with more than %1 points").arg(kMaxPoints);
    return {};
}

void notePageWindow(Walk &w)
{
    w.scan.windowExtBeforeDrawing = w.extSet;
    w.scan.pageOrigin = w.org;
    w.scan.pageExtent = w.ext;
    w.scan.pageMapMode = w.mapMode;
}

// Reads the head of the record at `offset`: its size against the bytes left, a known
// function, the minimum size for it.
QString readHead(const QByteArray &bytes, qsizetype offset, Record &r, const Rule *&rule)
{
    if (bytes.size() - offset < 6)
        return QStringLiteral("Metafile cut short in a record head at byte %1").arg(offset);
    r.offset = offset;
    r.words = readDword(bytes, offset);
    r.function = readWord(bytes, offset + 4);
    if (r.words < 3)
        return QStringLiteral("Metafile record with an impossible size of %1 words").arg(r.words) + at(r);
    if (qint64(r.words) * 2 > bytes.size() - offset)
        return QStringLiteral("Metafile record runs past the end of the file") + at(r);
    rule = ruleFor(r.function);
    if (!rule || (r.function == kEof && r.words != 3))
        return QStringLiteral("Metafile record of unknown type 0x%1").arg(r.function, 4, 16, QLatin1Char('0')) + at(r);
    if (r.params() < rule->minParams)
        return QStringLiteral("Metafile record too short for its type 0x%1").arg(r.function, 4, 16, QLatin1Char('0'))
               + at(r);
    return {};
}

// Walks the records from `offset` to the end record; returns where they end.
QString walkRecords(Walk &w, qsizetype &offset, quint32 &maxWords)
{
    while (!w.ended) {
        if (offset == w.bytes.size()) {
            // No end record: the records fill the file exactly, so add the one missing.
            const char eof[6] = {3, 0, 0, 0, 0, 0};
            w.bytes.append(eof, 6);
        }
        if (int(w.scan.records.size()) >= kMaxRecords)
            return QStringLiteral("Metafile with more than %1 records").arg(kMaxRecords);
        Record r;
        const Rule *rule = nullptr;
        QString problem = readHead(w.bytes, offset, r, rule);
        if (!problem.isEmpty())
            return problem;
        if (!rule) // readHead finds a rule for every record it accepts
            return QStringLiteral("Metafile record of unknown type");
        w.index = int(w.scan.records.size());
        if (rule->check)
            problem = rule->check(w, r);
        if (problem.isEmpty() && rule->createsObject)
            problem = takeSlot(w);
        if (problem.isEmpty())
            problem = checkTotals(w);
        if (!problem.isEmpty())
            return problem;
        if (rule->draws && !w.drawn) {
            w.drawn = true;
            notePageWindow(w);
        }
        maxWords = std::max(maxWords, r.words);
        w.scan.records.push_back(r);
        offset = r.end();
    }
    if (!w.drawn)
        notePageWindow(w);
    return {};
}

// The placeable header, when there is one: its frame and units. Sets `header` to
// where the standard header starts.
QString readPlaceable(Scan &scan, qsizetype &header)
{
    const QByteArray &bytes = scan.bytes;
    header = 0;
    if (bytes.size() < 4 || readDword(bytes, 0) != kPlaceableKey)
        return {};
    if (bytes.size() < kPlaceableBytes + kHeaderBytes)
        return QStringLiteral("Metafile cut short in its header");
    scan.placeable = true;
    scan.left = qint16(readWord(bytes, 6));
    scan.top = qint16(readWord(bytes, 8));
    scan.right = qint16(readWord(bytes, 10));
    scan.bottom = qint16(readWord(bytes, 12));
    scan.unitsPerInch = readWord(bytes, 14);
    // The header checksum is not checked: writers get it wrong without harm.
    if (scan.unitsPerInch == 0)
        return QStringLiteral("Metafile header gives no units per inch");
    if (scan.right == scan.left || scan.bottom == scan.top)
        return QStringLiteral("Metafile header gives the picture no size");
    const double width = std::abs(scan.right - scan.left) * 1440.0 / scan.unitsPerInch;
    const double height = std::abs(scan.bottom - scan.top) * 1440.0 / scan.unitsPerInch;
    if (width > kMaxSideTwips || height > kMaxSideTwips)
        return QStringLiteral("Metafile picture larger than any page");
    header = kPlaceableBytes;
    return {};
}

QString readStandardHeader(const QByteArray &bytes, qsizetype header)
{
    if (bytes.size() < header + kHeaderBytes)
        return QStringLiteral("Not a metafile: too short for a header");
    const quint16 fileType = readWord(bytes, header);
    const quint16 headerWords = readWord(bytes, header + 2);
    const quint16 version = readWord(bytes, header + 4);
    const quint32 fileWords = readDword(bytes, header + 6);
    if ((fileType != 1 && fileType != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return QStringLiteral("Not a metafile: unknown header");
    // Some writers count the placeable header in the file size, some do not.
    if (qint64(fileWords) * 2 > bytes.size())
        return QStringLiteral("Metafile cut short: the header promises %1 bytes, the file has %2")
            .arg(qint64(fileWords) * 2)
            .arg(bytes.size());
    return {};
}

} // namespace

int Scan::recordEndingAt(qsizetype end) const
{
    const auto found =
        std::lower_bound(records.begin(), records.end(), end, [](const Record &r, qsizetype e) { return r.end() < e; });
    return found != records.end() && found->end() == end ? int(found - records.begin()) : -1;
}

quint16 Scan::word(const Record &record, qsizetype index) const
{
    const qsizetype at = record.offset + 6 + index * 2;
    if (index < 0 || index >= record.params() || at + 2 > bytes.size())
        return 0;
    return readWord(bytes, at);
}

Scan scanMetafile(const QByteArray &input)
{
    Scan scan;
    const auto fail = [&scan](QString why) {
        scan.error = std::move(why);
        scan.bytes.clear();
        scan.records.clear();
        return scan;
    };
    if (input.size() > kMaxFileBytes)
        return fail(QStringLiteral("Metafile larger than %1 bytes").arg(kMaxFileBytes));
    scan.bytes = input;
    qsizetype header = 0;
    QString problem = readPlaceable(scan, header);
    if (problem.isEmpty())
        problem = readStandardHeader(scan.bytes, header);
    if (!problem.isEmpty())
        return fail(problem);

    Walk walk(scan);
    qsizetype offset = header + kHeaderBytes;
    quint32 maxWords = 3;
    problem = walkRecords(walk, offset, maxWords);
    if (!problem.isEmpty())
        return fail(problem);

    // The header as the records need it; libwmf sizes its buffers from these fields.
    writeDword(scan.bytes, header + 6, quint32((offset - header) / 2));
    writeWord(scan.bytes, header + 10, quint16(std::max(walk.requiredObjects, 1)));
    writeDword(scan.bytes, header + 12, maxWords);
    scan.bytes.truncate(offset);
    return scan;
}

} // namespace velmora::metafile
