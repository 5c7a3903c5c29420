// The bitmaps of the device layer: device-independent bitmaps decoded by our own
// reader, drawn as images or used as brush patterns.
#include "wmfdevice.h"

#include <QtEndian>

namespace velmora::metafile {

namespace {

constexpr qint64 kMaxBitmapPixels = qint64(4096) * 4096;
// Decoded, for one file: within what a page may cost in memory.
constexpr qint64 kMaxBitmapBytes = qint64(48) * 1024 * 1024;
// A bitmap this small, or with this few colours, is a drawing's pixels (a pattern, an
// icon, a chart), not a photograph: it is shown and printed exactly, never smoothed or
// stored lossy.
constexpr int kSmallBitmapPixels = 64 * 64;
constexpr int kFewColours = 256;

bool fewColours(const QImage &image)
{
    if (image.format() == QImage::Format_Indexed8 || image.depth() < 8)
        return true;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unordered_set<QRgb> seen;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            seen.insert(row[x]);
            if (int(seen.size()) > kFewColours)
                return false;
        }
    }
    return true;
}

bool keepsItsPixels(const QImage &image)
{
    return qint64(image.width()) * image.height() <= kSmallBitmapPixels || fewColours(image);
}

quint32 dword(const uchar *p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 word(const uchar *p)
{
    return qFromLittleEndian<quint16>(p);
}

// What a DIB's header says; `offset` is where the pixel rows start once the masks and
// colour table are read.
struct DibLayout {
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    bool bottomUp = true;
    qint64 offset = 0;
    quint32 masks[3] = {0x7C00, 0x03E0, 0x001F};
    QList<QRgb> table; // palette bitmaps only
};

// The info header (or the old core header) and the bit masks; false for what is not
// an uncompressed 1, 4, 8, 16, 24 or 32 bit DIB of a sane size.
bool readDibHeader(const uchar *data, qint64 length, DibLayout &dib, quint32 &colorsUsed, int &quadSize)
{
    if (!data || length < 12)
        return false;
    const quint32 headerSize = dword(data);
    quint32 compression = 0;
    if (headerSize == 12) {
        dib.width = word(data + 4);
        dib.height = qint16(word(data + 6));
        dib.bits = word(data + 10);
        quadSize = 3;
    } else if (headerSize >= 40 && qint64(headerSize) <= length) {
        dib.width = qint32(dword(data + 4));
        dib.height = qint32(dword(data + 8));
        dib.bits = word(data + 14);
        compression = dword(data + 16);
        colorsUsed = dword(data + 32);
    } else {
        return false;
    }
    dib.bottomUp = dib.height > 0;
    dib.height = std::abs(dib.height);
    if (dib.width <= 0 || dib.height <= 0 || dib.width > 65535 || dib.height > 65535
        || dib.width * dib.height > kMaxBitmapPixels)
        return false;
    dib.offset = headerSize;
    if (compression == 3 && (dib.bits == 16 || dib.bits == 32)) { // BI_BITFIELDS
        const qint64 at = headerSize == 40 ? headerSize : 40;
        if (at + 12 > length)
            return false;
        for (qint64 i = 0; i < 3; ++i)
            dib.masks[i] = dword(data + at + 4 * i);
        if (headerSize == 40)
            dib.offset += 12;
    } else if (compression != 0) {
        return false;
    } else if (dib.bits == 32) {
        dib.masks[0] = 0xFF0000;
        dib.masks[1] = 0x00FF00;
        dib.masks[2] = 0x0000FF;
    }
    return true;
}

// The colour table of a palette bitmap (skipped for the others); false when cut short.
bool readColorTable(const uchar *data, qint64 length, DibLayout &dib, quint32 colorsUsed, int quadSize)
{
    const int bits = dib.bits;
    if (bits == 16 || bits == 24 || bits == 32) {
        dib.offset += qint64(colorsUsed) * quadSize; // an optional table for palette devices
        return true;
    }
    if (bits != 1 && bits != 4 && bits != 8)
        return false;
    const qint64 colors = colorsUsed ? std::min<qint64>(colorsUsed, 1 << bits) : (1 << bits);
    if (dib.offset + colors * quadSize > length)
        return false;
    for (qint64 i = 0; i < colors; ++i) {
        const uchar *q = data + dib.offset + i * quadSize;
        dib.table.append(qRgb(q[2], q[1], q[0]));
    }
    dib.offset += (colorsUsed ? qint64(colorsUsed) : colors) * quadSize;
    while (dib.table.size() < 256) // every byte value a pixel can hold has a colour
        dib.table.append(qRgb(0, 0, 0));
    return true;
}

int channel(quint32 value, quint32 mask)
{
    if (mask == 0)
        return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        value >>= 1;
    }
    value &= mask;
    return int(value * 255 / mask);
}

