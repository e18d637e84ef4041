// The audio layer on SDL2: one output device at 44 100 Hz (as asked), 16-bit
// stereo, 1 024-frame buffers (about 23 ms), fed by the mixer from its callback.
//
// Every sound is decoded whole when it is loaded (libsndfile or libopenmpt, on
// the caller's thread), so the audio callback only copies and adds samples.
// Memory: 4 bytes per frame at the device rate, about 10.6 MB a minute at
// 44 100 Hz (the demo's 3 min 12 s music takes about 34 MB), plus, while loading, the
// encoded file and the sound at its own rate. Sounds are capped at
// longestDecodedSeconds, the encoded file at longestEncodedBytes.
#include "platform/audio.h"

#include "platform/audio_decode.h"
#include "platform/audio_device_clock.h"
#include "platform/audio_drivers.h"
#include "platform/audio_mixer.h"
#include "platform/pulse_server.h"
#include "platform/stop_signals.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr Uint16 deviceBufferFrames = 1024;
// The longest wait for the audio thread to finish its last callback when the
// device closes; a thread stuck longer is left to the end of the process.
constexpr std::chrono::milliseconds closeWaitLimit{500};

// Atomic: a stop signal closes the device from a thread of its own.
std::atomic<SDL_AudioDeviceID> device{0};
uint32_t deviceRate = 0;
int lastError = audioOk;
bool exitHookSet = false;
// When the last callback began, and how many frames had been mixed before it;
// written by the audio thread under the device lock, read under it. Until the
// first callback, the device is taken to ask for its first frame when it opened.
std::chrono::steady_clock::time_point lastCallbackAt{};
uint64_t lastCallbackFrame = 0;
// How long after a callback its first frame is heard, in frames.
uint64_t heardAfterCallback = 0;
// The device's clock as its callbacks show it, and the placed sound that
// follows the steady clock through it (0: none) with the device's frame-0 time
// when it was placed; read and written under the device lock.
DeviceClock deviceClock;
bool deviceClockFollowed = false;
uint32_t followedHandle = 0;
double placedFrameZeroAt = 0;
std::chrono::steady_clock::time_point openedAt{};

int succeed()
{
    lastError = audioOk;
    return 1;
}

int fail(int code)
{
    lastError = code;
    return 0;
}

double secondsSinceOpen(std::chrono::steady_clock::time_point at)
{
    return std::chrono::duration<double>(at - openedAt).count();
}

void mixCallback(void*, Uint8* stream, int length)
{
    lastCallbackAt = std::chrono::steady_clock::now();
    lastCallbackFrame = mixedOutputFrames();
    if (deviceClockFollowed) {
        observeDeviceCallback(&deviceClock, secondsSinceOpen(lastCallbackAt), lastCallbackFrame);
        if (followedHandle != 0) followMixChannel(followedHandle, framesBehindClock(deviceClock, placedFrameZeroAt));
    }
    mixChannels(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / audioBytesPerFrame,
                SDL_GetTicks64());
}

// Closes the device; false when the audio thread did not finish within the wait
// limit (SDL's close waits for it without a limit, so it runs on a thread of its own).
bool closeDeviceWithinLimit()
{
    const SDL_AudioDeviceID id = device.exchange(0);
    if (id == 0) return true;
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    std::thread([id, closed] {
        SDL_CloseAudioDevice(id);
        closed->set_value();
    }).detach();
    return done.wait_for(closeWaitLimit) == std::future_status::ready;
}

bool closeDevice()
{
    if (!closeDeviceWithinLimit()) return false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return true;
}

// The demo ends by calling exit() from its callbacks with the music playing.
// Stopping the audio thread first means it never runs while the C library and
// SDL are being torn down. When it will not stop, the process ends at once with
// the same status, so the exit never hangs. The sounds stay allocated: the
// process end reclaims them.
void closeDeviceAtExit(int status)
{
    if (!closeDeviceWithinLimit()) std::_Exit(status);
}

// A stop signal ends the process right after this: the sound server sees the stream end.
void closeDeviceOnStop() { closeDeviceWithinLimit(); }

uint32_t addSound(std::vector<int16_t>* stereoSamples, uint32_t flags)
{
    SDL_LockAudioDevice(device);
    const uint32_t handle = addMixChannel(stereoSamples, (flags & audioSampleLoop) != 0);
    SDL_UnlockAudioDevice(device);
    if (handle == 0) return fail(audioErrorNoChannel);
    succeed();
    return handle;
}

// The output frame that will be heard one device buffer from now. The buffer a
// callback fills is heard from a known time after it runs (heardAfterCallback:
// at once on a device, half a buffer or a whole one later through a sound
// server, as audio_drivers tells), one frame after another,
// so the frame heard now lies as far past the frame the device last asked for
// as time has passed since then, less that delay. Where the device's clock is
// read, the earliest of its last callbacks dates that frame, so a callback that
// ran late does not move the start; elsewhere the last callback does. Every
// start is so heard the same time after its call, wherever the call falls in
// the device's cycle and whatever the server holds; a start that falls in a
// buffer mixed already skips the frames that are past. Called under the device lock.
uint64_t heardOneBufferFromNow()
{
    const double now = secondsSinceOpen(std::chrono::steady_clock::now());
    double askedNow = lastCallbackFrame + (now - secondsSinceOpen(lastCallbackAt)) * deviceRate;
    if (deviceClockFollowed && deviceClockKnown(deviceClock))
        askedNow = (now - deviceFrameZeroAt(deviceClock)) * deviceRate;
    const double heardLater = std::max(0.0, askedNow) + deviceBufferFrames;
    const uint64_t frame = static_cast<uint64_t>(heardLater);
    return frame > heardAfterCallback ? frame - heardAfterCallback : 0;
}

