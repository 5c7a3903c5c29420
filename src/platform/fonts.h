#pragma once

#include <QString>

namespace velmora {

// Makes the screens' faces (Tahoma, Times New Roman, Arial) resolve to metric twins:
// registers the Tahoma that Debian ships with Wine (package fonts-wine); Times New Roman
// and Arial resolve through fontconfig's aliases for Liberation (fonts-liberation2).
// Returns the family it could not register, or an empty text.
QString registerScreenFonts();

} // namespace velmora
