#include "wmfwriter.h"

#include <QImage>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace velmora::wmf {

namespace {

enum Function : quint16 {
    kSetBkColor = 0x0201,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetPolyFillMode = 0x0106,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kOffsetWindowOrg = 0x020F,
    kScaleWindowExt = 0x0410,
    kSetTextAlign = 0x012E,
    kSetTextCharExtra = 0x0108,
    kSaveDC = 0x001E,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kExcludeClipRect = 0x0415,
    kIntersectClipRect = 0x0416,
    kMoveTo = 0x0214,
    kLineTo = 0x0213,
    kPolyline = 0x0325,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
    kRectangle = 0x041B,
    kRoundRect = 0x061C,
    kEllipse = 0x0418,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kTextOut = 0x0521,
    kExtTextOut = 0x0A32,
    kStretchDib = 0x0F43,
};

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr quint32 kSrcCopy = 0x00CC0020;
constexpr int kFaceBytes = 32; // the face name field, terminating zero included

// Windows-1252 for U+0080..U+009F's neighbours: the characters the code page keeps in
// 0x80..0x9F (zero where the code page leaves a byte undefined).
constexpr std::array<char16_t, 32> kHighHalf = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void putWord(QByteArray &out, quint16 value)
{
    const char bytes[2] = {char(value & 0xFF), char(value >> 8)};
    out.append(bytes, 2);
}

void putDword(QByteArray &out, quint32 value)
{
    putWord(out, quint16(value & 0xFFFF));
    putWord(out, quint16(value >> 16));
}

quint16 colorLow(QColor c)
{
    return quint16(c.red() | (c.green() << 8));
}

quint16 colorHigh(QColor c)
{
    return quint16(c.blue());
}

// A packed DIB (info header, colour table, rows bottom-up, each padded to 4 bytes).
// Indexed depths keep the image's colour table; `tooManyColors` tells when it had more
// entries than the depth holds (pixels of the extra colours take the last entry).
QByteArray dibOf(const QImage &source, DibDepth depth, bool &tooManyColors)
{
    const int bits = int(depth);
    QImage image;
    QList<QRgb> table;
    if (depth == DibDepth::Rgb24) {
        image = source.convertToFormat(QImage::Format_RGB32);
    } else {
        const int colors = 1 << bits;
        image = source.format() == QImage::Format_Indexed8 && source.colorCount() <= colors
                    ? source
                    : source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
        table = image.colorTable();
        tooManyColors = table.size() > colors;
        if (tooManyColors)
            table.resize(colors);
        while (table.size() < colors)
            table.append(qRgb(0, 0, 0));
    }
    const int width = image.width();
    const int height = image.height();
    const int stride = ((width * bits + 31) / 32) * 4;

    QByteArray out;
    putDword(out, 40);
    putDword(out, quint32(width));
    putDword(out, quint32(height));
    putWord(out, 1);
    putWord(out, quint16(bits));
    putDword(out, 0); // BI_RGB
    putDword(out, quint32(stride * height));
    putDword(out, 2835); // 72 dpi, as most writers put it
    putDword(out, 2835);
    putDword(out, quint32(table.size()));
    putDword(out, 0);
    for (QRgb c : std::as_const(table)) {
        const char quad[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), 0};
        out.append(quad, 4);
    }
    QByteArray row(stride, '\0');
    for (int y = height - 1; y >= 0; --y) {
        row.fill('\0');
        if (depth == DibDepth::Rgb24) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (qsizetype x = 0; x < width; ++x) {
                row[3 * x] = char(qBlue(line[x]));
                row[3 * x + 1] = char(qGreen(line[x]));
                row[3 * x + 2] = char(qRed(line[x]));
            }
        } else {
            const uchar *line = image.constScanLine(y);
            for (int x = 0; x < width; ++x) {
                const int index = std::min<int>(line[x], (1 << bits) - 1);
                const int bit = x * bits;
                row[bit / 8] = char(uchar(row[bit / 8]) | (index << (8 - bits - bit % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

} // namespace

MetafileWriter::MetafileWriter(QRect frame, int unitsPerInch)
    : m_frame(frame)
    , m_unitsPerInch(std::clamp(unitsPerInch, 1, 65535))
{
    if (unitsPerInch != m_unitsPerInch)
        m_problems << QStringLiteral("units per inch out of range: %1").arg(unitsPerInch);
}

quint16 MetafileWriter::coord(int value)
{
    if (value < -32768 || value > 32767) {
        m_problems << QStringLiteral("coordinate out of range: %1").arg(value);
        value = std::clamp(value, -32768, 32767);
    }
    return quint16(qint16(value));
}

void MetafileWriter::record(quint16 function, const QList<quint16> &params)
{
    QByteArray bytes;
    bytes.reserve(params.size() * 2);
    for (quint16 p : params)
        putWord(bytes, p);
    recordBytes(function, bytes);
}

void MetafileWriter::recordBytes(quint16 function, const QByteArray &params)
{
    QByteArray padded = params;
    if (padded.size() % 2)
        padded.append('\0');
    const quint32 words = 3 + quint32(padded.size() / 2);
    putDword(m_records, words);
    putWord(m_records, function);
    m_records.append(padded);
    m_maxRecordWords = std::max(m_maxRecordWords, words);
}

void MetafileWriter::appendRect(QList<quint16> &params, QRect rect)
{
    // Stored bottom, right, top, left.
    params << coord(rect.y() + rect.height()) << coord(rect.x() + rect.width()) << coord(rect.y()) << coord(rect.x());
}

quint16 MetafileWriter::count(qsizetype n)
{
    if (n > 0xFFFF) {
        m_problems << QStringLiteral("more than 65535 points or characters in one record: %1").arg(n);
        return 0xFFFF;
    }
    return quint16(n);
}

void MetafileWriter::appendPoints(QList<quint16> &params, const QPolygon &points)
{
    for (const QPoint &p : points)
        params << coord(p.x()) << coord(p.y());
}

QByteArray MetafileWriter::encodeText(const QString &text)
{
    if (text.size() > 0xFFFF) {
        m_problems << QStringLiteral("text of more than 65535 characters cut short");
        return encodeText(text.left(0xFFFF));
    }
    QByteArray out;
    out.reserve(text.size());
    bool replaced = false;
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        const auto *found = std::find(kHighHalf.begin(), kHighHalf.end(), u);
        if (u != 0 && found != kHighHalf.end()) {
            out.append(char(0x80 + (found - kHighHalf.begin())));
        } else {
            out.append('?');
            replaced = true;
        }
    }
    if (replaced)
        m_problems << QStringLiteral("text not in Windows-1252, written with '?': %1").arg(text);
    return out;
}

ObjectHandle MetafileWriter::allocate()
{
    const auto free = std::find(m_slots.begin(), m_slots.end(), false);
    int slot = int(free - m_slots.begin());
    if (free == m_slots.end())
        m_slots.append(true);
    else
        *free = true;
    m_peakObjects = std::max(m_peakObjects, slot + 1);
    return ObjectHandle{slot};
}

void MetafileWriter::setMapMode(MapMode mode)
{
    record(kSetMapMode, {quint16(mode)});
}

void MetafileWriter::setWindowOrg(QPoint origin)
{
    record(kSetWindowOrg, {coord(origin.y()), coord(origin.x())});
}

void MetafileWriter::setWindowExt(QSize extent)
{
    record(kSetWindowExt, {coord(extent.height()), coord(extent.width())});
}

void MetafileWriter::offsetWindowOrg(QPoint by)
{
    record(kOffsetWindowOrg, {coord(by.y()), coord(by.x())});
}

void MetafileWriter::scaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    record(kScaleWindowExt, {coord(yDenom), coord(yNum), coord(xDenom), coord(xNum)});
}

void MetafileWriter::mapFrameToWindow()
{
    setMapMode(MapMode::Anisotropic);
    setWindowOrg(m_frame.topLeft());
    setWindowExt(m_frame.size());
}

ObjectHandle MetafileWriter::createPen(QColor color, int width, PenStyle style)
{
    record(kCreatePenIndirect, {quint16(style), coord(width), 0, colorLow(color), colorHigh(color)});
    return allocate();
}

ObjectHandle MetafileWriter::createBrush(QColor color, BrushStyle style, Hatch hatch)
{
    record(kCreateBrushIndirect, {quint16(style), colorLow(color), colorHigh(color), quint16(hatch)});
    return allocate();
}

ObjectHandle MetafileWriter::createFont(const Font &font)
{
    QByteArray params;
    for (int v : {font.height, font.width, font.escapement, font.escapement})
        putWord(params, coord(v));
    putWord(params, quint16(std::clamp(font.weight, 0, 1000)));
    putWord(params, quint16((font.italic ? 1 : 0) | (font.underline ? 1 << 8 : 0)));
    putWord(params, quint16(font.strikeOut ? 1 : 0)); // charset 0: ANSI
    putWord(params, 0); // precisions
    putWord(params, 0); // quality, pitch and family
    QByteArray face = encodeText(font.face).left(kFaceBytes - 1);
    face.append('\0');
    params.append(face);
    recordBytes(kCreateFontIndirect, params);
    return allocate();
}

void MetafileWriter::selectObject(ObjectHandle handle)
{
    if (!handle.isValid() || handle.slot >= m_slots.size() || !m_slots[handle.slot]) {
        m_problems << QStringLiteral("select of an object that does not exist: %1").arg(handle.slot);
        return;
    }
    record(kSelectObject, {quint16(handle.slot)});
}

void MetafileWriter::deleteObject(ObjectHandle handle)
{
    if (!handle.isValid() || handle.slot >= m_slots.size() || !m_slots[handle.slot]) {
        m_problems << QStringLiteral("delete of an object that does not exist: %1").arg(handle.slot);
        return;
    }
    record(kDeleteObject, {quint16(handle.slot)});
    m_slots[handle.slot] = false;
}

ObjectHandle MetafileWriter::selectNewPen(QColor color, int width, PenStyle style)
{
    const ObjectHandle h = createPen(color, width, style);
    selectObject(h);
    return h;
}

ObjectHandle MetafileWriter::selectNewBrush(QColor color, BrushStyle style, Hatch hatch)
{
    const ObjectHandle h = createBrush(color, style, hatch);
    selectObject(h);
    return h;
}

ObjectHandle MetafileWriter::selectNewFont(const Font &font)
{
    const ObjectHandle h = createFont(font);
    selectObject(h);
    return h;
}

void MetafileWriter::setTextColor(QColor color)
{
    record(kSetTextColor, {colorLow(color), colorHigh(color)});
}

void MetafileWriter::setBackgroundColor(QColor color)
{
    record(kSetBkColor, {colorLow(color), colorHigh(color)});
}

void MetafileWriter::setBackgroundMode(BackgroundMode mode)
{
    record(kSetBkMode, {quint16(mode)});
}

void MetafileWriter::setTextAlign(quint16 align)
{
    record(kSetTextAlign, {align});
}

void MetafileWriter::setTextCharacterExtra(int extra)
{
    record(kSetTextCharExtra, {coord(extra)});
}

void MetafileWriter::setPolyFillMode(FillMode mode)
{
    record(kSetPolyFillMode, {quint16(mode)});
}

void MetafileWriter::saveDC()
{
    record(kSaveDC, {});
}

void MetafileWriter::restoreDC()
{
    record(kRestoreDC, {quint16(-1)});
}

void MetafileWriter::intersectClipRect(QRect rect)
{
    QList<quint16> params;
    appendRect(params, rect);
    record(kIntersectClipRect, params);
}

void MetafileWriter::excludeClipRect(QRect rect)
{
    QList<quint16> params;
    appendRect(params, rect);
    record(kExcludeClipRect, params);
}

void MetafileWriter::moveTo(QPoint point)
{
    record(kMoveTo, {coord(point.y()), coord(point.x())});
}

void MetafileWriter::lineTo(QPoint point)
{
    record(kLineTo, {coord(point.y()), coord(point.x())});
}

void MetafileWriter::polyline(const QPolygon &points)
{
    QList<quint16> params{count(points.size())};
    appendPoints(params, points.first(params.front()));
    record(kPolyline, params);
}

void MetafileWriter::polygon(const QPolygon &points)
{
    QList<quint16> params{count(points.size())};
    appendPoints(params, points.first(params.front()));
    record(kPolygon, params);
}

void MetafileWriter::polyPolygon(const QList<QPolygon> &polygons)
{
    const QList<QPolygon> kept = polygons.first(count(polygons.size()));
    QList<quint16> params{quint16(kept.size())};
    for (const QPolygon &p : kept)
        params << count(p.size());
    for (qsizetype i = 0; i < kept.size(); ++i)
        appendPoints(params, kept[i].first(params[1 + i]));
    record(kPolyPolygon, params);
}

void MetafileWriter::rectangle(QRect rect)
{
    QList<quint16> params;
    appendRect(params, rect);
    record(kRectangle, params);
}

void MetafileWriter::roundRect(QRect rect, QSize corner)
{
    QList<quint16> params{coord(corner.height()), coord(corner.width())};
    appendRect(params, rect);
    record(kRoundRect, params);
}

void MetafileWriter::ellipse(QRect rect)
{
    QList<quint16> params;
    appendRect(params, rect);
    record(kEllipse, params);
}

void MetafileWriter::arc(QRect box, QPoint start, QPoint end)
{
    QList<quint16> params{coord(end.y()), coord(end.x()), coord(start.y()), coord(start.x())};
    appendRect(params, box);
    record(kArc, params);
}

void MetafileWriter::pie(QRect box, QPoint start, QPoint end)
{
    QList<quint16> params{coord(end.y()), coord(end.x()), coord(start.y()), coord(start.x())};
    appendRect(params, box);
    record(kPie, params);
}

void MetafileWriter::chord(QRect box, QPoint start, QPoint end)
{
    QList<quint16> params{coord(end.y()), coord(end.x()), coord(start.y()), coord(start.x())};
    appendRect(params, box);
    record(kChord, params);
}

void MetafileWriter::textOut(QPoint at, const QString &text)
{
    QByteArray string = encodeText(text);
    QByteArray params;
    putWord(params, quint16(string.size()));
    if (string.size() % 2)
        string.append('\0');
    params.append(string);
    putWord(params, coord(at.y()));
    putWord(params, coord(at.x()));
    recordBytes(kTextOut, params);
}

void MetafileWriter::extTextOut(QPoint at, const QString &text, quint16 options, QRect rect, const QList<int> &dx)
{
    QByteArray string = encodeText(text);
    QByteArray params;
    putWord(params, coord(at.y()));
    putWord(params, coord(at.x()));
    putWord(params, quint16(string.size()));
    putWord(params, options);
    if (options & (TextOption::Opaque | TextOption::Clipped)) {
        // Stored left, top, right, bottom here.
        for (int v : {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()})
            putWord(params, coord(v));
    }
    const qsizetype length = string.size();
    if (string.size() % 2)
        string.append('\0');
    params.append(string);
    if (!dx.isEmpty()) {
        if (dx.size() != length)
            m_problems << QStringLiteral("advances for %1 characters given for %2").arg(dx.size()).arg(length);
        for (qsizetype i = 0; i < length; ++i)
            putWord(params, coord(i < dx.size() ? dx[i] : 0));
    }
    recordBytes(kExtTextOut, params);
}

void MetafileWriter::stretchDib(QRect dest, const QImage &image, DibDepth depth)
{
    if (image.isNull()) {
        m_problems << QStringLiteral("empty image left out");
        return;
    }
    QByteArray params;
    putDword(params, kSrcCopy);
    putWord(params, 0); // colour table of RGB values
    for (int v : {image.height(), image.width(), 0, 0, dest.height(), dest.width(), dest.y(), dest.x()})
        putWord(params, coord(v));
    bool tooManyColors = false;
    params.append(dibOf(image, depth, tooManyColors));
    if (tooManyColors)
        m_problems << QStringLiteral("image has more colours than %1 bits per pixel hold").arg(int(depth));
    recordBytes(kStretchDib, params);
}

QByteArray MetafileWriter::finish() const
{
    QByteArray out;
    // Placeable header: key, handle, frame, units per inch, reserved, checksum.
    QByteArray placeable;
    putDword(placeable, kPlaceableKey);
    putWord(placeable, 0);
    putWord(placeable, quint16(qint16(std::clamp(m_frame.left(), -32768, 32767))));
    putWord(placeable, quint16(qint16(std::clamp(m_frame.top(), -32768, 32767))));
    putWord(placeable, quint16(qint16(std::clamp(m_frame.left() + m_frame.width(), -32768, 32767))));
    putWord(placeable, quint16(qint16(std::clamp(m_frame.top() + m_frame.height(), -32768, 32767))));
    putWord(placeable, quint16(m_unitsPerInch));
    putDword(placeable, 0);
    quint16 checksum = 0;
    for (int i = 0; i < placeable.size(); i += 2)
        checksum ^= qFromLittleEndian<quint16>(placeable.constData() + i);
    putWord(placeable, checksum);
    out.append(placeable);

    QByteArray body = m_records;
    putDword(body, 3); // end of file
    putWord(body, 0);
    const quint32 headerWords = 9;
    putWord(out, 1); // on disk
    putWord(out, quint16(headerWords));
    putWord(out, 0x0300); // version
    putDword(out, headerWords + quint32(body.size() / 2));
    putWord(out, quint16(std::max(m_peakObjects, 1)));
    putDword(out, std::max<quint32>(m_maxRecordWords, 3));
    putWord(out, 0);
    out.append(body);
    return out;
}

} // namespace velmora::wmf