uint32_t getVersion() { return audioVersion; }

int init(int deviceNumber, uint32_t frequency, uint32_t, void*, const void*)
{
    if (device != 0) return fail(audioErrorAlready);
    if (deviceNumber != audioDefaultDevice) return fail(audioErrorDevice);
    if (frequency == 0 || frequency > INT32_MAX) return fail(audioErrorIllegalParam);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail(audioErrorDevice);

    SDL_AudioSpec wanted = {};
    wanted.freq = static_cast<int>(frequency);
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
        return fail(audioErrorDevice);
    }
    deviceRate = frequency;
    openedAt = std::chrono::steady_clock::now();
    lastCallbackAt = openedAt;
    lastCallbackFrame = mixedOutputFrames();
    resetDeviceClock(&deviceClock, frequency);
    // The music is kept on the clock, as the demo's pictures are, though the
    // card's crystal or the server runs apart, on every driver with a clock.
    const char* driver = SDL_GetCurrentAudioDriver();
    deviceClockFollowed = !driverPacesItself(driver);
    followedHandle = 0;
    const SoundServer server = driverSpeaksPulse(driver) ? askPulseServer() : SoundServer::unknown;
    heardAfterCallback = heardAfterCallbackFrames(driver, server, obtained.samples);
    if (!exitHookSet) {
        exitHookSet = runAtExit(closeDeviceAtExit);
        setStopCleanup(closeDeviceOnStop);
    }
    // Output runs from here on, silent until a channel plays.
    SDL_PauseAudioDevice(device, 0);
    return succeed();
}

int errorGetCode() { return lastError; }

uint32_t streamCreateFile(int fromMemory, const void* file, uint64_t offset, uint64_t length, uint32_t flags)
{
    if (device == 0) return fail(audioErrorInit);
    std::vector<unsigned char> bytes;
    std::vector<int16_t> sound;
    int error = audioOk;
    if (!readSoundBytes(fromMemory != 0, file, offset, length, &bytes, &error) ||
        !decodeSampledSound(bytes, deviceRate, &sound, &error)) {
        return fail(error);
    }
    return addSound(&sound, flags);
}

uint32_t musicLoad(int fromMemory, const void* file, uint64_t offset, uint32_t length, uint32_t flags,
                   uint32_t frequency)
{
    if (device == 0) return fail(audioErrorInit);
    const uint32_t renderRate =
        frequency == audioModuleAtDeviceRate || frequency == audioModuleAtInitRate ? deviceRate : frequency;
    std::vector<unsigned char> bytes;
    std::vector<int16_t> sound;
    int error = audioOk;
    if (!readSoundBytes(fromMemory != 0, file, offset, length, &bytes, &error) ||
        !decodeModuleSound(bytes, renderRate, (flags & audioMusicRamp) != 0, (flags & audioSampleLoop) != 0, deviceRate,
                           &sound, &error)) {
        return fail(error);
    }
    return addSound(&sound, flags);
}

int channelPlay(uint32_t handle, int restart)
{
    if (device == 0) return fail(audioErrorInit);
    SDL_LockAudioDevice(device);
    const int error = playMixChannel(handle, restart != 0, SDL_GetTicks64());
    SDL_UnlockAudioDevice(device);
    return error == audioOk ? succeed() : fail(error);
}

int channelSetPosition(uint32_t handle, uint64_t position, uint32_t mode)
{
    if (device == 0) return fail(audioErrorInit);
    if (mode != audioPosByte) return fail(audioErrorNotAvailable);
    SDL_LockAudioDevice(device);
    // The position is heard now: the frame placed one buffer from now is one buffer further in.
    const uint64_t frame = position / audioBytesPerFrame;
    int error = setMixChannelFrame(handle, frame + deviceBufferFrames);
    if (error == audioOk) error = startMixChannelAt(handle, heardOneBufferFromNow());
    if (error == audioOk && deviceClockKnown(deviceClock)) {
        followedHandle = handle;
        placedFrameZeroAt = deviceFrameZeroAt(deviceClock);
    }
    SDL_UnlockAudioDevice(device);
    return error == audioOk ? succeed() : fail(error);
}

int freeDevice()
{
    if (device == 0) return fail(audioErrorInit);
    // A device whose audio thread is stuck keeps its sounds: the thread may still read them.
    if (closeDevice()) clearMixChannels();
    return succeed();
}

} // namespace

const AudioApi sdlAudio = {getVersion, init,        errorGetCode,       streamCreateFile,
                           musicLoad,  channelPlay, channelSetPosition, freeDevice};
AudioApi audio = sdlAudio;
