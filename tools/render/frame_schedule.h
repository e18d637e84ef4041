// When the tool calls the demo's idle callback and which of those calls it draws:
// a run held at a steady frame rate from time 0, one idle call per frame.
#pragma once

#include "app/clock.h"

#include <cstdint>
#include <vector>

// Frames per second of the run that --at replays, and the default of the other modes.
constexpr int steadyFps = 60;

// The time of idle call n in a steady run: floor(n * 1000 / fps).
int32_t steadyIdleTimeMs(int64_t n, int fps);
// The number of the first idle call at or after timeMs: ceil(timeMs * fps / 1000).
int64_t firstIdleCallFrom(int32_t timeMs, int fps);

struct FrameSchedule {
    // Idle calls that only advance the clock and pulses; the last of them is also
    // drawn, so the shot, light and clear colour it leaves behind carry over.
    std::vector<int32_t> replayMs;
    // Idle calls whose frames are drawn and kept, subFrames of them for each output
    // frame (motion blur averages them), in order.
    std::vector<int32_t> outputMs;
    int subFrames = 1;
};

// How many frames the schedule puts out.
int64_t outputFrameCount(const FrameSchedule& schedule);

// --at: every steady idle time below atMs, then atMs itself. With k sub-frames the run
// goes at k x fps: its idle times below atMs, then atMs and the k - 1 sub-frames of
// that rate after it, floor(i * 1000 / (k x fps)) later.
FrameSchedule scheduleAt(int32_t atMs, int fps, int subFrames = 1);
// --from/--to: the steady idle times below fromMs, then those in [fromMs, toMs). With k
// sub-frames the run goes at k x fps, output frame n holding its calls nk ... nk + k - 1.
FrameSchedule scheduleRange(int32_t fromMs, int32_t toMs, int fps, int subFrames = 1);

// The stretch of demo time a scene is drawn in: [fromMs, toMs), within 0 ... demoEndMs.
struct SceneSpan {
    int32_t fromMs;
    int32_t toMs;
};
// Read off the demo's own scene table.
SceneSpan sceneSpan(int scene);
// frames times spread evenly over a span, the first at its start.
std::vector<int32_t> spreadFrameTimes(SceneSpan span, int frames);
