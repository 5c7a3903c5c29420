#include "screen.h"

#include "toolkit/twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace velmora {

QtScreen::~QtScreen()
{
    setBusy(false);
}

QSizeF QtScreen::sizeTwips() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSizeF(pixelsToTwips(800), pixelsToTwips(600));
    const QSize size = screen->geometry().size();
    return QSizeF(pixelsToTwips(size.width()), pixelsToTwips(size.height()));
}

void QtScreen::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

} // namespace velmora
