// The demo window's place and size: centred on the play monitor, the game-mode
// text of the monitor's resolution.
#include "app/startup.h"

#include <cstdio>

namespace {

constexpr int gameModeBitsPerPixel = 32;
constexpr int gameModeRefreshHz = 60;
constexpr double halfWindowWidth = demoWindowWidth / 2.0;
constexpr double halfWindowHeight = demoWindowHeight / 2.0;

} // namespace

WindowPosition centredWindowPosition(const MonitorRect& monitor)
{
    // Computed in double and truncated toward zero: -0.5 becomes 0, not -1. The
    // monitor's origin is added after, so a monitor at x 0 centres as a single screen does.
    const double x = monitor.width * 0.5 - halfWindowWidth;
    const double y = monitor.height * 0.5 - halfWindowHeight;
    return {monitor.x + static_cast<int>(x), monitor.y + static_cast<int>(y)};
}

void formatGameModeText(char* text, int size, int screenWidth, int screenHeight)
{
    std::snprintf(text, static_cast<size_t>(size), "%dx%d:%d@%d", screenWidth, screenHeight, gameModeBitsPerPixel,
                  gameModeRefreshHz);
}
