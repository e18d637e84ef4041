// The monitor the demo plays on: the desktop's primary one, as the screen size
// a single-monitor desktop reports would be.
#include "platform/monitors.h"

namespace {

bool holdsOrigin(const MonitorRect& rect)
{
    return rect.x <= 0 && rect.y <= 0 && rect.x + rect.width > 0 && rect.y + rect.height > 0;
}

} // namespace

MonitorRect choosePlayMonitor(const MonitorInfo* monitors, int count, int screenWidth, int screenHeight)
{
    for (int i = 0; i < count; ++i) {
        if (monitors[i].primary) {
            return monitors[i].rect;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (holdsOrigin(monitors[i].rect)) {
            return monitors[i].rect;
        }
    }
    return {0, 0, screenWidth, screenHeight};
}
