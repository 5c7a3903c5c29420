#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::metafile {

// How a font's bytes turn into characters. Metafile text is one byte a character; what
// a byte means depends on the font: its character set, or for the Symbol face the
// face's own layout (Greek letters on the Latin keys, mathematical signs above).
enum class Charset { Western, Greek, Symbol };

// The character set a font record names: its face and its lfCharSet byte.
Charset charsetOf(const QString &face, int lfCharSet);

// The text the bytes stand for, in Unicode.
QString decodeText(const QByteArray &bytes, Charset charset);

} // namespace velmora::metafile
