#include "grey.h"

#include "module1/module1.h"
#include "platform/platform.h"
#include "platform/screen.h"
#include "toolkit/formregistry.h"
#include "toolkit/windowmanagerhints.h"

namespace velmora {

Grey::Grey(Module1 &m)
    : Form(kFormName)
    , m_m(m)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setBackdrop(true);
    setCaption(QStringLiteral("Velmora"));
    const QSizeF screen = m_m.platform().screen().sizeTwips();
    setFormSize(screen.width(), screen.height());
    setLeft(0);
    setTop(0);
    // To the window manager too it is the desktop: always below, in no taskbar or
    // window switcher, never minimised, and still there when the desktop is shown.
    markAsDesktopWindow(*this);
    // A click on the backdrop would otherwise bring it over the screen in use.
    onMouseDown = [this](const MouseArgs &) {
        if (registry())
            registry()->restack();
    };
}

void Grey::load()
{
    const QColor blue(48, 133, 214);
    setBackColor(blue);
    // A plain blue the size of the screen: on X11 the display server fills it, so the
    // program neither paints it nor keeps a screen-sized picture of it, and the title
    // screen is painted sooner.
    if (fillByDisplayServer(*this, blue))
        setUpdatesEnabled(false);
}

} // namespace velmora
