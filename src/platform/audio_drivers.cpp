// SDL's audio drivers and the sound servers behind them, by name, and the delay
// from a callback to its buffer being heard through each, as measured on them.
#include "platform/audio_drivers.h"

#include <cstring>

namespace {

const char* const pulseDrivers[] = {"pulseaudio"};
const char* const selfPacedDrivers[] = {"disk", "dummy"};
const char* const serverDrivers[] = {"pulseaudio", "pipewire"};
// PipeWire's PulseAudio service names itself so in the server's name.
const char* const pipeWireMark = "PipeWire";

// SDL's sound-server backends ask the server for one device buffer of latency
// in all. PulseAudio spends about half of it in its sink and the rest in the
// stream's queue, which has room for a callback's buffer when it runs, so what a
// callback mixes is heard about half a buffer later: 13.6 ms after the callback
// on a null sink with a 23.2 ms buffer. PipeWire's PulseAudio service keeps the
// whole of it queued in the stream ahead of the graph, so there a buffer is
// heard a whole buffer later: 23.4 ms. The other drivers play a buffer from
// when it is filled.
constexpr uint64_t pulseAudioShareOfBuffer = 2;
constexpr uint64_t pipeWireShareOfBuffer = 1;

template <size_t count> bool isOneOf(const char* const (&names)[count], const char* name)
{
    for (const char* candidate : names) {
        if (name != nullptr && std::strcmp(name, candidate) == 0) return true;
    }
    return false;
}

} // namespace

SoundServer soundServerNamed(const char* serverName)
{
    if (serverName == nullptr || *serverName == '\0') return SoundServer::unknown;
    return std::strstr(serverName, pipeWireMark) != nullptr ? SoundServer::pipeWire : SoundServer::pulseAudio;
}

bool driverSpeaksPulse(const char* driver) { return isOneOf(pulseDrivers, driver); }

bool driverPacesItself(const char* driver) { return isOneOf(selfPacedDrivers, driver); }

uint64_t heardAfterCallbackFrames(const char* driver, SoundServer server, uint64_t bufferFrames)
{
    if (!isOneOf(serverDrivers, driver)) return 0;
    const bool pipeWireQueue = server == SoundServer::pipeWire && driverSpeaksPulse(driver);
    return bufferFrames / (pipeWireQueue ? pipeWireShareOfBuffer : pulseAudioShareOfBuffer);
}
