// The scene and shot tables at every row edge.
#include "app/clock.h"
#include "direction/timeline.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(SceneTable, EveryBoundaryBelongsToTheLaterScene)
{
    const int32_t starts[] = {5000, 34750, 47220, 61880, 90330, 118770, 147220, 175660, 189880};
    EXPECT_EQ(sceneForTime(INT32_MIN), 0);
    EXPECT_EQ(sceneForTime(0), 0);
    for (int scene = 1; scene < sceneCount; ++scene) {
        const int32_t start = starts[scene - 1];
        EXPECT_EQ(sceneForTime(start - 1), scene - 1) << "just before " << start;
        EXPECT_EQ(sceneForTime(start), scene) << "at " << start;
    }
    EXPECT_EQ(sceneForTime(196000), 9);
    EXPECT_EQ(sceneForTime(INT32_MAX), 9);
}

TEST(ShotTable, KnownCutsAndHolds)
{
    EXPECT_EQ(shotForTime(4999), 0);
    EXPECT_EQ(shotForTime(5000), 1);
    EXPECT_EQ(shotForTime(19219), 1);
    EXPECT_EQ(shotForTime(19220), 2);
    EXPECT_EQ(shotForTime(29879), 6);
    EXPECT_EQ(shotForTime(29880), 9);
    // The scene changes at 34750 without a cut.
    EXPECT_EQ(shotForTime(34749), 9);
    EXPECT_EQ(shotForTime(34750), 9);
    EXPECT_EQ(shotForTime(47219), 9);
    EXPECT_EQ(shotForTime(47220), 8);
    EXPECT_EQ(shotForTime(175659), 34);
    EXPECT_EQ(shotForTime(175660), 35);
    EXPECT_EQ(shotForTime(189879), 35);
    EXPECT_EQ(shotForTime(189880), 36);
    EXPECT_EQ(shotForTime(INT32_MAX), 36);
}

TEST(ShotTable, RowsChainWithoutGapsAndEachEdgeSwitchesToItsRow)
{
    const int expectedShots[shotTableRows] = {
        0,  1,  2,  3,  4,  5,  6,  7,  5,  2,  3,  4,  6,  9,  8,  10, 11, 12, 13, 14, 15,
        16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
    };
    int32_t previousEnd = INT32_MIN;
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow r = shotTableRow(row);
        EXPECT_EQ(r.shot, expectedShots[row]) << "row " << row + 1;
        EXPECT_EQ(r.fromMs, previousEnd) << "row " << row + 1;
        EXPECT_LT(r.fromMs, r.toMs);
        EXPECT_EQ(shotForTime(r.fromMs), r.shot) << "start of row " << row + 1;
        if (r.toMs != INT32_MAX) {
            EXPECT_EQ(shotForTime(r.toMs - 1), r.shot) << "end of row " << row + 1;
        }
        previousEnd = r.toMs;
    }
    EXPECT_EQ(previousEnd, INT32_MAX);
}

TEST(ShotTable, EveryShotIsUsedAndEachRowLiesInOneSceneExceptRow14)
{
    bool used[shotCount] = {};
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow r = shotTableRow(row);
        used[r.shot] = true;
        const int32_t from = row == 0 ? 0 : r.fromMs;
        const int32_t last = r.toMs == INT32_MAX ? 196000 : r.toMs - 1;
        if (row == 13) {
            EXPECT_EQ(sceneForTime(from), 1);
            EXPECT_EQ(sceneForTime(last), 2);
        } else {
            EXPECT_EQ(sceneForTime(from), sceneForTime(last)) << "row " << row + 1;
        }
    }
    for (int shot = 0; shot < shotCount; ++shot) {
        EXPECT_TRUE(used[shot]) << "shot " << shot;
    }
}

TEST(ShotTable, SelectShotReadsTheClock)
{
    demoTimeMs = 19240;
    selectShot();
    EXPECT_EQ(shotIndex, 2);
    demoTimeMs = 0;
    selectShot();
    EXPECT_EQ(shotIndex, 0);
}

} // namespace
