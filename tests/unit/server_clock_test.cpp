// Dating a sound server's stream from its timing replies: replies read late on a
// busy machine are set aside, and a server that counts ahead is dated by its latest.
#include "platform/server_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The stream's first frame was heard at 1.000 s; requests go every 10 ms from 2 s.
constexpr double trueFrameZero = 1.0;
constexpr double requestEvery = 0.010;

// One reply: the server writes it writeDelay after the request, counting
// countedAhead more than is heard, and the demo reads it readDelay after that (s).
struct Reply {
    double writeDelay;
    double readDelay;
    double countedAhead = 0;
};

struct Case {
    const char* what;
    std::vector<Reply> replies;
    double frameZeroAt; // worked by hand
};

double dated(const std::vector<Reply>& replies)
{
    ServerClock clock;
    for (size_t i = 0; i < replies.size(); ++i) {
        const double sentAt = 2.0 + i * requestEvery;
        const double writtenAt = sentAt + replies[i].writeDelay;
        const double heard = writtenAt - trueFrameZero + replies[i].countedAhead;
        observeServerReply(&clock, sentAt, writtenAt + replies[i].readDelay, heard);
    }
    return serverFrameZeroAt(clock);
}

std::vector<Reply> repeated(size_t count, Reply reply) { return std::vector<Reply>(count, reply); }

std::vector<Reply> joined(std::vector<Reply> a, const std::vector<Reply>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(ServerClock, TheQuickestRepliesDateTheStream)
{
    const Reply quick = {0.0001, 0.0001};
    // Read 30 ms late: its midpoint, so its reading, is 15 ms late.
    const Reply readLate = {0.0, 0.030};
    // Written at once but 2 ms on its way back: 1 ms late.
    const Reply slowish = {0.0, 0.002};
    const std::vector<Case> cases = {
        {"every reply quick", repeated(48, quick), 1.000},
        {"one reply, read late", {readLate}, 1.015},
        {"three replies: the quickest alone", {readLate, slowish, readLate}, 1.001},
        {"three in four read late", joined(repeated(36, readLate), repeated(12, quick)), 1.000},
        {"a busy spell, then quick again",
         joined(joined(repeated(20, quick), repeated(20, readLate)), repeated(8, quick)), 1.000},
        // A 20 ms quantum counted heard when read: replies 0, 7.5 and 15 ms into its
        // cycle count 20, 12.5 and 5 ms ahead; the last is the nearest.
        {"a server that counts ahead",
         joined(repeated(16, {0.0001, 0.0001, 0.020}),
                joined(repeated(16, {0.0001, 0.0001, 0.0125}), repeated(16, {0.0001, 0.0001, 0.005}))),
         0.995},
        {"a quick reply that counts ahead beside slow ones that do not",
         {readLate, {0.0001, 0.0001, 0.010}, readLate},
         0.990},
        // Quick replies the server wrote after reading its next quantum late.
        {"two dated a quantum late", joined(repeated(46, quick), repeated(2, {0.0001, 0.0001, -0.020})), 1.000},
        {"three dated a quantum late", joined(repeated(45, quick), repeated(3, {0.0001, 0.0001, -0.020})), 1.020},
        // Only the last 96 count: 84 read late and 12 slowish, not the 100 quick before them.
        {"older replies are forgotten",
         joined(repeated(100, quick), joined(repeated(84, readLate), repeated(12, slowish))), 1.001},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(dated(c.replies), c.frameZeroAt, 1e-9) << c.what;
    }
}

TEST(ServerClock, KnownOnceAReplyHasCome)
{
    ServerClock clock;
    EXPECT_FALSE(serverClockKnown(clock));
    observeServerReply(&clock, 2.0, 2.0002, 1.0001);
    EXPECT_TRUE(serverClockKnown(clock));
}

} // namespace
