// The output straight to a PulseAudio server: a deep queue that a busy machine cannot
// drain, the start of a sound dated by the server's quickest replies on what is heard,
// and what is queued past that rewritten with the sound in it.
#include "platform/audio.h"
#include "platform/audio_mixer.h"
#include "platform/audio_output.h"
#include "platform/pulse_server.h"
#include "platform/server_clock.h"

#include <SDL.h>
#include <pulse/pulseaudio.h>

#include <chrono>
#include <thread>

namespace {

// Nothing here is interactive, so the queue can be deep: a busy machine may
// leave the mixing thread unscheduled for hundreds of ms before anything is
// missed. A start does not wait for the queue: what is queued past the heard
// frame is taken back and rewritten with the sound in it.
constexpr pa_usec_t queueUs = 400000;
// The server asks for more once this much has been played.
constexpr pa_usec_t requestUs = 10000;
// Connecting to a local server takes a few ms; past this the layer plays through SDL.
constexpr std::chrono::milliseconds connectLimit{500};
constexpr std::chrono::milliseconds connectPoll{2};
const char* const streamName = "Music";
constexpr double usPerSecond = 1e6;

pa_threaded_mainloop* loop = nullptr;
pa_context* context = nullptr;
pa_stream* stream = nullptr;
pa_sample_spec sampleSpec = {};
// The mixer's output frame that went to the stream's first byte.
uint64_t firstFrame = 0;
// Frames taken back by takeBack, from the first up to the end of what was queued.
uint64_t takenBackFrom = 0;
uint64_t takenBackTo = 0;

// The server's replies on what is heard, asked for one at a time every timingAskUs.
// A server that reads a quantum of its graph ahead and counts it heard (PipeWire's
// service does) dates the stream a little later at each reply until its next read;
// replies spread over its cycle catch the latest date, which is right, and on a
// server that counts truly every date is the same. The period shares no beat
// with a graph's usual cycles (powers of two frames at 44.1 or 48 kHz).
constexpr pa_usec_t timingAskUs = 7300;
ServerClock serverClock;
pa_time_event* timingTimer = nullptr;
bool timingAsked = false;
double timingAskedAt = 0;

void onTimingReply(pa_stream*, int success, void*)
{
    timingAsked = false;
    const double readAt = outputSeconds();
    const pa_timing_info* info = success ? pa_stream_get_timing_info(stream) : nullptr;
    if (info == nullptr || info->read_index_corrupt || info->read_index < 0) return;
    // What the server has read of the stream, less what the sink holds unheard.
    const double readSeconds = static_cast<double>(info->read_index) / pa_bytes_per_second(&sampleSpec);
    const double heardSeconds = readSeconds - static_cast<double>(info->sink_usec) / usPerSecond;
    observeServerReply(&serverClock, timingAskedAt, readAt, heardSeconds);
}

void onTimingTimer(pa_mainloop_api*, pa_time_event* timer, const struct timeval*, void*)
{
    pa_context_rttime_restart(context, timer, pa_rtclock_now() + timingAskUs);
    if (timingAsked || stream == nullptr || pa_stream_get_state(stream) != PA_STREAM_READY) return;
    timingAskedAt = outputSeconds();
    pa_operation* asked = pa_stream_update_timing_info(stream, onTimingReply, nullptr);
    if (asked == nullptr) return;
    pa_operation_unref(asked);
    timingAsked = true;
}

uint64_t heardFrame()
{
    if (!serverClockKnown(serverClock)) return firstFrame;
    const double heard = (outputSeconds() - serverFrameZeroAt(serverClock)) * sampleSpec.rate;
    return firstFrame + (heard > 0 ? static_cast<uint64_t>(heard) : 0);
}

// Mixes frames and queues them at the stream's write index moved by offset bytes
// as seek says (the first chunk only; the rest follow it).
void queue(size_t frames, int64_t offset, pa_seek_mode_t seek)
{
    while (frames > 0) {
        void* data = nullptr;
        size_t bytes = frames * audioBytesPerFrame;
        if (pa_stream_begin_write(stream, &data, &bytes) < 0 || data == nullptr) return;
        const size_t part = bytes / audioBytesPerFrame;
        if (part == 0) {
            pa_stream_cancel_write(stream);
            return;
        }
        const double now = outputSeconds();
        mixOutput(static_cast<int16_t*>(data), static_cast<uint32_t>(part), now, heardFrame());
        if (pa_stream_write(stream, data, part * audioBytesPerFrame, nullptr, offset, seek) < 0) return;
        frames -= part;
        offset = 0;
        seek = PA_SEEK_RELATIVE;
    }
}

void onWriteRequest(pa_stream*, size_t bytes, void*)
{
    // The loop's thread is libpulse's; it mixes ahead of other work as SDL's
    // audio thread does (through rtkit on a desktop), asked on its first request.
    static bool priorityAsked = false;
    if (!priorityAsked) {
        SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
        priorityAsked = true;
    }
    queue(bytes / audioBytesPerFrame, 0, PA_SEEK_RELATIVE);
}

void disconnect()
{
    if (timingTimer != nullptr) {
        pa_threaded_mainloop_get_api(loop)->time_free(timingTimer);
        timingTimer = nullptr;
    }
    if (stream != nullptr) {
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
}

// Waits, with the loop locked, until the context and stream are ready; false when
// either fails or the time is up. The loop's own thread moves them on meanwhile.
bool waitUntilReady()
{
    const auto deadline = std::chrono::steady_clock::now() + connectLimit;
    for (;;) {
        const pa_context_state_t contextState = pa_context_get_state(context);
        if (!PA_CONTEXT_IS_GOOD(contextState)) return false;
        if (contextState == PA_CONTEXT_READY && stream == nullptr) return true;
        if (stream != nullptr) {
            const pa_stream_state_t streamState = pa_stream_get_state(stream);
            if (streamState == PA_STREAM_READY) return true;
            if (!PA_STREAM_IS_GOOD(streamState)) return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        pa_threaded_mainloop_unlock(loop);
        std::this_thread::sleep_for(connectPoll);
        pa_threaded_mainloop_lock(loop);
    }
}

bool connectStream(uint32_t rate)
{
    sampleSpec = {PA_SAMPLE_S16NE, rate, audioOutputChannels};
    stream = pa_stream_new(context, streamName, &sampleSpec, nullptr);
    if (stream == nullptr) return false;
    pa_buffer_attr attributes = {};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(pa_usec_to_bytes(queueUs, &sampleSpec));
    // Never held back for a refill: after an underrun the server plays on, and
    // what comes late is heard where the clock puts it.
    attributes.prebuf = 0;
    attributes.minreq = static_cast<uint32_t>(pa_usec_to_bytes(requestUs, &sampleSpec));
    attributes.fragsize = static_cast<uint32_t>(-1);
    firstFrame = mixedOutputFrames();
    serverClock = ServerClock{};
    timingAsked = false;
    timingTimer = pa_context_rttime_new(context, pa_rtclock_now() + timingAskUs, onTimingTimer, nullptr);
    pa_stream_set_write_callback(stream, onWriteRequest, nullptr);
    return pa_stream_connect_playback(stream, nullptr, &attributes, PA_STREAM_NOFLAGS, nullptr, nullptr) >= 0 &&
           waitUntilReady();
}

bool open(uint32_t rate)
{
    loop = pa_threaded_mainloop_new();
    if (loop == nullptr) return false;
    context = pa_context_new(pa_threaded_mainloop_get_api(loop), pulseClientName);
    bool ready = false;
    if (context != nullptr && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0 &&
        pa_threaded_mainloop_start(loop) >= 0) {
        pa_threaded_mainloop_lock(loop);
        ready = waitUntilReady() && connectStream(rate);
        if (!ready) disconnect();
        pa_threaded_mainloop_unlock(loop);
    }
    if (!ready) {
        pa_threaded_mainloop_stop(loop);
        disconnect();
        pa_threaded_mainloop_free(loop);
        loop = nullptr;
        return false;
    }
    // The server keeps time itself: it plays on through an underrun (no
    // prebuffering) and drops what comes late, so the sound stays where it was
    // placed, on the sink's clock.
    followDeviceClock(false);
    return true;
}

void lock() { pa_threaded_mainloop_lock(loop); }

void unlock() { pa_threaded_mainloop_unlock(loop); }

uint64_t heardFrameNow() { return heardFrame(); }

bool takeBack(uint64_t outputFrame)
{
    const uint64_t queuedTo = mixedOutputFrames();
    if (outputFrame < firstFrame || !rewindMixOutput(outputFrame)) return false;
    takenBackFrom = outputFrame;
    takenBackTo = queuedTo;
    return true;
}

// The server drops what lands behind the frame it is reading, so the rest is
// heard in its place.
void refill()
{
    const int64_t offset = static_cast<int64_t>(takenBackFrom - firstFrame) * audioBytesPerFrame;
    queue(takenBackTo - takenBackFrom, offset, PA_SEEK_ABSOLUTE);
}

void close()
{
    pa_threaded_mainloop_lock(loop);
    disconnect();
    pa_threaded_mainloop_unlock(loop);
    pa_threaded_mainloop_stop(loop);
    pa_threaded_mainloop_free(loop);
    loop = nullptr;
}

} // namespace

const AudioOutput pulseOutput = {open, lock, unlock, heardFrameNow, takeBack, refill, close};
