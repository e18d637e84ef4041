// Dating a sound server's stream by the quick ones of its last timing replies.
#include "platform/server_clock.h"

#include <algorithm>

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
    double dates[serverClockReplies];
    uint32_t quick = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (clock.roundTrips[i] <= quickest + serverClockRoundTripSlack) dates[quick++] = clock.frameZeroTimes[i];
    }
    const uint32_t kept = quick - std::min(serverClockLateDates, quick - 1);
    std::nth_element(dates, dates + kept - 1, dates + quick);
    return dates[kept - 1];
}
