// Screen size from Xlib: the same numbers GLUT reports, without starting GLUT
// (whose clock must not start before the question is answered).
#include "platform/screen.h"

#include <X11/Xlib.h>

namespace {

void readScreenSizeXlib(int* width, int* height)
{
    *width = 0;
    *height = 0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    const int screenNumber = DefaultScreen(display);
    *width = DisplayWidth(display, screenNumber);
    *height = DisplayHeight(display, screenNumber);
    XCloseDisplay(display);
}

} // namespace

const ScreenApi xlibScreen = {readScreenSizeXlib};
ScreenApi screen = xlibScreen;
