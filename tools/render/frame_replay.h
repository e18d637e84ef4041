// The steady run's clock-only idle calls and the frames drawn from them, on whatever
// picture the demo's GL calls go to (the tool's offscreen one, or the browser's canvas).
#pragma once

#include "frame_schedule.h"

#include <cstdint>

// The schedule's clock-only idle calls, then the frame of the last of them, so the
// state a frame leaves for the next (shot, light, clear colour) is in place.
void replayBefore(const FrameSchedule& schedule);

// One idle call at timeMs and the frame it asks for, drawn and resolved.
void drawFrameAt(int32_t timeMs);
