#include "filefailure.h"

#include "platform/fileslot.h"

namespace velmora {

namespace {
QString reason(const FileError &error)
{
    switch (error.kind()) {
    case FileError::Kind::NotRegular:
        return QStringLiteral("Something that is not an ordinary file (a link, a folder or a device) is in the "
                              "worksheets folder under this name, so the program leaves it alone. "
                              "Please ask the person who looks after the computers to remove it.");
    case FileError::Kind::Refused:
        return QStringLiteral("This name leads out of the worksheets folder or cannot name a file there, so "
                              "nothing was written.");
    case FileError::Kind::Locked:
        return QStringLiteral("The list of worksheets is being changed by another copy of Velmora on this "
                              "folder. Please try again in a moment.");
    case FileError::Kind::DiskFull:
        return QStringLiteral("The disk is full.");
    case FileError::Kind::ReadOnly:
        return QStringLiteral("The worksheets folder cannot be written to.");
    case FileError::Kind::Overflow:
        return QStringLiteral("The list already holds as many worksheets as it can.");
    default:
        return {};
    }
}
} // namespace

QString fileFailureMessage(const QString &fixed, const FileError &error)
{
    const QString why = reason(error);
    return why.isEmpty() ? fixed : fixed + QStringLiteral("\n\n") + why;
}

} // namespace velmora
