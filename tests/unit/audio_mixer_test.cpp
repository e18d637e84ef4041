// The audio layer's mixer without a device: the held start after play, a start
// placed to the frame, following a drifting device clock, clipping, handles, and
// buffers longer than its own block. (The disk-driver tests play it for real.)
#include "platform/audio.h"
#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A stereo sound whose frame i holds (i + 1, -(i + 1)), so every frame is telling.
std::vector<int16_t> countingSound(int frames, int scale = 1)
{
    std::vector<int16_t> sound;
    for (int i = 0; i < frames; ++i) {
        sound.push_back(static_cast<int16_t>((i + 1) * scale));
        sound.push_back(static_cast<int16_t>(-(i + 1) * scale));
    }
    return sound;
}

std::vector<int16_t> mixFrames(uint32_t frames, uint64_t nowMs)
{
    std::vector<int16_t> out(frames * audioOutputChannels, 12345);
    mixChannels(out.data(), frames, nowMs);
    return out;
}

// The left samples of a mix, which name the frames played.
std::vector<int> leftSide(const std::vector<int16_t>& mix)
{
    std::vector<int> left;
    for (size_t i = 0; i < mix.size(); i += audioOutputChannels) left.push_back(mix[i]);
    return left;
}

struct MixerTest : ::testing::Test {
    void SetUp() override { clearMixChannels(); }
    void TearDown() override { clearMixChannels(); }
};

TEST_F(MixerTest, APlayIsHeldUntilThePositionComesOrTheHoldPasses)
{
    auto sound = countingSound(100);
    const uint32_t handle = addMixChannel(&sound, false);
    playMixChannel(handle, false, 1000);
    // The audio thread runs between play and set-position: silence, nothing consumed.
    EXPECT_EQ(leftSide(mixFrames(4, 1000 + playStartHoldMs - 1)), (std::vector<int>(4, 0)));
    setMixChannelFrame(handle, 10);
    EXPECT_EQ(leftSide(mixFrames(2, 1000 + playStartHoldMs - 1)), (std::vector<int>{11, 12}));

    // A play with no position after it sounds from where it stands once the hold has passed.
    clearMixChannels();
    auto third = countingSound(100, 3);
    const uint32_t later = addMixChannel(&third, false);
    playMixChannel(later, false, 5000);
    EXPECT_EQ(leftSide(mixFrames(2, 5000 + playStartHoldMs - 1)), (std::vector<int>{0, 0}));
    EXPECT_EQ(leftSide(mixFrames(2, 5000 + playStartHoldMs)), (std::vector<int>{3, 6}));
}

// A start placed at an output frame: silence up to it, then the sound from its
// position, across buffer boundaries. Worked by hand on 4-frame buffers: a start
// 6 frames on leaves the first buffer silent and two frames of the second.
struct PlacedStart {
    const char* what;
    int64_t startsAfter;          // output frames from the first buffer's start
    std::vector<int> firstBuffer; // left samples: frame i of the sound is i + 1
    std::vector<int> secondBuffer;
};

