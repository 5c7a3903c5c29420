#include "wmfcharsets.h"

#include "platform/windows1252.h"

#include <array>

namespace velmora::metafile {

namespace {

constexpr int kSymbolCharset = 2;
constexpr int kGreekCharset = 161;

// The Symbol face's bytes 0x20 to 0xFF; 0 where the face has nothing standard.
constexpr std::array<char16_t, 224> kSymbol = {
    // 0x20
    u' ', u'!', u'\u2200', u'#', u'\u2203', u'%', u'&', u'\u220B', u'(', u')', u'\u2217', u'+', u',', u'\u2212', u'.',
    u'/',
    // 0x30
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    // 0x40
    u'\u2245', u'\u0391', u'\u0392', u'\u03A7', u'\u0394', u'\u0395', u'\u03A6', u'\u0393', u'\u0397', u'\u0399',
    u'\u03D1', u'\u039A', u'\u039B', u'\u039C', u'\u039D', u'\u039F',
    // 0x50
    u'\u03A0', u'\u0398', u'\u03A1', u'\u03A3', u'\u03A4', u'\u03A5', u'\u03C2', u'\u03A9', u'\u039E', u'\u03A8',
    u'\u0396', u'[', u'\u2234', u']', u'\u22A5', u'_',
    // 0x60
    u'\u203E', u'\u03B1', u'\u03B2', u'\u03C7', u'\u03B4', u'\u03B5', u'\u03C6', u'\u03B3', u'\u03B7', u'\u03B9',
    u'\u03D5', u'\u03BA', u'\u03BB', u'\u03BC', u'\u03BD', u'\u03BF',
    // 0x70
    u'\u03C0', u'\u03B8', u'\u03C1', u'\u03C3', u'\u03C4', u'\u03C5', u'\u03D6', u'\u03C9', u'\u03BE', u'\u03C8',
    u'\u03B6', u'{', u'|', u'}', u'\u223C', 0,
    // 0x80 to 0x9F: nothing
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    u'\u20AC', u'\u03D2', u'\u2032', u'\u2264', u'\u2044', u'\u221E', u'\u0192', u'\u2663', u'\u2666', u'\u2665',
    u'\u2660', u'\u2194', u'\u2190', u'\u2191', u'\u2192', u'\u2193',
    // 0xB0
    u'\u00B0', u'\u00B1', u'\u2033', u'\u2265', u'\u00D7', u'\u221D', u'\u2202', u'\u2022', u'\u00F7', u'\u2260',
    u'\u2261', u'\u2248', u'\u2026', u'\u23D0', u'\u23AF', u'\u21B5',
    // 0xC0
    u'\u2135', u'\u2111', u'\u211C', u'\u2118', u'\u2297', u'\u2295', u'\u2205', u'\u2229', u'\u222A', u'\u2283',
    u'\u2287', u'\u2284', u'\u2282', u'\u2286', u'\u2208', u'\u2209',
    // 0xD0
    u'\u2220', u'\u2207', u'\u00AE', u'\u00A9', u'\u2122', u'\u220F', u'\u221A', u'\u22C5', u'\u00AC', u'\u2227',
    u'\u2228', u'\u21D4', u'\u21D0', u'\u21D1', u'\u21D2', u'\u21D3',
    // 0xE0
    u'\u25CA', u'\u2329', u'\u00AE', u'\u00A9', u'\u2122', u'\u2211', u'\u239B', u'\u239C', u'\u239D', u'\u23A1',
    u'\u23A2', u'\u23A3', u'\u23A7', u'\u23A8', u'\u23A9', u'\u23AA',
    // 0xF0
    0, u'\u232A', u'\u222B', u'\u2320', u'\u23AE', u'\u2321', u'\u239E', u'\u239F', u'\u23A0', u'\u23A4', u'\u23A5',
    u'\u23A6', u'\u23AB', u'\u23AC', u'\u23AD', 0};

// Windows' Greek code page from 0xA0 on; below that it is the Western one.
constexpr std::array<char16_t, 96> kGreek = {
    // 0xA0
    u'\u00A0', u'\u0385', u'\u0386', u'\u00A3', u'\u00A4', u'\u00A5', u'\u00A6', u'\u00A7', u'\u00A8', u'\u00A9', 0,
    u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u2015',
    // 0xB0
    u'\u00B0', u'\u00B1', u'\u00B2', u'\u00B3', u'\u0384', u'\u00B5', u'\u00B6', u'\u00B7', u'\u0388', u'\u0389',
    u'\u038A', u'\u00BB', u'\u038C', u'\u00BD', u'\u038E', u'\u038F',
    // 0xC0 to 0xFF: the Greek block in order, but for three bytes the code page leaves empty
    u'\u0390', u'\u0391', u'\u0392', u'\u0393', u'\u0394', u'\u0395', u'\u0396', u'\u0397', u'\u0398', u'\u0399',
    u'\u039A', u'\u039B', u'\u039C', u'\u039D', u'\u039E', u'\u039F', u'\u03A0', u'\u03A1', 0, u'\u03A3', u'\u03A4',
    u'\u03A5', u'\u03A6', u'\u03A7', u'\u03A8', u'\u03A9', u'\u03AA', u'\u03AB', u'\u03AC', u'\u03AD', u'\u03AE',
    u'\u03AF', u'\u03B0', u'\u03B1', u'\u03B2', u'\u03B3', u'\u03B4', u'\u03B5', u'\u03B6', u'\u03B7', u'\u03B8',
    u'\u03B9', u'\u03BA', u'\u03BB', u'\u03BC', u'\u03BD', u'\u03BE', u'\u03BF', u'\u03C0', u'\u03C1', u'\u03C2',
    u'\u03C3', u'\u03C4', u'\u03C5', u'\u03C6', u'\u03C7', u'\u03C8', u'\u03C9', u'\u03CA', u'\u03CB', u'\u03CC',
    u'\u03CD', u'\u03CE', 0};

} // namespace

Charset charsetOf(const QString &face, int lfCharSet)
{
    if (lfCharSet == kSymbolCharset || face.trimmed().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        return Charset::Symbol;
    if (lfCharSet == kGreekCharset)
        return Charset::Greek;
    return Charset::Western;
}

QString decodeText(const QByteArray &bytes, Charset charset)
{
    if (charset == Charset::Western)
        return fromWindows1252(bytes);
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = uchar(c);
        char16_t unicode = 0;
        if (charset == Charset::Symbol)
            unicode = byte >= 0x20 ? kSymbol[byte - 0x20] : byte;
        else if (byte >= 0xA0)
            unicode = kGreek[byte - 0xA0];
        else
            text += fromWindows1252(QByteArray(1, c));
        if (unicode)
            text += QChar(unicode);
    }
    return text;
}

} // namespace velmora::metafile
