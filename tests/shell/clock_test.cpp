// The idle callback: clock, pulses, the end of the demo and the one-time music trigger.
#include "app/clock.h"
#include "app/idle.h"
#include "app/music.h"
#include "recording_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Runs onIdle with the windowing clock at t and returns whether it asked to exit.
bool idleAt(int t)
{
    recording().elapsedMs = t;
    try {
        onIdle();
    } catch (const ProcessExit&) {
        return true;
    }
    return false;
}

int countCalls(const std::string& prefix)
{
    const auto& calls = recording().calls;
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

TEST(Pulses, AtA16msCadenceRestartEvery448And176ms)
{
    PlatformRecorder recorder;
    std::vector<int> beatRestarts;
    std::vector<int> fastRestarts;
    for (int t = 0; t <= 2000; t += 16) {
        idleAt(t);
        if (beatPulseMs == 0.0f && t > 0) beatRestarts.push_back(t);
        if (fastPulseMs == 0.0f && t > 0) fastRestarts.push_back(t);
        if (t == 432) {
            EXPECT_EQ(beatPulseMs, 432.0f);
        }
        if (t == 160) {
            EXPECT_EQ(fastPulseMs, 160.0f);
        }
    }
    ASSERT_GE(beatRestarts.size(), 3u);
    EXPECT_EQ(beatRestarts[0], 448);
    EXPECT_EQ(beatRestarts[1], 896);
    EXPECT_EQ(beatRestarts[2], 1344);
    ASSERT_GE(fastRestarts.size(), 3u);
    EXPECT_EQ(fastRestarts[0], 176);
    EXPECT_EQ(fastRestarts[1], 352);
    EXPECT_EQ(fastRestarts[2], 528);
}

// A value exactly at the threshold does not restart; one above it restarts from the call's own time.
TEST(Pulses, OnlyAValueAboveTheThresholdRestarts)
{
    struct Case {
        float pulse, origin;
        int now;
        float threshold, wantOrigin, wantPulse;
    };
    const Case cases[] = {
        {420.0f, 0.0f, 430, beatPulseThresholdMs, 0.0f, 430.0f},
        {430.0f, 0.0f, 440, beatPulseThresholdMs, 440.0f, 0.0f},
        {155.0f, 0.0f, 160, fastPulseThresholdMs, 0.0f, 160.0f},
        {156.0f, 10.0f, 160, fastPulseThresholdMs, 160.0f, 0.0f},
    };
    for (Case c : cases) {
        advancePulse(&c.pulse, &c.origin, c.now, c.threshold);
        EXPECT_EQ(c.origin, c.wantOrigin) << "from " << c.wantPulse;
        EXPECT_EQ(c.pulse, c.wantPulse) << "at " << c.now;
    }
}

TEST(Pulses, AStallGivesOneHighValueThenZero)
{
    PlatformRecorder recorder;
    idleAt(100);
    idleAt(2100);
    EXPECT_EQ(beatPulseMs, 2100.0f);
    EXPECT_EQ(fastPulseMs, 2100.0f);
    idleAt(2116);
    EXPECT_EQ(beatPulseMs, 0.0f);
    EXPECT_EQ(fastPulseMs, 0.0f);
    EXPECT_EQ(beatOriginMs, 2116.0f);
}

// A first call already past the end ends the demo before the music could start.
TEST(Clock, EndsOnTheFirstCallPast196000WithCodeZero)
{
    PlatformRecorder recorder;
    EXPECT_TRUE(idleAt(196001));
    EXPECT_FALSE(musicStarted);
    EXPECT_EQ(recording().calls, (std::vector<std::string>{"postRedisplay", "leaveGameMode", "exit 0"}));

    PlatformRecorder again;
    EXPECT_FALSE(idleAt(196000));
    EXPECT_EQ(countCalls("exit"), 0);
}

TEST(MusicTrigger, StartsOnceOnTheFirstCallPast5000)
{
    PlatformRecorder recorder;
    musicChannel = 11;
    idleAt(4990);
    idleAt(5000);
    EXPECT_FALSE(musicStarted);
    EXPECT_EQ(countCalls("audio."), 0);

    idleAt(5001);
    EXPECT_TRUE(musicStarted);
    const auto& calls = recording().calls;
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "audio.channelPlay 11 0");
    // The music started at 5000 is 1 ms in at 5001: 44 frames (44.1 whole) of
    // 44.1 kHz stereo, 176 bytes.
    EXPECT_EQ(calls.back(), "audio.channelSetPosition 11 176 0");

    idleAt(5017);
    idleAt(9000);
    EXPECT_EQ(countCalls("audio.channelPlay"), 1);
    EXPECT_EQ(countCalls("postRedisplay"), 5) << "every call requests a redraw";
}

struct TriggerCase {
    const char* what;
    int frameRead;    // the read that becomes demoTimeMs
    int triggerRead;  // the fresh read compared with 5000
    int positionRead; // the read handed over as the byte position
    const char* lastCall;
};

TEST(MusicTrigger, EachOfTheThreeClockReadsHasItsOwnJob)
{
    const TriggerCase cases[] = {
        // The position read, 5003, is 3 ms in: 132 frames (132.3 whole), 528 bytes.
        {"fresh read past 5000, frame time not", 4990, 5001, 5003, "audio.channelSetPosition 0 528 0"},
        {"frame time past 5000, fresh read not", 5002, 4999, 5004, "postRedisplay"},
        // A first call 2352 ms late skips 103 723 frames (2.352 s x 44 100, whole), 414 892 bytes.
        {"late first call", 7350, 7351, 7352, "audio.channelSetPosition 0 414892 0"},
    };
    for (const TriggerCase& c : cases) {
        PlatformRecorder recorder;
        recording().nextElapsedMs = {c.frameRead, c.triggerRead, c.positionRead};
        idleAt(c.frameRead);
        EXPECT_EQ(demoTimeMs, c.frameRead) << c.what;
        EXPECT_EQ(recording().calls.back(), c.lastCall) << c.what;
    }
}

} // namespace
