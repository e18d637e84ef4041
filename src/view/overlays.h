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
// Soft black bands along the top and bottom edges.
void drawLetterbox();
// A dark line over every second pixel row.
void drawScanlines();

// The flash's alpha at nowMs: 1 at the start, falling below 0 past 1 / ratePerMs.
float flashAlpha(int32_t nowMs, int32_t startMs, double ratePerMs);
// Where a letterbox band fades out: five sixths of the way from the centre to its edge.
float letterboxInnerEdge(float edge);
// The distance between scanlines in overlay units (two pixel rows in a landscape window).
float scanlineStep(int windowHeightPx);
// Calls line(y) for each scanline of a window this many pixels high, bottom to top:
// y starts at bottom and grows by scanlineStep in single precision while it is at
// most top, stopping early should the step no longer move it.
void walkScanlines(float bottom, float top, int windowHeightPx, void (*line)(float y));
