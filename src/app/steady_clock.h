// The demo's idle and display callbacks driven by a steady clock in place of the event
// loop: the render tool's frames and the browser's stills are a run held at fps from 0.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Frames per second of the run a moment is drawn from, and the render tool's default.
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

// One moment: every steady idle time below atMs, then atMs itself. With k sub-frames the
// run goes at k x fps: its idle times below atMs, then atMs and the k - 1 sub-frames of
// that rate after it, floor(i * 1000 / (k x fps)) later.
FrameSchedule scheduleAt(int32_t atMs, int fps, int subFrames = 1);
// A range: the steady idle times below fromMs, then those in [fromMs, toMs). With k
// sub-frames the run goes at k x fps, output frame n holding its calls nk ... nk + k - 1.
FrameSchedule scheduleRange(int32_t fromMs, int32_t toMs, int fps, int subFrames = 1);

// What the demo's idle callback did about the music, as the silent audio table saw it.
struct MusicStart {
    bool started = false;
    int32_t atMs = 0;         // the demo clock when startMusic ran
    int64_t bytePosition = 0; // the position it handed to the audio layer
};

// The time the steady clock answers GLUT_ELAPSED_TIME with.
extern int32_t steadyClockMs;
// What the demo's last call to start the music looked like.
extern MusicStart musicStartSeen;

// Puts the steady clock over the platform's own windowing table and a silent audio
// table in place of the real one. onSwap runs where the demo swaps buffers (may be
// null); onExit where the demo would end the process, which a schedule never reaches.
void installSteadyClock(void (*onSwap)(), void (*onExit)(int code));

// One idle call of the demo at the given time (onIdle only, no drawing).
void idleAt(int32_t timeMs);
// One idle call at timeMs and the frame it asks for.
void drawFrameAt(int32_t timeMs);

// The schedule's clock-only idle calls, then the frame of the last of them, so the
// state a frame leaves for the next (shot, light, clear colour) is in place.
void replayBefore(const FrameSchedule& schedule);

// Output frame k of the schedule: each of its sub-frames drawn at its own time, drawn
// called after each (may be empty).
void drawOutputSubFrames(const FrameSchedule& schedule, int64_t k, const std::function<void()>& drawn);

// One moment of the steady run at steadyFps, as a run from time 0 reaches it: the clock
// starts afresh, the run's idle calls before atMs advance it, then atMs and its sub-frames
// are drawn as drawOutputSubFrames draws them.
void drawMoment(int32_t atMs, int subFrames, const std::function<void()>& drawn);
