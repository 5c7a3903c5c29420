#pragma once

#include <QString>

namespace velmora {

class FileError;

// A screen's message for a failed file operation: its own fixed wording, followed by
// the reason where the reason is something a teacher can act on (the disk is full, the
// folder is read-only, another copy is changing the list, something that is not an
// ordinary file lies under the worksheet's name). Damage and missing files keep the
// fixed wording alone.
QString fileFailureMessage(const QString &fixed, const FileError &error);

} // namespace velmora
