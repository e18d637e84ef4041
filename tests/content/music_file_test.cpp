// The committed data/glasswind.mp3 as a decoder hands it to a listener: long enough,
// at its loudness, and on the beat grid from its first sample (no encoder delay).
#include "beat_grid.h"
#include "loudness.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Decoded {
    int rate = 0;
    int channels = 0;
    std::vector<float> left;
    std::vector<float> right;
};

const Decoded& music()
{
    static const Decoded decoded = [] {
        Decoded d;
        SF_INFO info{};
        SNDFILE* file = sf_open(CONTENT_DATA_DIR "/glasswind.mp3", SFM_READ, &info);
        if (!file) return d;
        d.rate = info.samplerate;
        d.channels = info.channels;
        std::vector<float> interleaved(static_cast<size_t>(info.frames * info.channels));
        const sf_count_t frames = sf_readf_float(file, interleaved.data(), info.frames);
        sf_close(file);
        if (info.channels != 2) return d;
        for (sf_count_t i = 0; i < frames; ++i) {
            d.left.push_back(interleaved[2 * i]);
            d.right.push_back(interleaved[2 * i + 1]);
        }
        return d;
    }();
    return decoded;
}

int64_t frames() { return static_cast<int64_t>(music().left.size()); }

TEST(MusicFile, IsStereoAt44100HzAndOutlastsTheDemo)
{
    ASSERT_EQ(music().channels, 2) << "cannot decode data/glasswind.mp3";
    EXPECT_EQ(music().rate, sampleRate);
    EXPECT_GE(frames(), std::llround(191.5 * sampleRate));
    // The info tag lets the decoder drop the encoder's delay and padding exactly.
    EXPECT_EQ(frames(), trackSamples);
}

TEST(MusicFile, FirstHitLandsOnBeat32)
{
    ASSERT_EQ(music().channels, 2);
    // The hit is the loudest thing within 100 ms of its beat; it starts where the level
    // first passes half of that maximum. Encoder delay would show as ~1100 samples late.
    const int64_t beat = sampleAtBeat(32);
    const int64_t reach = sampleRate / 10;
    float loudest = 0.0f;
    for (int64_t i = beat - reach; i < beat + reach; ++i) {
        loudest = std::max({loudest, std::fabs(music().left[i]), std::fabs(music().right[i])});
    }
    int64_t onset = -1;
    for (int64_t i = beat - reach; i < beat + reach && onset < 0; ++i) {
        if (std::max(std::fabs(music().left[i]), std::fabs(music().right[i])) > 0.5f * loudest) onset = i;
    }
    EXPECT_NEAR(static_cast<double>(onset), static_cast<double>(beat), 4.0);
}

TEST(MusicFile, IsAtStreamingLoudnessWithHeadroom)
{
    ASSERT_EQ(music().channels, 2);
    const double loudness = integratedLoudness(music().left.data(), music().right.data(), frames(), sampleRate);
    EXPECT_NEAR(loudness, -14.0, 0.5);
    const double peakDb = 20.0 * std::log10(truePeak(music().left.data(), music().right.data(), frames()));
    EXPECT_LE(peakDb, -1.0);
}

TEST(MusicFile, StartsAndEndsQuietly)
{
    ASSERT_EQ(music().channels, 2);
    // No click at the start; the fade has reached silence at the very end.
    EXPECT_LT(std::fabs(music().left[0]) + std::fabs(music().right[0]), 0.01f);
    float tail = 0.0f;
    for (int64_t i = frames() - sampleRate / 100; i < frames(); ++i) {
        tail = std::max({tail, std::fabs(music().left[i]), std::fabs(music().right[i])});
    }
    EXPECT_LT(tail, 0.01f);
}

} // namespace
