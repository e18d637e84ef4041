// Dating a sound server's stream by the quickest of its last timing replies.
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
    uint32_t order[serverClockReplies];
    for (uint32_t i = 0; i < count; ++i) order[i] = i;
    const uint32_t used = std::max<uint32_t>(1, count * serverClockQuickest / serverClockReplies);
    std::partial_sort(order, order + used, order + count,
                      [&](uint32_t a, uint32_t b) { return clock.roundTrips[a] < clock.roundTrips[b]; });
    double quickest[serverClockReplies];
    for (uint32_t i = 0; i < used; ++i) quickest[i] = clock.frameZeroTimes[order[i]];
    std::nth_element(quickest, quickest + used / 2, quickest + used);
    return quickest[used / 2];
}
