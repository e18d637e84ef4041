// Whole-file decoding of the music to 16-bit stereo, shared by the audio layer
// and by tools that need the sound track itself.
#pragma once

#include <cstdint>
#include <vector>

// Decodes a sampled stream (or, failing that, a tracker module) to interleaved
// 16-bit stereo at outputRate. On failure returns false and sets errorCode to
// one of the audio layer's error codes.
bool decodeMusicFile(const char* path, uint32_t outputRate, std::vector<int16_t>* stereoSamples,
                     int* errorCode);
