// Where the audio layer's mix goes: an output device as a table of calls, and
// what an output calls to fill its buffers. The layer (audio_layer.cpp) picks one.
#pragma once

#include <cstdint>

struct AudioOutput {
    // Opens the system's default output at rate, 16-bit stereo, and starts it
    // (silent until a channel sounds); false when it cannot be opened.
    bool (*open)(uint32_t rate);
    // Held around every change to the channels: an output mixes on a thread of its own.
    void (*lock)();
    void (*unlock)();
    // The output frame heard now, counted as the mixer counts output frames.
    uint64_t (*heardFrameNow)();
    // Takes back the frames mixed from outputFrame on (see rewindMixOutput),
    // where the output can still replace them before they are heard; false
    // where it cannot. refill then sends them again, mixed anew, at once.
    bool (*takeBack)(uint64_t outputFrame);
    void (*refill)();
    // Stops the output, waiting for its thread's last buffer, and closes it.
    void (*close)();
};

// Through SDL2's drivers: ALSA, a sound server, or the disk and dummy drivers.
extern const AudioOutput sdlOutput;
// Straight to a PulseAudio server with a deep queue, dated by the server's own clock.
extern const AudioOutput pulseOutput;

// Seconds on the steady clock since the output opened.
double outputSeconds();

// Whether the layer keeps the music on the device's clock: not with drivers
// that pace themselves (disk, dummy), whose writes are the timeline. Set by the
// output when it opens.
void followDeviceClock(bool follow);

// The output frame heard at `seconds` as the device's clock reads it, where a
// whole window of readings has been seen; false before that.
bool deviceClockHeardFrame(double seconds, uint64_t* frame);

// Fills out with the next frames of the mix. heardFrame is the output frame
// heard at `seconds`, as the output reads it: the layer follows the device's
// clock by these readings.
void mixOutput(int16_t* out, uint32_t frames, double seconds, uint64_t heardFrame);
