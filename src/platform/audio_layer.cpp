// The audio layer's calls: one output open at a time, sounds decoded whole when
// they are loaded, and the music kept on the steady clock through the device's.
//
// Every sound is decoded on the caller's thread (libsndfile or libopenmpt), so
// the output's thread only copies and adds samples. Memory: 4 bytes per frame at
// the device rate, about 10.6 MB a minute at 44 100 Hz, plus, while loading, the
// encoded file and the sound at its own rate.
#include "platform/audio.h"

#include "platform/audio_decode.h"
#include "platform/audio_device_clock.h"
#include "platform/audio_mixer.h"
#include "platform/audio_output.h"
#include "platform/stop_signals.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

// The longest wait for the output's thread to finish its last buffer when the
// output closes; a thread stuck longer is left to the end of the process.
constexpr std::chrono::milliseconds closeWaitLimit{500};
// SDL's name for the PulseAudio driver, which the layer also honours: with it,
// or with no driver named, a PulseAudio-protocol server is played to directly.
const char* const driverVariable = "SDL_AUDIODRIVER";
const char* const pulseDriverName = "pulseaudio";

// Atomic: a stop signal closes the output from a thread of its own.
std::atomic<const AudioOutput*> output{nullptr};
uint32_t deviceRate = 0;
int lastError = audioOk;
bool exitHookSet = false;
std::chrono::steady_clock::time_point openedAt{};
// The device's clock as the output's readings show it, and the placed sound
// that follows the steady clock through it (0: none) with the device's frame-0
// time when it was placed; read and written under the output's lock.
DeviceClock deviceClock;
bool deviceClockFollowed = false;
uint32_t followedHandle = 0;
double placedFrameZeroAt = 0;

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

uint64_t steadyMs()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

// Closes the output; false when its thread did not finish within the wait
// limit (closing waits for it without a limit, so it runs on a thread of its own).
bool closeOutputWithinLimit()
{
    const AudioOutput* closing = output.exchange(nullptr);
    if (closing == nullptr) return true;
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    std::thread([closing, closed] {
        closing->close();
        closed->set_value();
    }).detach();
    return done.wait_for(closeWaitLimit) == std::future_status::ready;
}

// The demo ends by calling exit() from its callbacks with the music playing.
// Stopping the output's thread first means it never runs while the C library
// is being torn down. When it will not stop, the process ends at once with the
// same status, so the exit never hangs. The sounds stay allocated: the process
// end reclaims them.
void closeOutputAtExit(int status)
{
    if (!closeOutputWithinLimit()) std::_Exit(status);
}

// A stop signal ends the process right after this: the sound server sees the stream end.
void closeOutputOnStop() { closeOutputWithinLimit(); }

// The server itself, PulseAudio or PipeWire's PulseAudio service, where SDL would
// take its PulseAudio driver: opening the stream finds whether one answers, and
// SDL plays when none does. SDL's PulseAudio driver queues one 23 ms buffer,
// which PipeWire let run dry about once a second while the machine was busy.
bool wantsPulseOutput()
{
    const char* driver = std::getenv(driverVariable);
    return driver == nullptr || *driver == '\0' || std::strcmp(driver, pulseDriverName) == 0;
}

uint32_t addSound(std::vector<int16_t>* stereoSamples, uint32_t flags)
{
    const AudioOutput* out = output;
    out->lock();
    const uint32_t handle = addMixChannel(stereoSamples, (flags & audioSampleLoop) != 0);
    out->unlock();
    if (handle == 0) return fail(audioErrorNoChannel);
    succeed();
    return handle;
}

uint32_t getVersion() { return audioVersion; }

int init(int deviceNumber, uint32_t frequency, uint32_t, void*, const void*)
{
    if (output != nullptr) return fail(audioErrorAlready);
    if (deviceNumber != audioDefaultDevice) return fail(audioErrorDevice);
    if (frequency == 0 || frequency > INT32_MAX) return fail(audioErrorIllegalParam);
    deviceRate = frequency;
    openedAt = std::chrono::steady_clock::now();
    resetDeviceClock(&deviceClock, frequency);
    followedHandle = 0;
    const AudioOutput* opened = nullptr;
    if (wantsPulseOutput() && pulseOutput.open(frequency)) {
        opened = &pulseOutput;
    } else if (sdlOutput.open(frequency)) {
        opened = &sdlOutput;
    } else {
        return fail(audioErrorDevice);
    }
    output = opened;
    if (!exitHookSet) {
        exitHookSet = runAtExit(closeOutputAtExit);
        setStopCleanup(closeOutputOnStop);
    }
    return succeed();
}

int errorGetCode() { return lastError; }

uint32_t streamCreateFile(int fromMemory, const void* file, uint64_t offset, uint64_t length, uint32_t flags)
{
    if (output == nullptr) return fail(audioErrorInit);
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
    if (output == nullptr) return fail(audioErrorInit);
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
    const AudioOutput* out = output;
    if (out == nullptr) return fail(audioErrorInit);
    out->lock();
    const int error = playMixChannel(handle, restart != 0, steadyMs());
    out->unlock();
    return error == audioOk ? succeed() : fail(error);
}

// The position is heard now: its frame goes to the output frame heard now. An
// output that can still replace what it has queued takes the frames since then
// back and sends them again with the sound in them; elsewhere the sound starts
// with the next frame mixed, as far in as the time that has passed.
int channelSetPosition(uint32_t handle, uint64_t position, uint32_t mode)
{
    const AudioOutput* out = output;
    if (out == nullptr) return fail(audioErrorInit);
    if (mode != audioPosByte) return fail(audioErrorNotAvailable);
    out->lock();
    int error = setMixChannelFrame(handle, position / audioBytesPerFrame);
    if (error == audioOk) {
        const uint64_t heardNow = out->heardFrameNow();
        const bool takenBack = out->takeBack(heardNow);
        error = startMixChannelAt(handle, heardNow);
        if (takenBack) out->refill();
    }
    if (error == audioOk && deviceClockKnown(deviceClock)) {
        followedHandle = handle;
        placedFrameZeroAt = deviceFrameZeroAt(deviceClock);
    }
    out->unlock();
    return error == audioOk ? succeed() : fail(error);
}

int freeDevice()
{
    if (output == nullptr) return fail(audioErrorInit);
    // An output whose thread is stuck keeps its sounds: the thread may still read them.
    if (closeOutputWithinLimit()) clearMixChannels();
    return succeed();
}

} // namespace

double outputSeconds() { return std::chrono::duration<double>(std::chrono::steady_clock::now() - openedAt).count(); }

void followDeviceClock(bool follow) { deviceClockFollowed = follow; }

bool deviceClockHeardFrame(double seconds, uint64_t* frame)
{
    if (!deviceClockFollowed || !deviceClockKnown(deviceClock)) return false;
    const double heard = (seconds - deviceFrameZeroAt(deviceClock)) * deviceRate;
    *frame = heard > 0 ? static_cast<uint64_t>(heard) : 0;
    return true;
}

void mixOutput(int16_t* out, uint32_t frames, double seconds, uint64_t heardFrame)
{
    if (deviceClockFollowed) {
        observeDeviceCallback(&deviceClock, seconds, heardFrame);
        if (followedHandle != 0) followMixChannel(followedHandle, framesBehindClock(deviceClock, placedFrameZeroAt));
    }
    mixChannels(out, frames, steadyMs());
}

const AudioApi systemAudio = {getVersion, init,        errorGetCode,       streamCreateFile,
                              musicLoad,  channelPlay, channelSetPosition, freeDevice};
AudioApi audio = systemAudio;
