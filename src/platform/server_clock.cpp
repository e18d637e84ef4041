// Dating a sound server's stream by the quick ones of its last timing replies.
#include "platform/server_clock.h"

#include <algorithm>
#include <limits>

void observeServerReply(ServerClock* clock, double sentAt, double readAt, double heardSeconds)
{
    const uint32_t slot = clock->replies % serverClockReplies;
    clock->frameZeroTimes[slot] = (sentAt + readAt) / 2 - heardSeconds;
    clock->roundTrips[slot] = readAt - sentAt;
    ++clock->replies;
}

bool serverClockKnown(const ServerClock& clock) { return clock.replies > 0; }

double serverFrameZeroAt(const ServerClock& clock)
{
    const uint32_t count = static_cast<uint32_t>(std::min<uint64_t>(clock.replies, serverClockReplies));
    if (count == 0) return 0;
    const double quickest = *std::min_element(clock.roundTrips, clock.roundTrips + count);
    double latest = -std::numeric_limits<double>::infinity();
    for (uint32_t i = 0; i < count; ++i) {
        if (clock.roundTrips[i] <= quickest + serverClockRoundTripSlack)
            latest = std::max(latest, clock.frameZeroTimes[i]);
    }
    return latest;
}
