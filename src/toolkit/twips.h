#pragma once

#include <QtGlobal>

namespace velmora {

// Screen geometry is designed in twips: 1440 to the inch, 15 to a pixel at 96 dpi.
// Controls keep their twips exactly (a snapped label must compare equal to its box)
// and only the widget underneath is rounded to whole logical pixels.
inline constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return qRound(twips / kTwipsPerPixel);
}

inline double pixelsToTwips(double pixels)
{
    return pixels * kTwipsPerPixel;
}

// Mouse buttons held or pressed, as a bit set.
enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
// Keyboard modifiers, as a bit set.
enum ShiftState : int { ShiftKey = 1, CtrlKey = 2, AltKey = 4 };

// What a pointer handler receives: buttons as a bit set, the shift state, and the
// position in twips relative to the control (or form) the event belongs to.
struct MouseArgs {
    int buttons = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
};

} // namespace velmora
