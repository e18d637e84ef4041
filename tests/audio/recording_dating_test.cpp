// How far a recorder's stream strayed from its clock, from its read stamps: late
// reads are not a stray, frames the server lost or held back are.
#include "recording_dating.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int rate = 48000;
constexpr double readEveryMs = 10.0;
constexpr int64_t framesPerRead = 480;

// Reads every 10 ms for `seconds`, each bringing 480 frames, with `lateMs` added to
// the arrival of read `lateRead` only and, from read `lostFrom` on, `lostFrames`
// fewer frames counted (the server dropped them).
std::vector<ArrivalStamp> reads(int seconds, int lateRead, double lateMs, int lostFrom, int64_t lostFrames)
{
    std::vector<ArrivalStamp> stamps;
    const int count = static_cast<int>(seconds * 1000 / readEveryMs);
    for (int i = 1; i <= count; ++i) {
        const double at = 1000.0 + i * readEveryMs + (i == lateRead ? lateMs : 0.0);
        const int64_t frames = i * framesPerRead - (i >= lostFrom ? lostFrames : 0);
        stamps.push_back({at, frames});
    }
    return stamps;
}

struct StrayCase {
    const char* what;
    std::vector<ArrivalStamp> stamps;
    double strayMs;
};

TEST(RecorderStray, LateReadsAreNoStrayLostFramesAre)
{
    const StrayCase cases[] = {
        {"steady reads", reads(5, 0, 0, 1000000, 0), 0.0},
        {"one read 40 ms late", reads(5, 150, 40.0, 1000000, 0), 0.0},
        // 480 frames lost after 3 s: frame 0 seems 10 ms later from then on.
        {"10 ms of frames lost", reads(5, 0, 0, 300, 480), 10.0},
        {"nothing read", {}, 0.0},
    };
    for (const StrayCase& c : cases) {
        EXPECT_NEAR(recorderStrayMs(c.stamps, rate), c.strayMs, 1e-6) << c.what;
    }
}

} // namespace
