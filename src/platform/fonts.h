#pragma once

#include <QString>

namespace velmora {

// Makes the screens' faces (Tahoma, Times New Roman, Arial) resolve to metric twins:
// registers the Tahoma that Debian ships with Wine when fontconfig does not know one.
// Returns the families that could not be matched to a metric twin (empty when all are).
QString registerScreenFonts();

} // namespace velmora
