// Windows has no PulseAudio server: SDL's drivers there (WASAPI, DirectSound,
// disk, dummy) never speak its protocol, so nothing is asked and the output
// straight to the server never opens.
#include "platform/audio_output.h"
#include "platform/pulse_server.h"

SoundServer askPulseServer() { return SoundServer::unknown; }

namespace {

bool open(uint32_t) { return false; }
void nothing() {}
uint64_t noFrame() { return 0; }
bool noTakeBack(uint64_t) { return false; }

} // namespace

const AudioOutput pulseOutput = {open, nothing, nothing, noFrame, noTakeBack, nothing, nothing};
