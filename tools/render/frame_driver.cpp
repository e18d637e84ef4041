// The demo's idle and display callbacks, driven by the tool in place of the event loop.
#include "frame_driver.h"

#include "app/render_state.h"
#include "app/startup.h"
#include "direction/timeline.h"
#include "offscreen.h"
#include "tool_platform.h"

bool startDemoOffscreen(int width, int height, int samples, std::string* error)
{
    installToolPlatform(resolveOffscreen);
    if (!openOffscreen(width, height, samples, error)) {
        return false;
    }
    onReshape(width, height);
    setupRenderState();
    return true;
}

void replayBefore(const FrameSchedule& schedule)
{
    for (int32_t timeMs : schedule.replayMs) {
        idleAt(timeMs);
    }
    if (!schedule.replayMs.empty()) {
        displayFrame();
    }
}

void drawFrameAt(int32_t timeMs)
{
    idleAt(timeMs);
    displayFrame();
}

void captureFrame(std::vector<uint8_t>* rgb)
{
    readOffscreenRgb(rgb);
}
