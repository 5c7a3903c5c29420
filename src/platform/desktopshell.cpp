#include "desktopshell.h"

#include <QDesktopServices>
#include <QUrl>

namespace velmora {

void QtDesktopShell::open(const QString &address, QWidget *)
{
    const QUrl url = QUrl::fromUserInput(address);
    // Only web addresses: the link must never start a local program or open a file.
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return;
    QDesktopServices::openUrl(url);
}

} // namespace velmora
