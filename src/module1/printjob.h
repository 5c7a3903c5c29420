#pragma once

#include <QString>

#include <functional>

namespace velmora {

class LinePrinter;
class Platform;

// Prints one document on the default printer and tells the user how it went: `done`
// once it has gone to the printer, or the printer problem (the job abandoned, nothing
// half printed left queued).
void printAndTell(Platform &platform, const std::function<void(LinePrinter &)> &draw, const QString &done);

} // namespace velmora
