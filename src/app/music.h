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
// Shows the text with the audio layer's current error code.
void showAudioError(const char* text);
// Plays the loaded music on the demo clock; results are not examined. The position
// is the clock's count at the call, handed over as a byte offset (the music's start
// offset); the music is heard from it as if it had started at the music's start
// time, so a late call skips what is past instead of putting every beat late.
void startMusic(int64_t position);
