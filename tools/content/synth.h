// The instruments: each note of the score rendered dry, from its first sample on.
#pragma once

#include "score.h"

#include <cstdint>
#include <vector>

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

StereoBuffer makeStereoBuffer(int64_t frames);

// How much of a voice goes to the reverb and delay, and whether the kick ducks it.
struct VoiceRouting {
    float reverbSend;
    float delaySend;
    bool duckedByKick;
};

VoiceRouting voiceRouting(Voice voice);

// The dry sound of one note: frame 0 is the note's start sample, and the buffer runs
// on past the note's end for its release. seed makes the note's noise.
StereoBuffer renderNote(const NoteEvent& note, uint32_t seed);

double noteFrequency(int midiNote);
