#pragma once

#include <QString>

namespace velmora {

// Texts of message boxes that more than one screen shows.
inline const QString kPrintProblem = QStringLiteral("There was a problem printing to your printer.");

} // namespace velmora
