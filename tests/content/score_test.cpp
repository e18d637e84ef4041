// The music's score against the demo's map of cuts and flashes: every marked beat
// carries its event on its exact sample, and the instruments sound from that sample on.
#include "app/clock.h"
#include "loudness.h"
#include "mixdown.h"
#include "scenes/flash_cues.h"
#include "score.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Beat n of the demo's grid: n * 60 / 135 s after the music's first sample.
int64_t gridSample(int beat) { return std::llround(beat * 60.0 / 135.0 * 44100.0); }

// The beat a demo moment falls on: the music's first sample is heard at musicStartMs,
// and the demo's cuts and flashes sit on the grid to the millisecond.
int beatOf(int32_t ms) { return static_cast<int>(std::lround((ms - musicStartMs) * 135.0 / 60000.0)); }

template <size_t count> std::vector<int> beatsOf(const int32_t (&times)[count])
{
    std::vector<int> beats;
    for (int32_t ms : times) beats.push_back(beatOf(ms));
    return beats;
}

const std::vector<NoteEvent>& score()
{
    static const std::vector<NoteEvent> notes = buildScore();
    return notes;
}

int countAt(Voice voice, int beat)
{
    return static_cast<int>(std::count_if(score().begin(), score().end(), [&](const NoteEvent& n) {
        return n.voice == voice && noteStartSample(n) == gridSample(beat);
    }));
}

std::vector<int64_t> startsOf(Voice voice, int fromBeat, int toBeat)
{
    std::vector<int64_t> starts;
    for (const NoteEvent& n : score()) {
        const int64_t s = noteStartSample(n);
        if (n.voice == voice && s >= gridSample(fromBeat) && s < gridSample(toBeat)) starts.push_back(s);
    }
    return starts;
}

TEST(BeatGrid, EveryBeatIsAWholeSampleOnTheDemosGrid)
{
    for (int beat = 0; beat <= trackBeats; ++beat) {
        ASSERT_EQ(sampleAtBeat(beat), gridSample(beat)) << "beat " << beat;
    }
    EXPECT_GE(trackSamples, std::llround(191.5 * 44100));
}

TEST(BeatGrid, FirstCutAndFlashTrainAreHitsAndNothingElseIs)
{
    const std::vector<int> hits = beatsOf(forestFlashTimesMs);
    for (int beat : hits) EXPECT_EQ(countAt(voiceHit, beat), 1) << "beat " << beat;
    const std::vector<int64_t> between = startsOf(voiceHit, 0, 67);
    EXPECT_EQ(between.size(), hits.size()) << "a hit off the flash train";
    EXPECT_EQ(countAt(voiceCrash, hits.front()), 1);
}

TEST(BeatGrid, SphereRowsStartACalmPassageWithoutDrums)
{
    EXPECT_GE(countAt(voicePad, 67), 3);
    EXPECT_EQ(countAt(voiceBell, 67), 1);
    for (Voice drum : {voiceKick, voiceClap, voiceSnare, voiceHatClosed, voiceHatOpen}) {
        EXPECT_TRUE(startsOf(drum, 57, 95).empty()) << "drum voice " << drum;
    }
}

TEST(BeatGrid, KickEntersWithTheBeatingSkyAndHatsDoubleWhenItSpeedsUp)
{
    EXPECT_TRUE(startsOf(voiceKick, 0, 95).empty());
    EXPECT_EQ(countAt(voiceKick, 95), 1);
    for (int beat = 95; beat < 127; ++beat) EXPECT_EQ(countAt(voiceKick, beat), 1) << "beat " << beat;

    // Hats (closed and open) run on eighths until beat 120 and on every sixteenth from there.
    const int64_t sixteenth = samplesPerBeat / 4;
    std::vector<int64_t> slow = startsOf(voiceHatClosed, 95, 120);
    ASSERT_FALSE(slow.empty());
    for (int64_t s : slow) EXPECT_EQ(s % (2 * sixteenth), 0) << "hat off the eighths at sample " << s;
    EXPECT_EQ(countAt(voiceHatClosed, 120), 1);
    std::vector<int64_t> fast = startsOf(voiceHatClosed, 120, 128);
    const std::vector<int64_t> open = startsOf(voiceHatOpen, 120, 128);
    fast.insert(fast.end(), open.begin(), open.end());
    std::sort(fast.begin(), fast.end());
    ASSERT_EQ(fast.size(), 8u * 4u);
    for (size_t i = 0; i < fast.size(); ++i) EXPECT_EQ(fast[i], gridSample(120) + static_cast<int64_t>(i) * sixteenth);
}

TEST(BeatGrid, SceneStartsAndEveryEighthBeatOfScenes4To7HaveACrash)
{
    for (int32_t startMs :
         {latticeSceneStartMs, risingFieldStartMs, blockFieldStartMs, restingFieldStartMs, wideGroundStartMs}) {
        const int beat = beatOf(startMs);
        EXPECT_EQ(countAt(voiceCrash, beat), 1) << "scene start at beat " << beat;
        EXPECT_GE(countAt(voiceKick, beat) + countAt(voiceHit, beat), 1) << "downbeat at beat " << beat;
    }
    for (const std::vector<int>& flashes :
         {beatsOf(latticeFlashTimesMs), beatsOf(blockFieldFlashTimesMs), beatsOf(restingFieldFlashTimesMs)}) {
        for (int beat : flashes) {
            EXPECT_EQ(countAt(voiceCrash, beat), 1) << "flash at beat " << beat;
        }
    }
    // Between the groove's crashes, none falls off the eight-beat flashes.
    for (int64_t s : startsOf(voiceCrash, 128, 192)) EXPECT_EQ(s % (8 * samplesPerBeat), 0);
}

