// The credit cards: which one shows at each moment and where it sits in the overlay box.
#include "assets/texture_slots.h"
#include "scenes/credits.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(Credits, TheSecondCardMovesToTheOppositeCorner)
{
    // The 800x450 box: -160 ... 160 by -90 ... 90.
    const CardRect first = creditRect(*creditForTime(122330), -160, 160, -90, 90);
    const CardRect second = creditRect(*creditForTime(122331), -160, 160, -90, 90);
    EXPECT_FLOAT_EQ((first.left + first.right) / 2, 112.0f);
    EXPECT_FLOAT_EQ((first.bottom + first.top) / 2, -58.5f);
    EXPECT_FLOAT_EQ(first.right - first.left, 52.788f);
    EXPECT_FLOAT_EQ(first.top - first.bottom, 25.0f);
    EXPECT_FLOAT_EQ((second.left + second.right) / 2, -112.0f);
    EXPECT_FLOAT_EQ((second.bottom + second.top) / 2, 58.5f);
    EXPECT_FLOAT_EQ(second.right - second.left, 64.35f);
}

TEST(Credits, AWiderBoxMovesCardsOutwardWithoutResizingThem)
{
    for (int32_t t = 118770; t <= 147220; t += 3550) {
        const CreditCard& card = *creditForTime(t);
        const CardRect narrow = creditRect(card, -160, 160, -90, 90);
        const CardRect wide = creditRect(card, -213.333f, 213.333f, -90, 90);
        EXPECT_NEAR(wide.right - wide.left, narrow.right - narrow.left, 1e-4) << t;
        EXPECT_FLOAT_EQ(wide.top, narrow.top) << t;
        EXPECT_GT(std::abs(wide.left + wide.right), std::abs(narrow.left + narrow.right)) << t;
    }
}

} // namespace
