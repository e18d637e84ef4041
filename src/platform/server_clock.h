// Dating what a sound server plays from its timing replies: each reply says how
// much of the stream had been heard when the server wrote it.
#pragma once

#include <cstdint>

// The server writes a reply at some moment between the request and the reply, so a
// reply dates the stream to within its round trip. On a busy machine a reply may
// wait tens of ms for the thread that reads it: only the replies about as quick as
// the quickest of the last ones (0.7 s of them) count.
constexpr uint32_t serverClockReplies = 96;
constexpr double serverClockRoundTripSlack = 0.0005; // s
// A busy server that reads its next quantum late in the cycle dates a reply or two
// a quantum too late: the latest few dates are set aside.
constexpr uint32_t serverClockLateDates = 2;

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

// Whether any reply has come, and the time (s) at which the quick replies put the
// stream's first frame: the latest of them but serverClockLateDates. A server that
// counts what it has read ahead as heard until its next read (PipeWire's service
// counts its graph's quantum so) dates the stream too early at each reply but the
// last before that read; one that counts truly gives every reply the same date.
bool serverClockKnown(const ServerClock& clock);
double serverFrameZeroAt(const ServerClock& clock);
