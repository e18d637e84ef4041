// Silent stand-in for the SDL2 audio layer: every call succeeds, nothing sounds.
#include "platform/audio.h"

namespace {

uint32_t getVersion() { return audioVersion; }
int init(int, uint32_t, uint32_t, void*, const void*) { return 1; }
int errorGetCode() { return audioOk; }
uint32_t streamCreateFile(int, const void*, uint64_t, uint64_t, uint32_t) { return 1; }
uint32_t musicLoad(int, const void*, uint64_t, uint32_t, uint32_t, uint32_t) { return 0; }
int channelPlay(uint32_t, int) { return 1; }
int channelSetPosition(uint32_t, uint64_t, uint32_t) { return 1; }
int freeDevice() { return 1; }

} // namespace

const AudioApi sdlAudio = {getVersion, init, errorGetCode, streamCreateFile,
                           musicLoad, channelPlay, channelSetPosition, freeDevice};
AudioApi audio = sdlAudio;
