// The credit cards: which one shows at each moment (where each sits is checked on a
// rendered frame, by the GreenCredits tests of tests/render/moments_test.cpp).
#include "assets/texture_slots.h"
#include "scenes/credits.h"

#include <gtest/gtest.h>

namespace {

TEST(Credits, EachCardHoldsUpToAndIncludingItsLastMillisecond)
{
    EXPECT_EQ(creditForTime(118770)->slot, slotG1);
    EXPECT_EQ(creditForTime(122330)->slot, slotG1);
    EXPECT_EQ(creditForTime(122331)->slot, slotG1 + 1);
    EXPECT_EQ(creditForTime(133000)->slot, slotG1 + 3);
    EXPECT_EQ(creditForTime(133001)->slot, slotG1 + 4);
    EXPECT_EQ(creditForTime(147220)->slot, slotG1 + 7);
    EXPECT_EQ(creditForTime(147221), nullptr);
}

} // namespace
