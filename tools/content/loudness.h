// Loudness and peak measures of a stereo signal, as a broadcast loudness meter reads them.
#pragma once

#include <cstdint>

// Integrated loudness in LUFS (K-weighted, 400 ms blocks, absolute and relative gates).
// Returns -70 or lower for silence.
double integratedLoudness(const float* left, const float* right, int64_t frames, int rate);

// The highest peak of either channel, including the peaks between samples
// (four times oversampled), as a linear amplitude.
double truePeak(const float* left, const float* right, int64_t frames);

// Per-sample peak estimate of one channel: the largest magnitude of the sample and
// of the three interpolated points that follow it.
void interSamplePeaks(const float* samples, int64_t frames, float* peaks);
