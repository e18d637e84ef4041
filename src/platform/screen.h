// The monitor the demo plays on, read from the X display before the windowing
// library starts (whose clock must not start before the question is answered).
#pragma once

#include "platform/monitors.h"

struct ScreenApi {
    // Opens the display connection the monitor is read on and keeps it open, so
    // the display never loses its last client between the question box and the
    // windowing library's own connection (a server that resets then would refuse it).
    void (*hold)();
    // The primary monitor's place and size; all zeros when there is no display.
    void (*readPlayMonitor)(MonitorRect* monitor);
    // Closes the held connection; called once the windowing library has its own.
    void (*release)();
};

extern ScreenApi screen;
extern const ScreenApi xlibScreen;
