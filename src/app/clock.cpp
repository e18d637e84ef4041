// The demo clock: one idle callback writes the time, the pulses and the music flag.
#include "app/clock.h"

#include "app/music.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>

int32_t demoTimeMs = 0;
float beatPulseMs = 0.0f;
float beatOriginMs = 0.0f;
float fastPulseMs = 0.0f;
float fastOriginMs = 0.0f;
bool musicStarted = false;

void advancePulse(float* pulseMs, float* originMs, int32_t nowMs, float thresholdMs)
{
    if (*pulseMs > thresholdMs) {
        *originMs = static_cast<float>(nowMs);
    }
    *pulseMs = static_cast<float>(nowMs) - *originMs;
}

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

void resetClock()
{
    demoTimeMs = 0;
    beatPulseMs = 0.0f;
    beatOriginMs = 0.0f;
    fastPulseMs = 0.0f;
    fastOriginMs = 0.0f;
    musicStarted = false;
}
