// The SDL2 output: one device at the layer's rate, 16-bit stereo, 1 024-frame
// buffers (about 23 ms), mixed from SDL's callback.
#include "platform/audio.h"
#include "platform/audio_drivers.h"
#include "platform/audio_mixer.h"
#include "platform/audio_output.h"
#include "platform/pulse_server.h"

#include <SDL.h>

#include <algorithm>

namespace {

constexpr Uint16 deviceBufferFrames = 1024;

SDL_AudioDeviceID device = 0;
uint32_t deviceRate = 0;
// When the last callback began (s since the output opened), and how many frames
// had been mixed before it; written by the audio thread under the device lock.
// Until the first callback, the device is taken to ask for its first frame when it opened.
double lastCallbackAt = 0;
uint64_t lastCallbackFrame = 0;
// How long after a callback its first frame is heard, in frames.
uint64_t heardAfterCallback = 0;

// The frame heard `seconds` after the output opened, as the last callback dates it.
uint64_t heardAfterLastCallback(double seconds)
{
    const double asked = lastCallbackFrame + (seconds - lastCallbackAt) * deviceRate;
    return asked > heardAfterCallback ? static_cast<uint64_t>(asked) - heardAfterCallback : 0;
}

void mixCallback(void*, Uint8* stream, int length)
{
    lastCallbackAt = outputSeconds();
    lastCallbackFrame = mixedOutputFrames();
    mixOutput(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / audioBytesPerFrame, lastCallbackAt,
              heardAfterLastCallback(lastCallbackAt));
}

bool open(uint32_t rate)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted = {};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = audioOutputChannels;
    wanted.samples = deviceBufferFrames;
    wanted.callback = mixCallback;
    SDL_AudioSpec obtained = {};
    // No changes allowed: SDL converts if the hardware wants something else,
    // and the callback always sees exactly this format and buffer size.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    deviceRate = rate;
    lastCallbackAt = 0;
    lastCallbackFrame = mixedOutputFrames();
    const char* driver = SDL_GetCurrentAudioDriver();
    followDeviceClock(!driverPacesItself(driver));
    const SoundServer server = driverSpeaksPulse(driver) ? askPulseServer() : SoundServer::unknown;
    heardAfterCallback = heardAfterCallbackFrames(driver, server, obtained.samples);
    // Output runs from here on, silent until a channel plays.
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void lock() { SDL_LockAudioDevice(device); }

void unlock() { SDL_UnlockAudioDevice(device); }

// Where the device's clock is read, the earliest of its last callbacks dates
// the frame heard now, so a callback that ran late does not move a start;
// elsewhere the last callback does. A start so placed is heard the same time
// after its call wherever the call falls in the device's cycle.
uint64_t heardFrameNow()
{
    const double now = outputSeconds();
    uint64_t frame = 0;
    return deviceClockHeardFrame(now, &frame) ? frame : heardAfterLastCallback(now);
}

// What SDL has taken is the device's: nothing mixed can be taken back.
bool takeBack(uint64_t) { return false; }

void refill() {}

void close()
{
    SDL_CloseAudioDevice(device);
    device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace

const AudioOutput sdlOutput = {open, lock, unlock, heardFrameNow, takeBack, refill, close};
