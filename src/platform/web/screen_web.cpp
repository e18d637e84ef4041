// The monitor in the browser: the screen the page is shown on, whole.
#include "platform/screen.h"
#include "platform/web/web_page.h"

namespace {

void hold() {}
void release() {}

void readPlayMonitor(MonitorRect* monitor) { *monitor = {0, 0, screenWidth(), screenHeight()}; }

} // namespace

const ScreenApi pageScreen = {hold, readPlayMonitor, release};
ScreenApi screen = pageScreen;