TEST_F(MixerTest, APlacedStartSoundsFromItsFrameOn)
{
    const std::vector<PlacedStart> cases = {
        {"at once", 0, {11, 12, 13, 14}, {15, 16, 17, 18}},
        {"one frame on", 1, {0, 11, 12, 13}, {14, 15, 16, 17}},
        {"last frame of the first buffer", 3, {0, 0, 0, 11}, {12, 13, 14, 15}},
        {"first frame of the second buffer", 4, {0, 0, 0, 0}, {11, 12, 13, 14}},
        {"inside the second buffer", 6, {0, 0, 0, 0}, {0, 0, 11, 12}},
        {"past both", 9, {0, 0, 0, 0}, {0, 0, 0, 0}},
        // Frames mixed already: the sound goes on from where it would be by now.
        {"one frame ago", -1, {12, 13, 14, 15}, {16, 17, 18, 19}},
        {"three frames ago", -3, {14, 15, 16, 17}, {18, 19, 20, 21}},
    };
    constexpr uint32_t bufferFrames = 4;
    constexpr uint64_t fromFrame = 10;
    mixFrames(bufferFrames, 0); // so that there is a past to place a start in
    for (const PlacedStart& c : cases) {
        clearMixChannels();
        auto sound = countingSound(100);
        const uint32_t handle = addMixChannel(&sound, false);
        playMixChannel(handle, false, 0);
        setMixChannelFrame(handle, fromFrame);
        ASSERT_EQ(
            startMixChannelAt(handle, static_cast<uint64_t>(static_cast<int64_t>(mixedOutputFrames()) + c.startsAfter)),
            audioOk)
            << c.what;
        EXPECT_EQ(leftSide(mixFrames(bufferFrames, 0)), c.firstBuffer) << c.what;
        EXPECT_EQ(leftSide(mixFrames(bufferFrames, 0)), c.secondBuffer) << c.what;
    }
    EXPECT_EQ(startMixChannelAt(0, 0), audioErrorHandle);
}

// An output with a deep queue takes back what it queued past the frame heard
// now and has it mixed again. Worked by hand on two 4-frame buffers (output
// frames 0 to 7) with a sound placed to start at soundAt (-1: none): only frames
// in which nothing sounded can be taken back.
struct Rewind {
    const char* what;
    int64_t soundAt;
    uint64_t rewindTo;
    bool accepted;
};

TEST_F(MixerTest, OnlyFramesInWhichNothingSoundedAreTakenBack)
{
    const std::vector<Rewind> cases = {
        {"silence, to the middle", -1, 4, true},       {"silence, to the start", -1, 0, true},
        {"to where it stands", -1, 8, true},           {"ahead of the output", -1, 9, false},
        {"a sound in the second buffer", 6, 4, false}, {"to after the sound's buffer", 6, 8, true},
        {"a sound not yet sounded", 12, 4, true},
    };
    constexpr uint32_t bufferFrames = 4;
    for (const Rewind& c : cases) {
        clearMixChannels();
        const uint64_t origin = mixedOutputFrames();
        auto sound = countingSound(100);
        const uint32_t handle = addMixChannel(&sound, false);
        if (c.soundAt >= 0) {
            playMixChannel(handle, false, 0);
            setMixChannelFrame(handle, 0);
            startMixChannelAt(handle, origin + static_cast<uint64_t>(c.soundAt));
        }
        mixFrames(bufferFrames, 0);
        mixFrames(bufferFrames, 0);
        EXPECT_EQ(rewindMixOutput(origin + c.rewindTo), c.accepted) << c.what;
        EXPECT_EQ(mixedOutputFrames(), origin + (c.accepted ? c.rewindTo : 2 * bufferFrames)) << c.what;
    }
    // Taken back over silence to frame 4 and placed there from frame 10: the
    // next buffer mixed, which replaces output frames 4 to 7, starts with it.
    clearMixChannels();
    const uint64_t origin = mixedOutputFrames();
    mixFrames(2 * bufferFrames, 0);
    auto sound = countingSound(100);
    const uint32_t handle = addMixChannel(&sound, false);
    ASSERT_TRUE(rewindMixOutput(origin + 4));
    playMixChannel(handle, false, 0);
    setMixChannelFrame(handle, 10);
    startMixChannelAt(handle, origin + 4);
    EXPECT_EQ(leftSide(mixFrames(bufferFrames, 0)), (std::vector<int>{11, 12, 13, 14}));
}

// A placed sound told to stand some frames off where plain playing puts it.
// Worked by hand on 128-frame buffers from frame 1000 (left sample i + 1), with
// a 64-frame fade: a move of s frames blends its way along the first 64 frames
// and goes on from frame 1064 + s, sample 1065 + s. The fade's first frame is a
// 65th of the way: 1001 + 900 / 65 = 1014 (truncated) for a jump of 900.
struct Follow {
    const char* what;
    int64_t ahead;
    std::vector<int> samplesAt0And64; // of the first buffer
    int firstOfBuffer51;              // where fifty buffers have left it
};

