// Asking the PulseAudio-protocol server which server it is, as `pactl info` does.
#pragma once

#include "platform/audio_drivers.h"

// The name the demo gives itself as a client of the server.
extern const char* const pulseClientName;

// The server that answers on the user's PulseAudio socket; unknown when none
// answers within a fraction of a second. Never starts a server.
SoundServer askPulseServer();
