// The idle callback: reads the windowing clock into the demo clock, moves the
// pulses on, and ends the demo or starts the music when their time comes.
#include "app/idle.h"

#include "app/clock.h"
#include "app/music.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>

void onIdle()
{
    demoTimeMs = windowing.get(GLUT_ELAPSED_TIME);
    windowing.postRedisplay();

    advancePulse(&beatPulseMs, &beatOriginMs, demoTimeMs, beatPulseThresholdMs);
    advancePulse(&fastPulseMs, &fastOriginMs, demoTimeMs, fastPulseThresholdMs);

    if (demoTimeMs > demoEndMs) {
        windowing.leaveGameMode();
        windowing.exitProcess(0);
        return;
    }

    // A fresh read of the clock, not demoTimeMs; the position is a third read,
    // handed over as a byte count, so the music starts from (nearly) its beginning.
    if (windowing.get(GLUT_ELAPSED_TIME) > musicStartMs && !musicStarted) {
        musicStarted = true;
        const int64_t position = windowing.get(GLUT_ELAPSED_TIME);
        startMusic(position);
    }
}
