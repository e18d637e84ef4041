// The monitor on Windows: the primary monitor, whose top-left corner is the
// desktop's origin. No connection needs holding.
#include "platform/screen.h"

#include <windows.h>

namespace {

void hold() {}
void release() {}

void readPlayMonitor(MonitorRect* monitor)
{
    *monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

} // namespace

const ScreenApi primaryMonitorScreen = {hold, readPlayMonitor, release};
ScreenApi screen = primaryMonitorScreen;
