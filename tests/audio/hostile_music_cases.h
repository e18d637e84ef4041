// The hostile music table: whatever may lie where the music belongs, each case a
// file maker and what the decoder makes of it. The decoder's tests check it on
// Linux; the Windows build's decoder must give the same results under Wine.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr int playsAnyLength = -1; // the file plays; its length is not pinned
constexpr int refusedOrPlays = -2; // either result is right (a cut-off file)
constexpr int pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

using Maker = std::function<bool(const std::string& path)>;

struct HostileCase {
    const char* label;
    Maker make;
    int code;       // audioOk when it plays
    int64_t frames; // at 44 100 Hz, or playsAnyLength / refusedOrPlays
};

extern const HostileCase hostileCases[];
extern const size_t hostileCaseCount;

// A sound file of testSignal in the given libsndfile format.
Maker sound(int format, int rate, int channels, int frames);
std::string readAll(const std::string& path);
