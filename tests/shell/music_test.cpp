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

// The stream comes first, a module silently second; a failure shows the code read
// just before the message (the recorder's stream fails with 41, its module with 2),
// frees a device it opened and ends with code 0.
TEST(StartAudio, LoadsTheStreamOrTheModuleOrShowsTheFailingCode)
{
    struct Case {
        int initResult;
        uint32_t stream, module;
        int exitCode;        // -1: startAudio returned
        Calls calls;         // after the version and the device
        const char* message; // shown with the code the layer gave
        int shownCode;
        uint32_t channel;
    };
    const std::string shown = "showMessage Error none";
    const std::string code = "audio.errorGetCode";
    const Case cases[] = {
        {1, 11, 22, -1, {streamAttempt}, nullptr, 0, 11},
        {1, 0, 22, -1, {streamAttempt, moduleAttempt}, nullptr, 0, 22},
        {1, 0, 0, 0, {streamAttempt, moduleAttempt, code, shown, "audio.free", "exit 0"}, "Can't play file", 2, 0},
        {0, 11, 22, 0, {code, shown, "exit 0"}, "Can't initialize device", 23, 0},
    };
    for (const Case& c : cases) {
        PlatformRecorder recorder;
        recording().audioInitResult = c.initResult;
        recording().audioErrorCode = 23;
        recording().streamHandle = c.stream;
        recording().moduleHandle = c.module;
        const std::string what = c.calls.back();
        EXPECT_EQ(runStartAudio(), c.exitCode) << what;
        Calls calls = {version, deviceStart};
        calls.insert(calls.end(), c.calls.begin(), c.calls.end());
        EXPECT_EQ(recording().calls, calls) << what;
        Calls messages;
        if (c.message != nullptr)
            messages.push_back(c.message + ("\n(error code: " + std::to_string(c.shownCode) + ")"));
        EXPECT_EQ(recording().messages, messages) << what;
        EXPECT_EQ(musicChannel, c.channel) << what;
    }
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

} // namespace
