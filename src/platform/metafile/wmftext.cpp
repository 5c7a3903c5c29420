// The text of the device layer: fonts (faces, sizes, character sets) and the strings
// drawn with them, placed as the page's device context says.
#include "wmfdevice.h"

#include "platform/windows1252.h"

#include <QFontDatabase>
#include <QHash>

#include <numbers>

namespace velmora::metafile {

namespace {

constexpr double kDefaultEmTwips = 240; // a font of height zero: 12 points
constexpr double kMaxEmTwips = 20000;
constexpr int kUnitFontPixels = 1000; // string widths are measured at this size

// The family Qt is asked for: an installed one, one of the Windows names fontconfig
// has metric twins for, or else the closest of those by the font's family bits. Qt
// is never handed a made-up name: each one costs a fontconfig search and memory that
// is not given back, and a hostile file can hold thousands. The installed families
// are read once, after the program registered its own faces at start-up.
QString faceOf(const wmfFont *font)
{
    static const QHash<QString, QString> known = [] {
        QHash<QString, QString> names;
        const QStringList twins = {QStringLiteral("Arial"),       QStringLiteral("Times New Roman"),
                                   QStringLiteral("Courier New"), QStringLiteral("Helvetica"),
                                   QStringLiteral("Times"),       QStringLiteral("Courier"),
                                   QStringLiteral("Symbol")};
        for (const QStringList &list : {QFontDatabase::families(), twins}) {
            for (const QString &name : list)
                names.insert(name.toCaseFolded(), name);
        }
        return names;
    }();
    if (font->lfFaceName) {
        const QString face = fromWindows1252(QByteArray(font->lfFaceName)).trimmed().toCaseFolded();
        if (const auto found = known.constFind(face); found != known.constEnd())
            return found.value();
    }
    constexpr int kFamilyMask = 0xF0, kRoman = 0x10, kModern = 0x30, kPitchMask = 0x03, kFixedPitch = 1;
    if ((font->lfPitchAndFamily & kFamilyMask) == kRoman)
        return QStringLiteral("Times New Roman");
    if ((font->lfPitchAndFamily & kFamilyMask) == kModern || (font->lfPitchAndFamily & kPitchMask) == kFixedPitch)
        return QStringLiteral("Courier New");
    return QStringLiteral("Arial");
}

FontInfo fontInfoOf(const wmfFont *font, int signedHeight, int width)
{
    FontInfo info;
    const QString face = font->lfFaceName ? fromWindows1252(QByteArray(font->lfFaceName)) : QString();
    info.charset = charsetOf(face, font->lfCharSet);
    // Symbol text is decoded to real Greek letters and signs, which the serif face has.
    info.base = QFont(info.charset == Charset::Symbol ? QStringLiteral("Times New Roman") : faceOf(font));
    info.base.setWeight(QFont::Weight(font->lfWeight == 0 ? 400 : std::clamp<int>(font->lfWeight, 100, 900)));
    info.base.setItalic(font->lfItalic != 0);
    info.base.setUnderline(font->lfUnderline != 0);
    info.base.setStrikeOut(font->lfStrikeOut != 0);
    // Windows lays text out without kerning and with linear advances; the metric twins
    // then land where the original did, at any scale.
    info.base.setKerning(false);
    info.base.setHintingPreference(QFont::PreferNoHinting);
    info.unit = info.base;
    info.unit.setPixelSize(kUnitFontPixels);
    info.unitMetrics = QFontMetricsF(info.unit);
    info.signedHeight = signedHeight;
    info.width = width;
    info.escapement = font->lfEscapement;
    return info;
}

FontInfo &addFont(Player &player, FontInfo info)
{
    player.fonts.push_back(std::move(info));
    player.fontInfos.insert(&player.fonts.back());
    return player.fonts.back();
}

// libwmf's objects share their memory: after a file deletes the selected font and
// creates a pen or brush in its slot, the DC's font is that pen or brush. Only a
// user_data this player handed out is trusted, and a font that is no font is drawn in
// the default face (its name pointer is not touched).
const FontInfo &fontInfo(wmfAPI *api, wmfFont *font)
{
    Player &player = playerOf(api);
    if (!player.fontInfos.contains(font->user_data)) {
        wmfFont plain = *font;
        plain.lfFaceName = nullptr;
        plain.lfWeight = 400;
        plain.lfItalic = plain.lfUnderline = plain.lfStrikeOut = 0;
        plain.lfEscapement = 0;
        return addFont(player, fontInfoOf(&plain, font->lfHeight, 0));
    }
    return *static_cast<const FontInfo *>(font->user_data);
}

// libwmf calls this as each font is created; the record tells what libwmf leaves out:
// whether the height was the character height (negative) or the cell's.
void mapFont(wmfAPI *api, wmfFont *font)
{
    Player &player = playerOf(api);
    const int index = currentRecord(api);
    int signedHeight = font->lfHeight;
    int width = 0;
    if (index >= 0 && player.scan.records[index].function == kCreateFontIndirect) {
        signedHeight = player.scan.signedWord(player.scan.records[index], 0);
        width = player.scan.signedWord(player.scan.records[index], 1);
    }
    font->user_data = &addFont(player, fontInfoOf(font, signedHeight, width));
}

// Text as it prints, in Unicode. Control characters print nothing on a page; left in,
// they send Qt looking through every installed font for a glyph (and fontconfig keeps
// what it found for good).
QString printable(const QByteArray &bytes, Charset charset)
{
    QString text = decodeText(bytes, charset);
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text;
}

// The width of `text` for a font one unit high, as libwmf wants it for its own
// alignment arithmetic.
float stringWidth(wmfAPI *api, wmfFont *font, char *text)
{
    // libwmf's first pass wants widths only for a bounding box this player never uses.
    if (!text || !playerOf(api).playing)
        return 0;
    const FontInfo &info = fontInfo(api, font);
    return float(info.unitMetrics.horizontalAdvance(printable(QByteArray(text), info.charset)) / kUnitFontPixels);
}

struct RawText {
    QByteArray bytes;
    quint16 options = 0;
    qint64 advances = 0; // sum of the per-character advances, logical units
    int libwmfAdvances = 0; // the same, as libwmf adds them up (16 bits)
    bool hasAdvances = false;
};

std::optional<RawText> rawText(const Scan &scan, const Record &r)
{
    RawText t;
    qsizetype first = 0;
    qsizetype length = 0;
    if (r.function == kTextOut) {
        length = scan.word(r, 0);
        first = 1;
    } else if (r.function == kExtTextOut) {
        length = scan.word(r, 2);
        t.options = scan.word(r, 3);
        first = t.options ? 8 : 4;
    } else {
        return std::nullopt;
    }
    const qsizetype at = r.offset + 6 + first * 2;
    if (first + (length + 1) / 2 > r.params() || at + length > scan.bytes.size())
        return std::nullopt;
    t.bytes = scan.bytes.mid(at, length);
    const qsizetype dx = first + (length + 1) / 2;
    if (r.function == kExtTextOut && r.params() - dx >= length) {
        t.hasAdvances = true;
        quint16 sum = 0;
        for (qsizetype i = 0; i < length; ++i) {
            sum = quint16(sum + scan.word(r, dx + i));
            t.advances += scan.signedWord(r, dx + i);
        }
        t.libwmfAdvances = qint16(sum);
    }
    return t;
}

// libwmf moved the reference point by its own estimate of the alignment it holds (which
// may not be the page's, see DcTracker); this undoes it. Device units.
QPointF referencePoint(wmfAPI *api, const wmfDrawText_t *d, const RawText &raw, const FontInfo &info, const Mapping &m,
                       const Record &record)
{
    const quint16 align = d->dc->textalign;
    const double theta = -info.escapement * std::numbers::pi / 1800;
    const double cosT = std::cos(theta);
    const double sinT = std::sin(theta);
    const double fontHeight = d->font_height;
    double px = d->pt.x;
    double py = d->pt.y;
    if (!(align & TA_BASELINE)) { // top
        px += fontHeight * sinT;
        py -= fontHeight * cosT;
    }
    if (align & TA_CENTER) { // libwmf centres right-aligned text too
        double width = 0;
        if (raw.hasAdvances)
            width = raw.libwmfAdvances * m.pixelWidth;
        else
            width = double(stringWidth(api, d->dc->font, d->str)) * fontHeight * d->font_ratio;
        px += width / 2 * cosT;
        py += width / 2 * sinT;
    }
    if (!std::isfinite(px) || !std::isfinite(py)) { // a font of height zero
        const Scan &scan = playerOf(api).scan;
        const qsizetype at = record.function == kTextOut ? record.params() - 2 : 0;
        px = (scan.signedWord(record, at + 1) - d->dc->Window.Ox) * m.pixelWidth;
        py = (scan.signedWord(record, at) - d->dc->Window.Oy) * m.pixelHeight;
    }
    return {px, py};
}

// The font at its size on the page: the em in twips, and the width the record asks for.
QFont sizedFont(const FontInfo &info, const Mapping &m, double &em)
{
    QFont font = info.base;
    em = kDefaultEmTwips;
    if (info.signedHeight < 0) {
        em = -info.signedHeight * m.logicalY();
    } else if (info.signedHeight > 0) { // the cell's height: the em is smaller by the leading
        const QFontMetricsF &unit = info.unitMetrics;
        em = info.signedHeight * m.logicalY() * kUnitFontPixels / (unit.ascent() + unit.descent());
    }
    em = std::clamp(finiteOr0(em), 1.0, kMaxEmTwips);
    font.setPixelSize(std::max(1, int(std::lround(em))));
    if (info.width != 0) {
        const double average = QFontMetricsF(font).averageCharWidth();
        const double wanted = std::abs(info.width) * m.logicalX();
        if (average > 0 && wanted > 0)
            font.setStretch(std::clamp(int(std::lround(100 * wanted / average)), 1, 4000));
    }
    return font;
}

// Spacing, alignment and background of a text item whose font is set, as the device
// context in force says.
void layOut(TextItem &item, const RawText &raw, const DcState &state, const Mapping &m, double em)
{
    QFontMetricsF metrics(item.font);
    double width = metrics.horizontalAdvance(item.text);
    double spacing = 0;
    if (raw.hasAdvances) {
        // The writer's own advances say how wide the string was; spread the difference.
        const double wanted = std::abs(double(raw.advances) * m.logicalX());
        if (std::abs(wanted - width) > width / 100)
            spacing = (wanted - width) / double(item.text.size());
    } else {
        spacing = state.characterExtra * m.logicalX(); // SetTextCharacterExtra
    }
    if (spacing != 0) {
        item.font.setLetterSpacing(QFont::AbsoluteSpacing, std::clamp(spacing, -em, em));
        metrics = QFontMetricsF(item.font);
        width = metrics.horizontalAdvance(item.text);
    }
    const quint16 align = state.textAlign;
    double x = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if ((align & TA_CENTER) == TA_RIGHT)
        x = -width;
    double y = 0;
    if ((align & TA_BASELINE) == 0)
        y = metrics.ascent();
    else if ((align & TA_BASELINE) == TA_BOTTOM)
        y = -metrics.descent();
    item.baselineStart = QPointF(x, y);
    if (state.opaqueBackground) {
        item.background = state.backgroundColor;
        item.backgroundRect = QRectF(x, y - metrics.ascent(), width, metrics.ascent() + metrics.descent());
    }
}

void drawText(wmfAPI *api, wmfDrawText_t *d)
{
    Player &player = playerOf(api);
    const int index = currentRecord(api);
    // With per-character advances libwmf calls once per character: the first call
    // carries the whole string's position, the rest are drawn from the record.
    if (index < 0 || index == player.lastTextRecord)
        return;
    player.lastTextRecord = index;
    const Record &record = player.scan.records[index];
    const std::optional<RawText> raw = rawText(player.scan, record);
    const Mapping m = mappingFor(api, d->dc);
    if (!raw || !m.valid || !d->dc->font)
        return;
    const FontInfo &info = fontInfo(api, d->dc->font);
    const DcState &state = stateOf(api);
    TextItem item;
    item.text = printable(raw->bytes, info.charset);
    if (item.text.isEmpty())
        return;
    const QPointF reference = referencePoint(api, d, *raw, info, m, record);
    item.anchor = m.point(reference.x(), reference.y());
    item.angle = -info.escapement / 10.0;
    item.color = state.textColor;
    double em = 0;
    item.font = sizedFont(info, m, em);
    layOut(item, *raw, state, m, em);
    if (raw->options & (ETO_OPAQUE | ETO_CLIPPED)) {
        item.box = m.rect(d->TL, d->BR);
        if (raw->options & ETO_OPAQUE)
            item.boxColor = state.backgroundColor;
        item.clipToBox = raw->options & ETO_CLIPPED;
    }
    if (spend(api, item))
        player.list.items.emplace_back(std::move(item));
}

} // namespace

void setUpText(wmfFunctionReference *f, wmfFontData *fonts)
{
    f->draw_text = drawText;
    fonts->map = mapFont;
    fonts->stringwidth = stringWidth;
}

} // namespace velmora::metafile
