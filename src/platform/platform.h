#pragma once

#include "datapaths.h"
#include "fileslot.h"
#include "pictureloader.h"
#include "printer.h"

namespace velmora {

class DesktopShell;
class MessageBoxes;
class Screen;

// The services the screens call, handed to the application at start. The product
// wires the real ones; tests wire fakes for the message boxes, the desktop shell, the
// screen and the printer, and real files in a temporary data folder.
class Platform
{
public:
    Platform(QString dataRoot, MessageBoxes &messages, DesktopShell &shell, Screen &screen, PrintTarget &printTarget);

    MessageBoxes &messages() const { return m_messages; }
    DesktopShell &shell() const { return m_shell; }
    Screen &screen() const { return m_screen; }
    const DataPaths &paths() const { return m_paths; }
    FileSlot &file1() { return m_file1; }
    const PictureLoader &pictures() const { return m_pictures; }
    LinePrinter &printer() { return m_printer; }

    // Keeps the worksheets and their list in `folder` instead of the data folder's
    // "multiple" (which then still supplies the files the user folder lacks).
    void redirectWorksheets(const QString &folder) { m_paths.redirect(QStringLiteral("multiple"), folder); }

private:
    MessageBoxes &m_messages;
    DesktopShell &m_shell;
    Screen &m_screen;
    DataPaths m_paths;
    FileSlot m_file1;
    PictureLoader m_pictures;
    LinePrinter m_printer;
};

} // namespace velmora
