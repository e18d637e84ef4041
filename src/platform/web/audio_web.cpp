// The audio table in the browser, with the desktop layer's calls and results: the page
// has fetched and decoded the music (web/page.js); playing starts a looping Web Audio
// source at the byte offset's moment, ahead by the output latency so it is heard on the clock.
#include "platform/audio.h"

#include <emscripten.h>

#include <cstring>

namespace {

constexpr uint32_t musicHandle = 1;
constexpr uint32_t musicRate = 44100;

int lastError = audioOk;
bool deviceOpen = false;
uint32_t loadedHandle = 0;

// 1 when the page has an AudioContext to play through.
EM_JS(int, jsOpenAudio, (), { return Module.glasswindPage.openAudio() ? 1 : 0; });
EM_JS(void, jsCloseAudio, (), { Module.glasswindPage.closeAudio(); });
// The audio layer's error code of the page's fetch and decode of the file (0: decoded).
EM_JS(int, jsMusicState, (const char* path), { return Module.glasswindPage.musicState(UTF8ToString(path)); });
EM_JS(void, jsPlayMusic, (double offsetSeconds), { Module.glasswindPage.playMusic(offsetSeconds); });

int finish(int error)
{
    lastError = error;
    return error == audioOk;
}

uint32_t getVersion() { return audioVersion; }

int init(int device, uint32_t frequency, uint32_t, void*, const void*)
{
    if (deviceOpen) {
        return finish(audioErrorAlready);
    }
    if (device != audioDefaultDevice) {
        return finish(audioErrorDevice);
    }
    if (frequency == 0) {
        return finish(audioErrorIllegalParam);
    }
    if (jsOpenAudio() == 0) {
        return finish(audioErrorDevice);
    }
    deviceOpen = true;
    return finish(audioOk);
}

int errorGetCode() { return lastError; }

uint32_t loadFile(int fromMemory, const void* file)
{
    if (!deviceOpen) {
        finish(audioErrorInit);
        return 0;
    }
    if (fromMemory != 0 || loadedHandle != 0) {
        finish(fromMemory != 0 ? audioErrorIllegalParam : audioErrorNoChannel);
        return 0;
    }
    const int state = jsMusicState(static_cast<const char*>(file));
    if (!finish(state)) {
        return 0;
    }
    loadedHandle = musicHandle;
    return loadedHandle;
}

uint32_t streamCreateFile(int fromMemory, const void* file, uint64_t, uint64_t, uint32_t)
{
    return loadFile(fromMemory, file);
}

// The browser decodes sampled sound only; a module it cannot read is no music to it.
uint32_t musicLoad(int fromMemory, const void* file, uint64_t, uint32_t, uint32_t, uint32_t)
{
    return loadFile(fromMemory, file);
}

int channelPlay(uint32_t handle, int)
{
    if (handle == 0 || handle != loadedHandle) {
        return finish(audioErrorHandle);
    }
    jsPlayMusic(0.0);
    return finish(audioOk);
}

int channelSetPosition(uint32_t handle, uint64_t position, uint32_t mode)
{
    if (handle == 0 || handle != loadedHandle) {
        return finish(audioErrorHandle);
    }
    if (mode != audioPosByte) {
        return finish(audioErrorNotAvailable);
    }
    const uint64_t frame = position / audioBytesPerFrame;
    jsPlayMusic(static_cast<double>(frame) / musicRate);
    return finish(audioOk);
}

int freeAudio()
{
    if (!deviceOpen) {
        return finish(audioErrorInit);
    }
    jsCloseAudio();
    deviceOpen = false;
    loadedHandle = 0;
    return finish(audioOk);
}

const AudioApi webAudio = {getVersion, init,        errorGetCode,       streamCreateFile,
                           musicLoad,  channelPlay, channelSetPosition, freeAudio};

} // namespace

AudioApi audio = webAudio;
