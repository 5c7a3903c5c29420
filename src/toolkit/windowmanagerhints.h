#pragma once

class QWidget;

namespace velmora {

// Window types that desktops honour (the freedesktop window-manager hints), set on X11
// and ignored elsewhere.

// Makes a top-level widget a desktop window: window managers keep it below every other
// window, leave it out of the taskbar, the pager and the window switcher, give it no
// frame, never minimise or close it, and keep it when the user asks to show the
// desktop. Call before the window is first shown.
void markAsDesktopWindow(QWidget &window);

// Tells the window manager that `window` belongs over `parent` (or over nothing): it
// keeps the window in front of its parent, out of the taskbar while the parent is
// there, and minimises and restores it with the parent.
void setTransientFor(QWidget &window, QWidget *parent);

} // namespace velmora
