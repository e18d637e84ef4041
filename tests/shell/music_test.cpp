// Music start-up and playback: the audio calls, their order and arguments, and
// the messages, against the recording stand-in of the audio layer.
#include "app/music.h"
#include "recording_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

const std::string version = "audio.getVersion";
const std::string deviceStart = "audio.init -1 44100 0 0 null";
const std::string streamAttempt = "audio.streamCreateFile 0 data/glasswind.mp3 0 0 4";
const std::string moduleAttempt = "audio.musicLoad 0 data/glasswind.mp3 0 0 516 1";

// Runs startAudio; returns the exit code it ended with, or -1 when it returned.
int runStartAudio()
{
    try {
        startAudio();
    } catch (const ProcessExit& exit) {
        return exit.code;
    }
    return -1;
}

TEST(StartAudio, LoadsTheMusicAsAStreamAndReturns)
{
    PlatformRecorder recorder;
    EXPECT_EQ(runStartAudio(), -1);
    EXPECT_EQ(recording().calls, (Calls{version, deviceStart, streamAttempt}));
    EXPECT_EQ(musicChannel, recording().streamHandle);
}

TEST(StartAudio, AnyOtherInterfaceVersionEndsBeforeTheDevice)
{
    for (uint32_t other : {0x02030000u, 0x02050000u, 0x02030011u, 0x00000204u}) {
        PlatformRecorder recorder;
        recording().audioVersion = other;
        EXPECT_EQ(runStartAudio(), 0) << std::hex << other;
        EXPECT_EQ(recording().calls, (Calls{version, "showMessage Error error", "exit 0"})) << std::hex << other;
        EXPECT_EQ(recording().messages, (std::vector<std::string>{"An incorrect version of BASS.DLL was loaded"}));
    }
    // The lower 16 bits are the library's own revision and do not matter.
    PlatformRecorder recorder;
    recording().audioVersion = 0x0204ffffu;
    EXPECT_EQ(runStartAudio(), -1);
}

TEST(StartAudio, ADeviceFailureShowsItsCodeAndEnds)
{
    PlatformRecorder recorder;
    recording().audioInitResult = 0;
    recording().audioErrorCode = 23;
    EXPECT_EQ(runStartAudio(), 0);
    // The code is read before the message is shown; nothing is loaded or freed.
    EXPECT_EQ(recording().calls,
              (Calls{version, deviceStart, "audio.errorGetCode", "showMessage Error none", "exit 0"}));
    EXPECT_EQ(recording().messages, (std::vector<std::string>{"Can't initialize device\n(error code: 23)"}));
}

TEST(StartAudio, AModuleLoadsSilentlyWhenTheStreamFails)
{
    PlatformRecorder recorder;
    recording().streamHandle = 0;
    EXPECT_EQ(runStartAudio(), -1);
    EXPECT_EQ(recording().calls, (Calls{version, deviceStart, streamAttempt, moduleAttempt}));
    EXPECT_TRUE(recording().messages.empty());
    EXPECT_EQ(musicChannel, recording().moduleHandle);
}

TEST(StartAudio, WhenBothFailTheModuleCodeIsShownAndTheDeviceFreed)
{
    PlatformRecorder recorder;
    recording().streamHandle = 0;
    recording().moduleHandle = 0;
    recording().streamErrorCode = 41;
    recording().moduleErrorCode = 2;
    EXPECT_EQ(runStartAudio(), 0);
    EXPECT_EQ(recording().calls, (Calls{version, deviceStart, streamAttempt, moduleAttempt, "audio.errorGetCode",
                                        "showMessage Error none", "audio.free", "exit 0"}));
    EXPECT_EQ(recording().messages, (std::vector<std::string>{"Can't play file\n(error code: 2)"}));
    EXPECT_EQ(musicChannel, 0u);
}

TEST(StartMusic, PlaysThenSetsTheByteOffset)
{
    PlatformRecorder recorder;
    musicChannel = 11;
    startMusic(5001);
    EXPECT_EQ(recording().calls, (Calls{"audio.channelPlay 11 0", "audio.channelSetPosition 11 5001 0"}));
}

} // namespace
