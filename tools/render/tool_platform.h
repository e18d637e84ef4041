// The tool's stand-ins for the windowing and audio tables: the demo reads a steady
// clock the tool sets, redraws when the tool says, and never opens a sound device.
#pragma once

#include "sound_track.h"

#include <cstdint>

// The time the stand-in clock answers GLUT_ELAPSED_TIME with.
extern int32_t toolClockMs;
// What the demo's last call to start the music looked like.
extern MusicStart musicStartSeen;

// Installs the stand-ins; onSwap runs where the demo swaps buffers (may be null).
void installToolPlatform(void (*onSwap)());

// One idle call of the demo at the given time (onIdle only, no drawing).
void idleAt(int32_t timeMs);

// Where a steady run at fps starts the music, found by running the demo's own idle
// callback over the steady times below untilMs; leaves the clock as at start-up.
MusicStart findMusicStart(int32_t untilMs, int fps);
