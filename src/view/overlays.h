// Full-screen overlays: flat fills, beat flashes, letterbox bands and scanlines.
#pragma once

#include <cstdint>

// Alpha lost per millisecond after a flash starts.
constexpr double slowFlashRate = 0.0032;
constexpr double mediumFlashRate = 0.0064;
constexpr double fastFlashRate = 0.0128;

// One quad over the whole overlay box; the overlay mode must be in force.
void fillOverlay(float red, float green, float blue, float alpha);
// A white flash, opaque at startMs and fading at ratePerMs; nothing before startMs.
void drawFlash(int32_t startMs, double ratePerMs);
void drawLetterbox();
void drawScanlines();
