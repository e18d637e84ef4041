// The demo clock and its two sawtooth pulses, advanced by the idle callback.
#pragma once

#include <cstdint>

constexpr int32_t demoEndMs = 196000;  // the last moment drawn: the demo ends on the first call past this
constexpr int32_t musicStartMs = 5000; // music starts on the first call past this
constexpr float beatPulseThresholdMs = 420.0f;
constexpr float fastPulseThresholdMs = 155.0f;

extern int32_t demoTimeMs;
extern float beatPulseMs;
extern float beatOriginMs;
extern float fastPulseMs;
extern float fastOriginMs;
extern bool musicStarted;

// One step of a sawtooth pulse: restarts (origin = now) when the value left by
// the previous call is above the threshold, then measures from the origin.
void advancePulse(float* pulseMs, float* originMs, int32_t nowMs, float thresholdMs);

// Puts the clock, pulses and music flag back to their start-up values.
void resetClock();