void readRow(const DibLayout &dib, const uchar *row, uchar *out)
{
    for (qint64 x = 0; x < dib.width; ++x) {
        switch (dib.bits) {
        case 1:
            out[x] = (row[x / 8] >> (7 - x % 8)) & 1;
            break;
        case 4:
            out[x] = (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
            break;
        case 8:
            out[x] = row[x];
            break;
        case 24:
            reinterpret_cast<QRgb *>(out)[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            break;
        default: { // 16 and 32
            const quint32 v = dib.bits == 16 ? word(row + 2 * x) : dword(row + 4 * x);
            reinterpret_cast<QRgb *>(out)[x] =
                qRgb(channel(v, dib.masks[0]), channel(v, dib.masks[1]), channel(v, dib.masks[2]));
            break;
        }
        }
    }
}

// A packed DIB: info header (or the old core header), colour table, pixel rows padded
// to four bytes. Uncompressed 1, 4, 8, 16, 24 and 32 bits per pixel (16 and 32 also
// with bit masks). Anything else, or anything cut short, gives a null image.
QImage decodeDib(const uchar *data, qint64 length, bool &bottomUp)
{
    DibLayout dib;
    quint32 colorsUsed = 0;
    int quadSize = 4;
    if (!readDibHeader(data, length, dib, colorsUsed, quadSize)
        || !readColorTable(data, length, dib, colorsUsed, quadSize))
        return {};
    bottomUp = dib.bottomUp;
    const qint64 stride = ((dib.width * dib.bits + 31) / 32) * 4;
    if (dib.offset < 0 || dib.offset > length || stride * dib.height > length - dib.offset)
        return {};
    QImage image(int(dib.width), int(dib.height), dib.table.isEmpty() ? QImage::Format_RGB32 : QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    if (!dib.table.isEmpty())
        image.setColorTable(dib.table);
    for (qint64 y = 0; y < dib.height; ++y)
        readRow(dib, data + dib.offset + (dib.bottomUp ? dib.height - 1 - y : y) * stride, image.scanLine(int(y)));
    return image;
}

void bmpRead(wmfAPI *api, wmfBMP_Read_t *r)
{
    Player &player = playerOf(api);
    r->bmp.data = nullptr;
    bool bottomUp = true;
    QImage image = decodeDib(r->buffer, r->length, bottomUp);
    if (image.isNull() || player.bitmapBytes + image.sizeInBytes() > kMaxBitmapBytes || !spend(api, image))
        return;
    player.bitmapBytes += image.sizeInBytes();
    const bool crisp = keepsItsPixels(image);
    Bitmap bitmap{std::make_unique<QImage>(std::move(image)), bottomUp, crisp};
    r->bmp.width = quint16(bitmap.image->width());
    r->bmp.height = quint16(bitmap.image->height());
    r->bmp.data = bitmap.image.get();
    player.bitmaps.emplace(r->bmp.data, std::move(bitmap));
}

void bmpFree(wmfAPI *api, wmfBMP *bmp)
{
    if (bmp && bmp->data) {
        playerOf(api).bitmaps.erase(bmp->data);
        bmp->data = nullptr;
    }
}

void bmpDraw(wmfAPI *api, wmfBMP_Draw_t *d)
{
    Player &player = playerOf(api);
    const auto found = player.bitmaps.find(d->bmp.data);
    const Mapping m = mappingFor(api, d->dc);
    if (found == player.bitmaps.end() || !m.valid)
        return;
    const QImage &image = *found->second.image;
    const double w = d->crop.w;
    const double h = d->crop.h;
    // The crop counts rows from the bottom in a bottom-up bitmap.
    const double y = found->second.bottomUp ? image.height() - d->crop.y - h : d->crop.y;
    wmfD_Coord far = d->pt;
    far.x = float(far.x + w * d->pixel_width);
    far.y = float(far.y + h * d->pixel_height);
    ImageItem item;
    item.target = m.rect(d->pt, far);
    item.image = image;
    item.source = QRectF(d->crop.x, y, w, h);
    item.crisp = found->second.crisp;
    if (spend(api, item))
        player.list.items.emplace_back(std::move(item));
}

} // namespace

const Bitmap *bitmapOf(wmfAPI *api, const void *data)
{
    const Player &player = playerOf(api);
    const auto found = player.bitmaps.find(data);
    return found == player.bitmaps.end() ? nullptr : &found->second;
}

void setUpBitmaps(wmfFunctionReference *f)
{
    f->bmp_draw = bmpDraw;
    f->bmp_read = bmpRead;
    f->bmp_free = bmpFree;
}

} // namespace velmora::metafile
