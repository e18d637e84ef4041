// The play monitor from Xlib and RandR: the primary monitor where the desktop
// has several, the whole X screen where RandR is missing.
#include "platform/screen.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <vector>

namespace {

// RandR 1.5 is the first version that lists monitors.
constexpr int monitorsMajorVersion = 1;
constexpr int monitorsMinorVersion = 5;

Display* heldDisplay = nullptr;

void holdXlib()
{
    if (heldDisplay == nullptr) {
        heldDisplay = XOpenDisplay(nullptr);
    }
}

void releaseXlib()
{
    if (heldDisplay != nullptr) {
        XCloseDisplay(heldDisplay);
        heldDisplay = nullptr;
    }
}

bool hasRandrMonitors(Display* display)
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor)) {
        return false;
    }
    return major > monitorsMajorVersion || (major == monitorsMajorVersion && minor >= monitorsMinorVersion);
}

std::vector<MonitorInfo> listMonitors(Display* display, Window root)
{
    std::vector<MonitorInfo> monitors;
    if (!hasRandrMonitors(display)) {
        return monitors;
    }
    int count = 0;
    XRRMonitorInfo* list = XRRGetMonitors(display, root, True, &count);
    for (int i = 0; list != nullptr && i < count; ++i) {
        monitors.push_back({{list[i].x, list[i].y, list[i].width, list[i].height}, list[i].primary != 0});
    }
    if (list != nullptr) {
        XRRFreeMonitors(list);
    }
    return monitors;
}

void readPlayMonitorXlib(MonitorRect* monitor)
{
    *monitor = {0, 0, 0, 0};
    holdXlib();
    if (heldDisplay == nullptr) {
        return;
    }
    const int screenNumber = DefaultScreen(heldDisplay);
    const std::vector<MonitorInfo> monitors = listMonitors(heldDisplay, RootWindow(heldDisplay, screenNumber));
    *monitor = choosePlayMonitor(monitors.data(), static_cast<int>(monitors.size()),
                                 DisplayWidth(heldDisplay, screenNumber), DisplayHeight(heldDisplay, screenNumber));
}

} // namespace

const ScreenApi xlibScreen = {holdXlib, readPlayMonitorXlib, releaseXlib};
ScreenApi screen = xlibScreen;
