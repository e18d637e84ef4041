// SDL's audio drivers and the sound servers behind them, by name, and the delay
// from a callback to its buffer being heard through each.
#include "platform/audio_drivers.h"

#include <cstring>

namespace {

const char* const pulseDrivers[] = {"pulseaudio"};
const char* const selfPacedDrivers[] = {"disk", "dummy"};
const char* const serverDrivers[] = {"pulseaudio", "pipewire"};
// PipeWire's PulseAudio service names itself so in the server's name.
const char* const pipeWireMark = "PipeWire";

// A callback's buffer is heard half a buffer later through PulseAudio (its sink
// holds half of the one buffer of latency SDL asks for), a whole buffer later
// through PipeWire's PulseAudio service (it queues all of it), at once elsewhere.
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
