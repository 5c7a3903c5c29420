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

// The first character of `text` that the code page cannot hold, or a null QChar.
QChar firstUnencodable(const QString &text);

} // namespace velmora
