// The steady run: idle times floor(n * 1000 / fps), the windowing and audio stand-ins
// that make the demo read them, and the replay that brings a moment's state in place.
#include "app/steady_clock.h"

#include "app/clock.h"
#include "app/frame.h"
#include "app/idle.h"
#include "platform/audio.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>

int32_t steadyClockMs = 0;
MusicStart musicStartSeen;

namespace {

constexpr int64_t msPerSecond = 1000;

void (*swapHook)() = nullptr;

int getStandIn(unsigned int query)
{
    if (query == GLUT_ELAPSED_TIME) {
        return steadyClockMs;
    }
    return glutWindowing.get(query);
}

void postRedisplayStandIn() {}

void swapBuffersStandIn()
{
    if (swapHook != nullptr) {
        swapHook();
    }
}

void leaveGameModeStandIn() {}

uint32_t silentGetVersion() { return audioVersion; }
int silentInit(int, uint32_t, uint32_t, void*, const void*) { return 1; }
int silentErrorGetCode() { return audioOk; }
constexpr uint32_t silentHandle = 1;
uint32_t silentStreamCreateFile(int, const void*, uint64_t, uint64_t, uint32_t) { return silentHandle; }
uint32_t silentMusicLoad(int, const void*, uint64_t, uint32_t, uint32_t, uint32_t) { return silentHandle; }
int silentChannelPlay(uint32_t, int)
{
    musicStartSeen.started = true;
    musicStartSeen.atMs = steadyClockMs;
    musicStartSeen.bytePosition = 0;
    return 1;
}
int silentChannelSetPosition(uint32_t, uint64_t position, uint32_t)
{
    musicStartSeen.bytePosition = static_cast<int64_t>(position);
    return 1;
}
int silentFree() { return 1; }

const AudioApi silentAudio = {silentGetVersion, silentInit,        silentErrorGetCode,       silentStreamCreateFile,
                              silentMusicLoad,  silentChannelPlay, silentChannelSetPosition, silentFree};

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

void installSteadyClock(void (*onSwap)(), void (*onExit)(int code))
{
    swapHook = onSwap;
    windowing = glutWindowing;
    windowing.get = getStandIn;
    windowing.postRedisplay = postRedisplayStandIn;
    windowing.swapBuffers = swapBuffersStandIn;
    windowing.leaveGameMode = leaveGameModeStandIn;
    windowing.exitProcess = onExit;
    audio = silentAudio;
}

void idleAt(int32_t timeMs)
{
    steadyClockMs = timeMs;
    onIdle();
}

void drawFrameAt(int32_t timeMs)
{
    idleAt(timeMs);
    displayFrame();
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

void drawOutputSubFrames(const FrameSchedule& schedule, int64_t k, const std::function<void()>& drawn)
{
    const size_t first = static_cast<size_t>(k) * schedule.subFrames;
    for (int i = 0; i < schedule.subFrames; ++i) {
        drawFrameAt(schedule.outputMs[first + i]);
        if (drawn) {
            drawn();
        }
    }
}

void drawMoment(int32_t atMs, int subFrames, const std::function<void()>& drawn)
{
    resetClock();
    const FrameSchedule schedule = scheduleAt(atMs, steadyFps, subFrames);
    replayBefore(schedule);
    drawOutputSubFrames(schedule, 0, drawn);
}
