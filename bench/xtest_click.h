#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kt5::bench {

// A click through XTEST on the bench's own connection, so that the time measured from it is
// the program's, not that of starting a helper to click (xdotool takes some 30 ms).
inline void xtestClick(Display* display, unsigned long window, int x, int y)
{
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XSync(display, False);
}

} // namespace kt5::bench
