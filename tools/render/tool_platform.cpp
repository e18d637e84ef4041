// Windowing and audio stand-ins: a clock the tool sets, and a silent audio table
// that notes where the demo starts the music.
#include "tool_platform.h"

#include "app/clock.h"
#include "atomic_file.h"
#include "frame_schedule.h"
#include "platform/audio.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>

int32_t toolClockMs = 0;
MusicStart musicStartSeen;

namespace {

void (*swapHook)() = nullptr;

int getStandIn(unsigned int query)
{
    if (query == GLUT_ELAPSED_TIME) {
        return toolClockMs;
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

void exitProcessStandIn(int)
{
    // The schedules stop at the last shown time, so the demo never gets here.
    removeAllPending();
    std::fprintf(stderr, "glasswind-render: the demo ended at %d ms\n", toolClockMs);
    std::exit(EXIT_FAILURE);
}

uint32_t silentGetVersion() { return audioVersion; }
int silentInit(int, uint32_t, uint32_t, void*, const void*) { return 1; }
int silentErrorGetCode() { return audioOk; }
constexpr uint32_t silentHandle = 1;
uint32_t silentStreamCreateFile(int, const void*, uint64_t, uint64_t, uint32_t) { return silentHandle; }
uint32_t silentMusicLoad(int, const void*, uint64_t, uint32_t, uint32_t, uint32_t) { return silentHandle; }
int silentChannelPlay(uint32_t, int)
{
    musicStartSeen.started = true;
    musicStartSeen.atMs = toolClockMs;
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

void installToolPlatform(void (*onSwap)())
{
    swapHook = onSwap;
    windowing = glutWindowing;
    windowing.get = getStandIn;
    windowing.postRedisplay = postRedisplayStandIn;
    windowing.swapBuffers = swapBuffersStandIn;
    windowing.leaveGameMode = leaveGameModeStandIn;
    windowing.exitProcess = exitProcessStandIn;
    audio = silentAudio;
}

void idleAt(int32_t timeMs)
{
    toolClockMs = timeMs;
    onIdle();
}

MusicStart findMusicStart(int32_t untilMs, int fps)
{
    musicStartSeen = MusicStart{};
    const int64_t calls = firstIdleCallFrom(untilMs, fps);
    for (int64_t n = 0; n < calls; ++n) {
        idleAt(steadyIdleTimeMs(n, fps));
    }
    const MusicStart found = musicStartSeen;
    resetClock();
    toolClockMs = 0;
    musicStartSeen = MusicStart{};
    return found;
}
