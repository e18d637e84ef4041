// Full screen on X11: the window manager's full-screen state where one takes it.
#include "platform/full_screen.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Enough entries for any window manager's list of supported hints.
constexpr long netSupportedMaxAtoms = 4096;

// True when a window manager runs that takes the full-screen state hint.
bool windowManagerTakesFullScreen(Display* display)
{
    if (display == nullptr) {
        return false;
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", True);
    const Atom fullScreenState = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", True);
    if (check == None || supported == None || fullScreenState == None) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const Window root = DefaultRootWindow(display);
    bool found = false;
    if (XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &remaining, &data) ==
            Success &&
        count == 1) {
        XFree(data);
        data = nullptr;
        if (XGetWindowProperty(display, root, supported, 0, netSupportedMaxAtoms, False, XA_ATOM, &type, &format,
                               &count, &remaining, &data) == Success) {
            const Atom* atoms = reinterpret_cast<const Atom*>(data);
            for (unsigned long i = 0; i < count && !found; ++i) {
                found = atoms[i] == fullScreenState;
            }
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

} // namespace

// With a window manager, freeglut asks it for full screen, and it fills the
// monitor the window stands on. Without one, freeglut would stretch the window
// over the whole X screen, across every monitor; the window is borderless then
// and already covers its monitor, so it stays as it was made.
void fullScreenOnItsMonitor()
{
    if (windowManagerTakesFullScreen(glXGetCurrentDisplay())) {
        glutFullScreen();
    }
}
