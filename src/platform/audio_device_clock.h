// How the output device keeps time against the steady clock, read off its
// callbacks, and how far a placed sound has drifted from where the clock puts it.
#pragma once

#include <cstdint>

// Callbacks read together: about 370 ms of 1 024-frame buffers at 44.1 kHz,
// long enough for one of them to run on time on a busy machine, short enough
// that a stall is seen soon after it.
constexpr uint32_t deviceClockWindowCallbacks = 16;

// A callback runs when the device wants more and never before, so the earliest
// of the last few callbacks says when the device asks for each frame. The
// reading is the steady-clock time (s) at which the device would have asked for
// output frame 0: constant while it runs at the clock's rate, falling when it
// runs fast, rising when it runs slow or stalls.
struct DeviceClock {
    uint32_t rate = 0;
    double frameZeroTimes[deviceClockWindowCallbacks] = {};
    uint64_t seen = 0; // callbacks observed
};

void resetDeviceClock(DeviceClock* clock, uint32_t rate);

// A callback that ran at `seconds` on the steady clock to mix the frames from firstFrame on.
void observeDeviceCallback(DeviceClock* clock, double seconds, uint64_t firstFrame);

// Whether a whole window of callbacks has been seen, and the reading from it.
bool deviceClockKnown(const DeviceClock& clock);
double deviceFrameZeroAt(const DeviceClock& clock);

// How many frames a sound placed when the reading was placedFrameZeroAt must
// skip (positive) or repeat (negative) to be heard where the clock puts it.
int64_t framesBehindClock(const DeviceClock& clock, double placedFrameZeroAt);
