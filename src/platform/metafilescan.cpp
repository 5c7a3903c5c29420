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

// Every record function the format defines, with the parameter words libwmf reads at
// least (records it only skips need none). Anything else is not a metafile record.
struct Rule {
    quint16 function;
    quint16 minParams;
    bool draws; // puts something on the page
};

constexpr Rule kRules[] = {
    {0x0000, 0, false}, // end of file (with more than three words: nonsense)
    {0x001E, 0, false}, // SaveDC
    {0x0035, 0, false}, // RealizePalette
    {0x0037, 0, false}, // SetPalEntries
    {0x00F7, 0, false}, // CreatePalette
    {0x0102, 1, false}, // SetBkMode
    {0x0103, 1, false}, // SetMapMode
    {0x0104, 1, false}, // SetROP2
    {0x0105, 0, false}, // SetRelAbs
    {0x0106, 1, false}, // SetPolyFillMode
    {0x0107, 0, false}, // SetStretchBltMode
    {0x0108, 1, false}, // SetTextCharExtra
    {0x0127, 0, false}, // RestoreDC
    {0x012A, 1, true}, // InvertRegion
    {0x012B, 1, true}, // PaintRegion
    {0x012C, 1, false}, // SelectClipRegion
    {0x012D, 1, false}, // SelectObject
    {0x012E, 1, false}, // SetTextAlign
    {0x0139, 0, false}, // ResizePalette
    {0x0142, 2, false}, // DIBCreatePatternBrush
    {0x014C, 0, false}, // SetLayout
    {0x01F0, 1, false}, // DeleteObject
    {0x01F9, 4, false}, // CreatePatternBrush
    {0x0201, 2, false}, // SetBkColor
    {0x0209, 2, false}, // SetTextColor
    {0x020A, 1, false}, // SetTextJustification
    {0x020B, 2, false}, // SetWindowOrg
    {0x020C, 2, false}, // SetWindowExt
    {0x020D, 2, false}, // SetViewportOrg
    {0x020E, 2, false}, // SetViewportExt
    {0x020F, 2, false}, // OffsetWindowOrg
    {0x0211, 2, false}, // OffsetViewportOrg
    {0x0213, 2, true}, // LineTo
    {0x0214, 2, false}, // MoveTo
    {0x0220, 2, false}, // OffsetClipRgn
    {0x0228, 2, true}, // FillRegion
    {0x0231, 0, false}, // SetMapperFlags
    {0x0234, 0, false}, // SelectPalette
    {0x02FA, 5, false}, // CreatePenIndirect
    {0x02FB, 9, false}, // CreateFontIndirect
    {0x02FC, 4, false}, // CreateBrushIndirect
    {0x0324, 1, true}, // Polygon
    {0x0325, 1, true}, // Polyline
    {0x0410, 4, false}, // ScaleWindowExt
    {0x0412, 4, false}, // ScaleViewportExt
    {0x0415, 4, false}, // ExcludeClipRect
    {0x0416, 4, false}, // IntersectClipRect
    {0x0418, 4, true}, // Ellipse
    {0x0419, 0, true}, // FloodFill
    {0x041B, 4, true}, // Rectangle
    {0x041F, 4, true}, // SetPixel
    {0x0429, 4, true}, // FrameRegion
    {0x0436, 0, false}, // AnimatePalette
    {0x0521, 1, true}, // TextOut
    {0x0538, 1, true}, // PolyPolygon
    {0x0548, 0, true}, // ExtFloodFill
    {0x061C, 6, true}, // RoundRect
    {0x061D, 6, true}, // PatBlt
    {0x0626, 0, false}, // Escape
    {0x06FF, 11, false}, // CreateRegion
    {0x0817, 8, true}, // Arc
    {0x081A, 8, true}, // Pie
    {0x0830, 8, true}, // Chord
    {0x0922, 0, true}, // BitBlt (device-dependent bitmap: skipped by libwmf)
    {0x0940, 8, true}, // DIBBitBlt
    {0x0A32, 4, true}, // ExtTextOut
    {0x0B23, 0, true}, // StretchBlt (device-dependent bitmap: skipped by libwmf)
    {0x0B41, 10, true}, // DIBStretchBlt
    {0x0D33, 9, true}, // SetDIBToDev
    {0x0F43, 11, true}, // StretchDIB
};

