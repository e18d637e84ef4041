// The demo's idle and display callbacks, driven by the tool's clock in place of the event loop.
#include "frame_replay.h"

#include "app/frame.h"
#include "tool_platform.h"

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
