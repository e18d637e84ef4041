// Windows has no PulseAudio-protocol server: SDL's drivers there (WASAPI,
// DirectSound, disk, dummy) never speak it, so nothing is ever asked.
#include "platform/pulse_server.h"

SoundServer askPulseServer() { return SoundServer::unknown; }
