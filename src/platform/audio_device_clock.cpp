// Reading the device's clock from its callbacks: the earliest of the last few
// dates the device's frames; the change since a start is its drift.
#include "platform/audio_device_clock.h"

#include <algorithm>
#include <cmath>
#include <iterator>

void resetDeviceClock(DeviceClock* clock, uint32_t rate)
{
    *clock = DeviceClock{};
    clock->rate = rate;
}

void observeDeviceCallback(DeviceClock* clock, double seconds, uint64_t firstFrame)
{
    if (clock->rate == 0) return;
    const double zeroAt = seconds - static_cast<double>(firstFrame) / clock->rate;
    clock->frameZeroTimes[clock->seen % deviceClockWindowCallbacks] = zeroAt;
    ++clock->seen;
}

bool deviceClockKnown(const DeviceClock& clock) { return clock.seen >= deviceClockWindowCallbacks; }

double deviceFrameZeroAt(const DeviceClock& clock)
{
    return *std::min_element(std::begin(clock.frameZeroTimes), std::end(clock.frameZeroTimes));
}

int64_t framesBehindClock(const DeviceClock& clock, double placedFrameZeroAt)
{
    if (!deviceClockKnown(clock)) return 0;
    return static_cast<int64_t>(std::llround((deviceFrameZeroAt(clock) - placedFrameZeroAt) * clock.rate));
}