const Rule *ruleFor(quint16 function)
{
    const auto *found = std::find_if(std::begin(kRules), std::end(kRules),
                                     [function](const Rule &r) { return r.function == function; });
    return found == std::end(kRules) ? nullptr : found;
}

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
    QByteArray &bytes = scan.bytes;

    qsizetype header = 0;
    if (bytes.size() >= 4 && readDword(bytes, 0) == kPlaceableKey) {
        if (bytes.size() < kPlaceableBytes + kHeaderBytes)
            return fail(QStringLiteral("Metafile cut short in its header"));
        scan.placeable = true;
        scan.left = qint16(readWord(bytes, 6));
        scan.top = qint16(readWord(bytes, 8));
        scan.right = qint16(readWord(bytes, 10));
        scan.bottom = qint16(readWord(bytes, 12));
        scan.unitsPerInch = readWord(bytes, 14);
        // The header checksum is not checked: writers get it wrong without harm.
        if (scan.unitsPerInch == 0)
            return fail(QStringLiteral("Metafile header gives no units per inch"));
        if (scan.right == scan.left || scan.bottom == scan.top)
            return fail(QStringLiteral("Metafile header gives the picture no size"));
        const double width = std::abs(scan.right - scan.left) * 1440.0 / scan.unitsPerInch;
        const double height = std::abs(scan.bottom - scan.top) * 1440.0 / scan.unitsPerInch;
        if (width > kMaxSideTwips || height > kMaxSideTwips)
            return fail(QStringLiteral("Metafile picture larger than any page"));
        header = kPlaceableBytes;
    }
    if (bytes.size() < header + kHeaderBytes)
        return fail(QStringLiteral("Not a metafile: too short for a header"));
    const quint16 fileType = readWord(bytes, header);
    const quint16 headerWords = readWord(bytes, header + 2);
    const quint16 version = readWord(bytes, header + 4);
    const quint32 fileWords = readDword(bytes, header + 6);
    if ((fileType != 1 && fileType != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return fail(QStringLiteral("Not a metafile: unknown header"));
    // Some writers count the placeable header in the file size, some do not.
    if (qint64(fileWords) * 2 > bytes.size())
        return fail(QStringLiteral("Metafile cut short: the header promises %1 bytes, the file has %2")
                        .arg(qint64(fileWords) * 2)
                        .arg(bytes.size()));

    // Record heads, one after another, up to the end record.
    qsizetype offset = header + kHeaderBytes;
    quint32 maxWords = 3;
    std::vector<bool> slots;
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
    while (!ended) {
        if (offset == bytes.size()) {
            // No end record: the records fill the file exactly, so add the one missing.
            const char eof[6] = {3, 0, 0, 0, 0, 0};
            bytes.append(eof, 6);
        }
        if (bytes.size() - offset < 6)
            return fail(QStringLiteral("Metafile cut short in a record head at byte %1").arg(offset));
        if (int(scan.records.size()) >= kMaxRecords)
            return fail(QStringLiteral("Metafile with more than %1 records").arg(kMaxRecords));
        Record r;
        r.offset = offset;
        r.words = readDword(bytes, offset);
        r.function = readWord(bytes, offset + 4);
        if (r.words < 3)
            return fail(QStringLiteral("Metafile record with an impossible size of %1 words").arg(r.words) + at(r));
        if (qint64(r.words) * 2 > bytes.size() - offset)
            return fail(QStringLiteral("Metafile record runs past the end of the file") + at(r));
        const Rule *rule = ruleFor(r.function);
        if (!rule || (r.function == kEof && r.words != 3))
            return fail(QStringLiteral("Metafile record of unknown type 0x%1").arg(r.function, 4, 16, QLatin1Char('0'))
                        + at(r));
        if (r.params() < rule->minParams)
            return fail(
                QStringLiteral("Metafile record too short for its type 0x%1").arg(r.function, 4, 16, QLatin1Char('0'))
                + at(r));
        const int index = int(scan.records.size());
        const auto neutralise = [&bytes, &r] {
            writeWord(bytes, r.offset + 4, kSetRelAbs);
            r.function = kSetRelAbs;
        };

        switch (r.function) {
        case kEof:
            ended = true;
            break;
        case 0x0325: // Polyline
        case 0x0324: // Polygon
        {
            const qint64 n = scan.word(r, 0);
            if (1 + 2 * n > r.params())
                return fail(QStringLiteral("Metafile polygon longer than its record") + at(r));
            points += n;
            break;
        }
        case 0x0538: { // PolyPolygon
            const qint64 polygons = scan.word(r, 0);
            if (1 + polygons > r.params())
                return fail(QStringLiteral("Metafile polygon list longer than its record") + at(r));
            qint64 n = 0;
            for (qint64 i = 0; i < polygons; ++i)
                n += scan.word(r, 1 + i);
            if (1 + polygons + 2 * n > r.params())
                return fail(QStringLiteral("Metafile polygon list longer than its record") + at(r));
            points += n;
            break;
        }
        case kTextOut: {
            const int length = scan.word(r, 0);
            if (1 + (length + 1) / 2 + 2 > r.params())
                return fail(QStringLiteral("Metafile text longer than its record") + at(r));
            textCharacters += length;
            break;
        }
        case kExtTextOut: {
            const int length = scan.word(r, 2);
            quint16 options = scan.word(r, 3);
            // libwmf reads a rectangle whenever any option bit is set; only two of them
            // bring one.
            if (options && !(options & kRectangleOptions)) {
                writeWord(bytes, r.offset + 12, 0); // the options word
                options = 0;
            }
            const qsizetype head = options ? 8 : 4;
            if (head + (length + 1) / 2 > r.params())
                return fail(QStringLiteral("Metafile text longer than its record") + at(r));
            textCharacters += length;
            break;
        }
        case 0x0419: // FloodFill and ExtFloodFill need the pixels of a screen: skipped.
        case 0x0548:
            neutralise();
            break;
        case 0x0940: // DIBBitBlt: a bitmap, or nine words of a plain raster operation
            if (r.params() != 9 && r.params() < 8 + 20)
                neutralise();
            break;
        case 0x0B41: // DIBStretchBlt without a bitmap: nothing libwmf can play
            if (r.params() < 10 + 20)
                neutralise();
            break;
        case kCreateRegion: {
            if (++regionRecords > kMaxRegionRecords)
                return fail(QStringLiteral("Metafile with more than %1 regions").arg(kMaxRegionRecords));
            int rectangles = 0;
            const QString bad = checkRegion(scan, r, rectangles);
            if (!bad.isEmpty())
                return fail(bad);
            break;
        }
        case 0x012C: // SelectClipRegion, OffsetClipRgn, ExcludeClipRect, IntersectClipRect
        case 0x0220:
        case 0x0415:
        case 0x0416:
            if (++clipRecords > kMaxClipRecords)
                return fail(QStringLiteral("Metafile with more than %1 clipping records").arg(kMaxClipRecords));
            break;
        case kSaveDC:
            if (++saved > kMaxSavedStates)
                return fail(QStringLiteral("Metafile saves its state more than %1 deep").arg(kMaxSavedStates) + at(r));
            break;
        case kRestoreDC:
            if (saved == 0)
                neutralise(); // nothing saved: a no-op for Windows, a crash for some players
            else
                --saved;
            break;
        case kCreatePatternBrush:
            // An old-style pattern brush: libwmf would not give it an object slot and
            // every later object reference would be off by one. A grey brush stands in.
            writeWord(bytes, r.offset + 4, kCreateBrushIndirect);
            writeWord(bytes, r.offset + 6, 0);
            writeWord(bytes, r.offset + 8, kGreyLow);
            writeWord(bytes, r.offset + 10, kGreyHigh);
            writeWord(bytes, r.offset + 12, 0);
            r.function = kCreateBrushIndirect;
            break;
        case kSelectObject:
        case kDeleteObject: {
            const quint16 slot = scan.word(r, 0);
            if (slot >= slots.size() || !slots[slot]) {
                neutralise(); // no such object: Windows ignores the call
            } else if (r.function == kDeleteObject) {
                slots[slot] = false;
            }
            break;
        }
        case kSetMapMode:
            if (!drawn)
                mapMode = scan.word(r, 0);
            break;
        case kSetWindowOrg:
        case kOffsetWindowOrg: {
            if (scan.firstWindowOrgRecord < 0 && r.function == kSetWindowOrg)
                scan.firstWindowOrgRecord = index;
            const QPoint p(scan.signedWord(r, 1), scan.signedWord(r, 0));
            if (!drawn)
                org = r.function == kSetWindowOrg ? p : org + p;
            break;
        }
        case kSetWindowExt:
            if (scan.firstWindowExtRecord < 0)
                scan.firstWindowExtRecord = index;
            if (!drawn) {
                ext = QSize(scan.signedWord(r, 1), scan.signedWord(r, 0));
                extSet = true;
            }
            break;
        case kScaleWindowExt:
            if (!drawn && extSet) {
                const int xDiv = scan.signedWord(r, 2);
                const int yDiv = scan.signedWord(r, 0);
                if (xDiv != 0 && yDiv != 0)
                    ext = QSize(int(qint64(ext.width()) * scan.signedWord(r, 3) / xDiv),
                                int(qint64(ext.height()) * scan.signedWord(r, 1) / yDiv));
            }
            break;
        default:
            break;
        }

        // Object slots exactly as libwmf hands them out: the lowest free one.
        if (r.function == kCreatePenIndirect || r.function == kCreateBrushIndirect || r.function == kCreateFontIndirect
            || r.function == kCreatePalette || r.function == kCreateRegion || r.function == kDibCreatePatternBrush) {
            const auto free = std::find(slots.begin(), slots.end(), false);
            const auto slot = free - slots.begin();
            if (free == slots.end())
                slots.push_back(true);
            else
                *free = true;
            requiredObjects = std::max(requiredObjects, int(slot) + 1);
            if (requiredObjects > kMaxObjects)
                return fail(QStringLiteral("Metafile with more than %1 objects at once").arg(kMaxObjects));
        }
        if (textCharacters > kMaxTextCharacters)
            return fail(QStringLiteral("Metafile with more than %1 characters of text").arg(kMaxTextCharacters));
        if (points > kMaxPoints)
            return fail(QStringLiteral("Metafile with more than %1 points").arg(kMaxPoints));
        if (rule->draws && !drawn) {
            drawn = true;
            scan.windowExtBeforeDrawing = extSet;
            scan.pageOrigin = org;
            scan.pageExtent = ext;
            scan.pageMapMode = mapMode;
        }
        maxWords = std::max(maxWords, r.words);
        scan.records.push_back(r);
        offset = r.end();
    }
    if (!drawn) {
        scan.windowExtBeforeDrawing = extSet;
        scan.pageOrigin = org;
        scan.pageExtent = ext;
        scan.pageMapMode = mapMode;
    }

    // The header as the records need it; libwmf sizes its buffers from these fields.
    writeDword(bytes, header + 6, quint32((offset - header) / 2));
    writeWord(bytes, header + 10, quint16(std::max(requiredObjects, 1)));
    writeDword(bytes, header + 12, maxWords);
    bytes.truncate(offset);
    return scan;
}

} // namespace velmora::metafile
