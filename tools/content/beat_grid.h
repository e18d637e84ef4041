// The music's time grid: 135 beats a minute at 44 100 samples a second, counted
// from the first sample of the track (which the demo starts at 5 000 ms).
#pragma once

#include <cstdint>

constexpr int sampleRate = 44100;
constexpr int beatsPerMinute = 135;
// 44100 * 60 / 135 is a whole number, so every beat starts on an exact sample.
constexpr int64_t samplesPerBeat = int64_t{sampleRate} * 60 / beatsPerMinute;
static_assert(samplesPerBeat * beatsPerMinute == int64_t{sampleRate} * 60, "beat is not a whole sample count");

// The score is written in ticks of a 32nd note; a beat holds eight.
constexpr int ticksPerBeat = 8;
constexpr int64_t samplesPerTick = samplesPerBeat / ticksPerBeat;
static_assert(samplesPerTick * ticksPerBeat == samplesPerBeat, "tick is not a whole sample count");

// 432 beats: 192 s, a little past the end of the demo (191 s of music).
constexpr int trackBeats = 432;
constexpr int64_t trackSamples = trackBeats * samplesPerBeat;

constexpr int64_t sampleAtBeat(int beat) { return beat * samplesPerBeat; }
constexpr int64_t sampleAtTick(int64_t tick) { return tick * samplesPerTick; }
