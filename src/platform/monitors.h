// Which monitor the demo plays on, from the list the display reports: a plain
// decision, kept apart from the X calls that gather the list.
#pragma once

// A rectangle of the X screen in pixels; a monitor, or the whole screen.
struct MonitorRect {
    int x;
    int y;
    int width;
    int height;
};

struct MonitorInfo {
    MonitorRect rect;
    bool primary;
};

// The primary monitor; without one, the first monitor that holds the screen's
// origin; without that (or with no monitors at all), the whole screen.
MonitorRect choosePlayMonitor(const MonitorInfo* monitors, int count, int screenWidth, int screenHeight);
