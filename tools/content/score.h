// The score of the music: every note of every instrument, placed on the beat grid.
#pragma once

#include "beat_grid.h"

#include <cstdint>
#include <vector>

enum Voice {
    voiceKick,
    voiceClap,
    voiceSnare,
    voiceHatClosed,
    voiceHatOpen,
    voiceCrash,
    voiceHit,   // impact: a falling boom, a noise burst and a power-chord stab
    voiceRiser, // noise swept upward over the note's whole length
    voiceBass,
    voicePad,
    voicePluck,
    voiceLead,
    voiceBell,
    voiceDrone,
    voiceCount
};

struct NoteEvent {
    int64_t startTick;
    int64_t lengthTicks;
    Voice voice;
    int note;             // MIDI note number (69 is A 440 Hz)
    float velocity;       // 0 .. 1
    float brightness;     // 0 .. 1, how far the voice's filter opens
    float pan;            // -1 left .. 1 right
    float attackSeconds;  // 0: the voice's own attack
    float releaseSeconds; // 0: the voice's own release
};

inline int64_t noteStartSample(const NoteEvent& event) { return sampleAtTick(event.startTick); }
inline int64_t noteLengthSamples(const NoteEvent& event) { return sampleAtTick(event.lengthTicks); }

// The whole track, sorted by start, then by voice.
std::vector<NoteEvent> buildScore();
