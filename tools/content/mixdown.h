// From score to finished track: mixing buses, kick ducking, delay, reverb and mastering.
#pragma once

#include "score.h"
#include "synth.h"

#include <cstdint>
#include <vector>

constexpr uint32_t musicSeed = 135004;
// The MP3 reads about 0.3 LU quieter than the mix it was encoded from, and its
// peaks overshoot the mix's by up to about 0.7 dB: master a little louder and lower
// so that the file lands on -14 LUFS with its true peak under -1 dBTP.
constexpr double targetLoudnessLufs = -13.7;
constexpr double peakCeilingDb = -2.3;

// Mixes every note of the score into a stereo track of the given length, with the
// sends through a ping-pong delay and a reverb. Effects add tails only: each note
// still starts on its own sample.
StereoBuffer mixScore(const std::vector<NoteEvent>& score, int64_t frames, uint32_t seed);

// Brings the mix to the target loudness with its true peak under the ceiling, and
// fades out the last moments so the track ends in silence.
void masterTrack(StereoBuffer* mix, double targetLufs, double ceilingDb);

// Interleaved 16-bit stereo, rounded to nearest.
std::vector<int16_t> toPcm16(const StereoBuffer& mix);