TEST(BeatGrid, GrooveStopsForTheFadeAndALastChordOpensTheEndCard)
{
    EXPECT_TRUE(startsOf(voiceKick, 408, trackBeats).empty());
    EXPECT_TRUE(startsOf(voiceHatClosed, 408, trackBeats).empty());
    EXPECT_EQ(countAt(voiceKick, 407), 1);
    EXPECT_GE(countAt(voicePad, 408), 3);
    EXPECT_GE(countAt(voicePad, 416), 3);
    for (const NoteEvent& n : score()) {
        EXPECT_LE(noteStartSample(n) + noteLengthSamples(n), trackSamples) << "a note runs past the end";
    }
}

// The instruments must not add latency: a note's first sample is already sound.
TEST(Instruments, PercussionSoundsFromItsFirstSample)
{
    for (Voice voice : {voiceKick, voiceClap, voiceSnare, voiceHatClosed, voiceHatOpen, voiceCrash, voiceHit}) {
        const NoteEvent note{0, 2 * ticksPerBeat, voice, 45, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f};
        const StereoBuffer sound = renderNote(note, 1);
        ASSERT_GT(sound.left.size(), 0u);
        EXPECT_GT(std::fabs(sound.left[0]) + std::fabs(sound.right[0]), 1e-3f) << "voice " << voice;
    }
}

TEST(Instruments, MixAndMasterKeepAHitOnItsSample)
{
    const int beat = 2;
    const std::vector<NoteEvent> hit = {
        {beat * ticksPerBeat, 2 * ticksPerBeat, voiceHit, 45, 1.0f, 0.8f, 0.0f, 0.0f, 0.0f}};
    StereoBuffer mix = mixScore(hit, sampleAtBeat(8), musicSeed);
    masterTrack(&mix, -14.0, -2.0);
    const int64_t start = sampleAtBeat(beat);
    for (int64_t i = 0; i < start; ++i) ASSERT_EQ(mix.left[i], 0.0f) << "sound before the hit at " << i;
    EXPECT_GT(std::fabs(mix.left[start]), 0.01f);
}

TEST(Instruments, SameScoreAndSeedRenderTheSameSound)
{
    const std::vector<NoteEvent> notes = {{0, 4, voiceCrash, 60, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f},
                                          {4, 4, voicePad, 57, 0.5f, 0.5f, 0.3f, 0.0f, 0.0f}};
    const StereoBuffer a = mixScore(notes, sampleAtBeat(2), musicSeed);
    const StereoBuffer b = mixScore(notes, sampleAtBeat(2), musicSeed);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

// A bass tone with hard clicks on top, far too loud or far too quiet: mastering must
// land it on the target loudness with every peak, also between samples, under the ceiling.
TEST(Mastering, BringsAnyMixToTheTargetUnderTheCeilingAndFadesToSilence)
{
    const int64_t frames = 10 * sampleRate;
    const int64_t clickEvery = sampleRate / 2;
    const double ceilingDb = -2.0;
    for (double level : {0.02, 0.9}) {
        StereoBuffer mix = makeStereoBuffer(frames);
        for (int64_t i = 0; i < frames; ++i) {
            const double tone = level * std::sin(2.0 * M_PI * 55.0 * i / sampleRate);
            const double click = (i % clickEvery) < 20 ? 4.0 * level : 0.0;
            mix.left[i] = static_cast<float>(tone + click);
            mix.right[i] = static_cast<float>(tone - click);
        }
        masterTrack(&mix, -14.0, ceilingDb);
        EXPECT_NEAR(integratedLoudness(mix.left.data(), mix.right.data(), frames, sampleRate), -14.0, 0.1)
            << "level " << level;
        EXPECT_LE(20.0 * std::log10(truePeak(mix.left.data(), mix.right.data(), frames)), ceilingDb + 0.1)
            << "level " << level;
        EXPECT_EQ(mix.left.back(), 0.0f);
        EXPECT_EQ(mix.right.back(), 0.0f);
    }
}

TEST(Loudness, SineReadsItsKnownLoudnessAndPeakBetweenSamples)
{
    // A 997 Hz sine at amplitude 0.1 in both channels reads -20 LUFS.
    const int64_t frames = 5 * sampleRate;
    std::vector<float> sine(frames);
    for (int64_t i = 0; i < frames; ++i)
        sine[i] = static_cast<float>(0.1 * std::sin(2.0 * M_PI * 997.0 * i / sampleRate));
    EXPECT_NEAR(integratedLoudness(sine.data(), sine.data(), frames, sampleRate), -20.0, 0.05);
    std::vector<float> silence(frames, 0.0f);
    EXPECT_LE(integratedLoudness(silence.data(), silence.data(), frames, sampleRate), -70.0);

    // A quarter-rate sine sampled 45 degrees off its crests: samples at 0.707, true peak 1.
    std::vector<float> offset(4096);
    for (size_t i = 0; i < offset.size(); ++i) offset[i] = static_cast<float>(std::sin(M_PI / 2.0 * i + M_PI / 4.0));
    EXPECT_NEAR(truePeak(offset.data(), offset.data(), static_cast<int64_t>(offset.size())), 1.0, 0.02);
}

} // namespace
