#include "platform.h"

namespace velmora {

Platform::Platform(QString dataRoot, MessageBoxes &messages, DesktopShell &shell, Screen &screen,
                   PrintTarget &printTarget)
    : m_messages(messages)
    , m_shell(shell)
    , m_screen(screen)
    , m_paths(std::move(dataRoot))
    , m_file1(m_paths)
    , m_pictures(m_paths)
    , m_printer(printTarget)
{
}

} // namespace velmora
