// Prop formulas: the wave field's rise and the pulsing clear colour.
#include "scenes/prop_curves.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveField, RisesFrom210BelowToRestAndStopsThere)
{
    EXPECT_EQ(waveRiseOffset(waveRiseMs), -210.0f);
    EXPECT_EQ(waveRiseOffset(105330), -105.0f);
    // 30000 ms at 0.007 lands a hair above 210 in double precision: clamped to rest.
    EXPECT_EQ(waveRiseOffset(120330), 0.0f);
    EXPECT_EQ(waveRiseOffset(150000), 0.0f);
    EXPECT_LT(waveRiseOffset(120329), 0.0f);
    EXPECT_LT(waveRiseOffset(0), -210.0f);
}

TEST(PulseClearColour, WhiteAtTheRestartDarkBlueOnceThePulseHasRunOut)
{
    const double rate = 1.0 / 420.0;
    const ClearColour start = pulseClearColour(0.0f, rate);
    EXPECT_EQ(start.red, 1.0f);
    EXPECT_EQ(start.green, 1.0f);
    EXPECT_EQ(start.blue, 1.1f);

    const ClearColour half = pulseClearColour(210.0f, rate);
    EXPECT_FLOAT_EQ(half.red, 0.5f);
    EXPECT_FLOAT_EQ(half.blue, 0.6f);

    for (float pulse : {420.0f, 430.0f, 2000.0f}) {
        const ClearColour late = pulseClearColour(pulse, rate);
        EXPECT_LE(late.red, 0.0f);
        EXPECT_LE(late.green, 0.0f);
        EXPECT_EQ(late.blue, 0.1f) << pulse;
    }
}

} // namespace
