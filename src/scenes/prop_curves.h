// The props' values over time: how far the wave field stands below its rest, and
// the sky colour a pulse gives.
#pragma once

#include <cstdint>

// The time at which the wave field is furthest below its rest height.
constexpr int32_t waveRiseMs = 90330;

// How far below its rest height the wave field stands at time t (0 from rest on).
float waveRiseOffset(int32_t t);

struct ClearColour {
    float red;
    float green;
    float blue;
};

// The clear colour for a pulse value and rate, before OpenGL clamps it.
ClearColour pulseClearColour(float pulseMs, double ratePerMs);
