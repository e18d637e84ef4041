// The five light presets that move light 0 along the timeline.
#pragma once

#include <cstdint>

constexpr int lightPresetCount = 5;

// x, y, z, w of light 0; w is always 0 (a directional light).
extern float lightPosition[4];

int lightPresetForTime(int32_t t);
// Fills position with the preset's placement at time t.
void lightPositionFor(int preset, int32_t t, float position[4]);

// Picks the preset for demoTimeMs and hands light 0 its position.
void selectLightPreset();
void applyLightPreset(int lightPreset);
