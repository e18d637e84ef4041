// Reading a device's clock from its callbacks: a steady device under callback
// jitter, one that runs fast, and one that stalls, each placed and read later.
#include "platform/audio_device_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr uint32_t rate = 44100;
constexpr uint64_t bufferFrames = 1024;

// A device that asks for each buffer at its own rate (ppm fast of the clock),
// stalls once for stallSeconds at stallAt, and whose callbacks run up to 4 ms
// late, in a fixed pattern in which every eighth one is on time.
struct Device {
    double ppmFast;
    double stallAt;
    double stallSeconds;
    uint64_t placedAt; // the callback the sound is placed at
    uint64_t readAt;   // the callback after which the drift is read
    int64_t behind;    // frames, worked by hand
    int64_t tolerance;
};

double askedAt(const Device& d, uint64_t callback)
{
    const double t = callback * bufferFrames / (rate * (1 + d.ppmFast * 1e-6));
    return t >= d.stallAt ? t + d.stallSeconds : t;
}

double lateness(uint64_t callback) { return (callback % 8) * 0.5e-3; }

TEST(DeviceClock, TheDriftOfAPlacedSoundIsReadOffTheEarliestCallbacks)
{
    const std::vector<Device> cases = {
        // Steady: no drift, whatever the jitter, though the sound was placed
        // while the last callback ran 1.5 ms late.
        {0, 1e9, 0, 200, 8000, 0, 0},
        {0, 1e9, 0, 203, 8000, 0, 0},
        // 280 ppm fast from the placing at 4.6 s to the last on-time callback
        // at 190.9 s: 186.3 s at 280 ppm is 52.2 ms ahead, 2 300 frames.
        {280, 1e9, 0, 200, 8226, -2300, 3},
        // A 230 ms stall at 30 s: 10 143 frames to skip once the window has passed it.
        {0, 30, 0.230, 200, 2000, 10143, 0},
    };
    for (const Device& d : cases) {
        DeviceClock clock;
        resetDeviceClock(&clock, rate);
        double placedZero = 0;
        for (uint64_t k = 0; k <= d.readAt; ++k) {
            const double at = askedAt(d, k) + lateness(k);
            observeDeviceCallback(&clock, at, k * bufferFrames);
            if (k == d.placedAt) placedZero = deviceFrameZeroAt(clock);
        }
        EXPECT_NEAR(framesBehindClock(clock, placedZero), d.behind, d.tolerance)
            << d.ppmFast << " ppm, stall " << d.stallSeconds << ", placed at " << d.placedAt;
    }
    DeviceClock unread;
    resetDeviceClock(&unread, rate);
    observeDeviceCallback(&unread, 1.0, 0);
    EXPECT_FALSE(deviceClockKnown(unread));
    EXPECT_EQ(framesBehindClock(unread, 0.5), 0) << "nothing is read before a whole window";
}

} // namespace
