// The steady-run schedule: idle times floor(n * 1000 / fps), and the scene spans for benching.
#include "frame_schedule.h"

#include "direction/timeline.h"

namespace {

constexpr int64_t msPerSecond = 1000;

} // namespace

int32_t steadyIdleTimeMs(int64_t n, int fps) { return static_cast<int32_t>(n * msPerSecond / fps); }

int64_t firstIdleCallFrom(int32_t timeMs, int fps)
{
    // floor(n * 1000 / fps) >= t  <=>  n * 1000 / fps >= t  <=>  n >= t * fps / 1000.
    const int64_t scaled = static_cast<int64_t>(timeMs) * fps;
    return (scaled + msPerSecond - 1) / msPerSecond;
}

int64_t outputFrameCount(const FrameSchedule& schedule)
{
    return static_cast<int64_t>(schedule.outputMs.size()) / schedule.subFrames;
}

FrameSchedule scheduleAt(int32_t atMs, int fps, int subFrames)
{
    FrameSchedule schedule;
    schedule.subFrames = subFrames;
    const int runFps = fps * subFrames;
    const int64_t below = firstIdleCallFrom(atMs, runFps);
    for (int64_t n = 0; n < below; ++n) {
        schedule.replayMs.push_back(steadyIdleTimeMs(n, runFps));
    }
    for (int i = 0; i < subFrames; ++i) {
        schedule.outputMs.push_back(atMs + steadyIdleTimeMs(i, runFps));
    }
    return schedule;
}

FrameSchedule scheduleRange(int32_t fromMs, int32_t toMs, int fps, int subFrames)
{
    FrameSchedule schedule;
    schedule.subFrames = subFrames;
    const int runFps = fps * subFrames;
    const int64_t first = firstIdleCallFrom(fromMs, fps);
    const int64_t end = firstIdleCallFrom(toMs, fps);
    for (int64_t n = 0; n < first * subFrames; ++n) {
        schedule.replayMs.push_back(steadyIdleTimeMs(n, runFps));
    }
    for (int64_t n = first * subFrames; n < end * subFrames; ++n) {
        schedule.outputMs.push_back(steadyIdleTimeMs(n, runFps));
    }
    return schedule;
}

SceneSpan sceneSpan(int scene)
{
    SceneSpan span{-1, demoEndMs + 1};
    for (int32_t t = 0; t <= demoEndMs; ++t) {
        const int at = sceneForTime(t);
        if (at == scene && span.fromMs < 0) {
            span.fromMs = t;
        } else if (at > scene) {
            span.toMs = t;
            break;
        }
    }
    if (span.fromMs < 0) {
        return {0, 0};
    }
    return span;
}

std::vector<int32_t> spreadFrameTimes(SceneSpan span, int frames)
{
    std::vector<int32_t> times;
    const int64_t length = span.toMs - span.fromMs;
    for (int k = 0; k < frames; ++k) {
        times.push_back(span.fromMs + static_cast<int32_t>(k * length / frames));
    }
    return times;
}
