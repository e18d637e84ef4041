// What the audio layer makes of SDL's drivers and the servers behind them: the
// delay from a callback to its buffer being heard, and the server's name read.
#include "platform/audio_drivers.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t bufferFrames = 1024;

struct Heard {
    const char* driver;
    SoundServer server;
    uint64_t frames; // 1 024-frame buffers at 44.1 kHz: 512 frames are 11.6 ms
    bool pacesItself;
};

TEST(AudioDrivers, BufferHeardAfterCallbackByDriverAndServer)
{
    const Heard table[] = {
        {"disk", SoundServer::unknown, 0, true},
        {"dummy", SoundServer::pipeWire, 0, true}, // a server name changes nothing off the servers
        {"alsa", SoundServer::unknown, 0, false},
        {nullptr, SoundServer::unknown, 0, false},
        {"pulseaudio", SoundServer::pulseAudio, 512, false},
        {"pulseaudio", SoundServer::unknown, 512, false}, // no answer: taken as PulseAudio
        {"pulseaudio", SoundServer::pipeWire, 1024, false},
        {"pipewire", SoundServer::unknown, 512, false}, // SDL's own PipeWire backend
    };
    for (const Heard& h : table) {
        SCOPED_TRACE(h.driver == nullptr ? "(none)" : h.driver);
        EXPECT_EQ(heardAfterCallbackFrames(h.driver, h.server, bufferFrames), h.frames);
        EXPECT_EQ(driverPacesItself(h.driver), h.pacesItself);
    }
    EXPECT_EQ(heardAfterCallbackFrames("pulseaudio", SoundServer::pipeWire, 2048), 2048u);
}

TEST(AudioDrivers, ServerNamesAsTheServersGiveThem)
{
    EXPECT_EQ(soundServerNamed("pulseaudio"), SoundServer::pulseAudio);
    EXPECT_EQ(soundServerNamed("PulseAudio (on PipeWire 0.3.65)"), SoundServer::pipeWire);
    EXPECT_EQ(soundServerNamed("PulseAudio (on PipeWire 1.2.7)"), SoundServer::pipeWire);
    EXPECT_EQ(soundServerNamed(""), SoundServer::unknown);
    EXPECT_EQ(soundServerNamed(nullptr), SoundServer::unknown);
    EXPECT_TRUE(driverSpeaksPulse("pulseaudio"));
    EXPECT_FALSE(driverSpeaksPulse("pipewire"));
}

} // namespace
