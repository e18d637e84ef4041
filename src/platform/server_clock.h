// Dating what a sound server plays from its timing replies: each reply says how
// much of the stream had been heard when the server wrote it.
#pragma once

#include <cstdint>

// The server writes a reply at some moment between the request and the reply, so a
// reply dates the stream to within its round trip. On a busy machine a reply may
// wait tens of ms for the thread that reads it; the quickest of the last replies
// (about half a second of them, one a request) date the stream best.
constexpr uint32_t serverClockReplies = 48;
constexpr uint32_t serverClockQuickest = 12;

struct ServerClock {
    // Per reply: the steady-clock time (s) at which it puts the stream's first
    // frame as heard, and its round trip (s).
    double frameZeroTimes[serverClockReplies] = {};
    double roundTrips[serverClockReplies] = {};
    uint64_t replies = 0;
};

// A reply to a request sent at sentAt and read at readAt (steady clock, s) that
// says heardSeconds of the stream had been heard.
void observeServerReply(ServerClock* clock, double sentAt, double readAt, double heardSeconds);

// Whether any reply has come, and the time (s) at which the quickest replies put
// the stream's first frame: the median of their readings.
bool serverClockKnown(const ServerClock& clock);
double serverFrameZeroAt(const ServerClock& clock);
