#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// The single-byte code page of the worksheet files, so files written on Windows
// machines stay readable. Every byte decodes (the five bytes the code page leaves
// undefined decode to the control characters of the same value, as Windows does).
QString fromWindows1252(const QByteArray &bytes);

// Nothing when a character has no place in the code page: such a text cannot be
// saved and must be refused, never silently replaced.
std::optional<QByteArray> toWindows1252(const QString &text);

// The first character of `text` that the code page cannot hold, whole (a character
// beyond the 16-bit range, an emoji say, is two UTF-16 units), or an empty string.
QString firstUnencodable(const QString &text);
// A character as a message names it: itself in quotes and its code, which tells the
// reader what it is even where the font has no picture for it: "😀" (U+1F600).
QString describeCharacter(const QString &character);

} // namespace velmora
