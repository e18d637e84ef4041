// The music: checked and loaded silent at start-up, started once by the clock.
#pragma once

#include <cstdint>

extern const char* const musicFilePath;
extern uint32_t musicChannel;

// Returns only with the device open and the music loaded; otherwise shows a
// message and ends the process with exit code 0.
void startAudio();
// True when musicChannel holds a loaded music; on failure the message is shown.
bool loadMusic();
// Plays the loaded music on the demo clock; results are not examined. The position
// is the clock's count at the call; the music is heard from where it would be had
// it started from its beginning at the music's start time, so a call a frame late
// skips the music's first milliseconds instead of putting every beat that late.
void startMusic(int64_t position);