TEST_F(MixerTest, APlacedSoundFollowsTheDeviceClock)
{
    const std::vector<Follow> cases = {
        {"under a millisecond: left alone", 43, {1001, 1065}, 1000 + 50 * 128 + 1},
        {"50 behind: a frame a buffer, then no more", 50, {1001, 1066}, 1000 + 50 * 128 + 50 + 1},
        {"50 ahead: a frame repeated a buffer", -50, {1001, 1064}, 1000 + 50 * 128 - 50 + 1},
        {"a stall of 10 ms or more: all at once", 900, {1014, 1965}, 1000 + 50 * 128 + 900 + 1},
        {"as far ahead: all at once back", -900, {988, 165}, 1000 + 50 * 128 - 900 + 1},
    };
    for (const Follow& c : cases) {
        clearMixChannels();
        auto sound = countingSound(20000);
        const uint32_t handle = addMixChannel(&sound, false);
        playMixChannel(handle, false, 0);
        setMixChannelFrame(handle, 1000);
        startMixChannelAt(handle, mixedOutputFrames());
        ASSERT_EQ(followMixChannel(handle, c.ahead), audioOk);
        const auto first = leftSide(mixFrames(128, 0));
        EXPECT_EQ((std::vector<int>{first[0], first[64]}), c.samplesAt0And64) << c.what;
        for (int buffer = 2; buffer <= 50; ++buffer) mixFrames(128, 0);
        EXPECT_EQ(leftSide(mixFrames(128, 0))[0], c.firstOfBuffer51) << c.what;
    }
    EXPECT_EQ(followMixChannel(0, 1), audioErrorHandle);
}

TEST_F(MixerTest, ChannelsAddAndClipAtTheSixteenBitLimits)
{
    auto loud = std::vector<int16_t>{30000, -30000, 100, -100};
    auto louder = std::vector<int16_t>{30000, -30000, 200, -200};
    const uint32_t a = addMixChannel(&loud, false);
    const uint32_t b = addMixChannel(&louder, false);
    for (uint32_t handle : {a, b}) {
        playMixChannel(handle, false, 0);
        setMixChannelFrame(handle, 0);
    }
    EXPECT_EQ(mixFrames(2, 0), (std::vector<int16_t>{32767, -32768, 300, -300}));
}

TEST_F(MixerTest, PositionsAndHandlesAreChecked)
{
    auto sound = countingSound(10);
    const uint32_t handle = addMixChannel(&sound, false);
    EXPECT_EQ(setMixChannelFrame(handle, 9), audioOk);
    EXPECT_EQ(setMixChannelFrame(handle, 10), audioErrorPosition);
    EXPECT_EQ(setMixChannelFrame(handle + 1, 0), audioErrorHandle);
    EXPECT_EQ(playMixChannel(0, false, 0), audioErrorHandle);
    // Handles are not reused once their sound is dropped.
    clearMixChannels();
    auto next = countingSound(10);
    EXPECT_NE(addMixChannel(&next, false), handle);
    EXPECT_EQ(playMixChannel(handle, false, 0), audioErrorHandle);
    // Every slot taken: the next sound is refused, not dropped over another.
    for (int i = 1; i < mixChannelCount; ++i) {
        auto more = countingSound(1);
        EXPECT_NE(addMixChannel(&more, false), 0u);
    }
    auto tooMany = countingSound(1);
    EXPECT_EQ(addMixChannel(&tooMany, false), 0u);
}

TEST_F(MixerTest, OutputLongerThanOneMixBlockIsFilledWhole)
{
    auto sound = countingSound(3);
    const uint32_t handle = addMixChannel(&sound, true);
    playMixChannel(handle, false, 0);
    setMixChannelFrame(handle, 0);
    const auto mix = leftSide(mixFrames(20000, 0));
    for (size_t i = 0; i < mix.size(); ++i) {
        ASSERT_EQ(mix[i], static_cast<int>(i % 3) + 1) << "frame " << i;
    }
}

} // namespace
