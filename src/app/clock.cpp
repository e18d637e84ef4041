// The demo clock: the time, the pulses and the music flag the idle callback writes.
#include "app/clock.h"

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

void resetClock()
{
    demoTimeMs = 0;
    beatPulseMs = 0.0f;
    beatOriginMs = 0.0f;
    fastPulseMs = 0.0f;
    fastOriginMs = 0.0f;
    musicStarted = false;
}
