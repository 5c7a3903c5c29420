#pragma once

#include <QRect>

class QColor;
class QScreen;
class QWidget;

namespace velmora {

// Window types that desktops honour (the freedesktop window-manager hints), set on X11
// and ignored elsewhere.

// Makes a top-level widget a desktop window: window managers keep it below every other
// window, leave it out of the taskbar, the pager and the window switcher, give it no
// frame, never minimise or close it, and keep it when the user asks to show the
// desktop. Call before the window is first shown.
void markAsDesktopWindow(QWidget &window);

// Has the X server itself fill `window` with `colour` (a plain colour window, painted
// at once on every exposure, with no picture of it in the program's memory). Returns
// false where there is no X11 connection: the window is then painted as any other.
bool fillByDisplayServer(QWidget &window, const QColor &colour);

// Tells the window manager that `window` belongs over `parent` (or over nothing): it
// keeps the window in front of its parent, out of the taskbar while the parent is
// there, and minimises and restores it with the parent.
void setTransientFor(QWidget &window, QWidget *parent);

// The part of the screen that windows may use: without the taskbar and other panels,
// as the window manager publishes it (Qt's own figure ignores it on X11).
QRect freeScreenArea(const QScreen &screen);

} // namespace velmora
