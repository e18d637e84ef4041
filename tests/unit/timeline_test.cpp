// The scene and shot tables at every row edge, against tables typed from the timeline.
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
        EXPECT_EQ(sceneStartMs(scene), start);
    }
    EXPECT_EQ(sceneStartMs(0), 0);
    EXPECT_EQ(sceneForTime(196000), 9);
    EXPECT_EQ(sceneForTime(INT32_MAX), 9);
}

// The shot table typed from the timeline: each row's first millisecond and its shot.
struct TypedRow {
    int32_t fromMs;
    int shot;
};
constexpr TypedRow typedRows[shotTableRows] = {
    {INT32_MIN, 0}, {5000, 1},    {19220, 2},   {21880, 3},   {22770, 4},   {23660, 5},   {24550, 6},
    {25440, 7},     {26330, 5},   {28110, 2},   {28550, 3},   {29000, 4},   {29440, 6},   {29880, 9},
    {47220, 8},     {61880, 10},  {65440, 11},  {69000, 12},  {72550, 13},  {76110, 14},  {79660, 15},
    {83220, 16},    {86770, 17},  {90330, 18},  {118770, 19}, {122330, 20}, {125880, 21}, {129440, 22},
    {133000, 23},   {136550, 24}, {140110, 25}, {143660, 26}, {147220, 27}, {150770, 28}, {154330, 29},
    {157880, 30},   {161440, 31}, {165000, 32}, {168550, 33}, {172110, 34}, {175660, 35}, {189880, 36},
};

TEST(ShotTable, EveryRowAndAll41BoundariesMatchTheTypedTable)
{
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow r = shotTableRow(row);
        EXPECT_EQ(r.fromMs, typedRows[row].fromMs) << "row " << row + 1;
        EXPECT_EQ(r.shot, typedRows[row].shot) << "row " << row + 1;
        EXPECT_EQ(r.toMs, row + 1 < shotTableRows ? typedRows[row + 1].fromMs : INT32_MAX) << "row " << row + 1;
        const int32_t edge = typedRows[row].fromMs;
        EXPECT_EQ(shotForTime(edge), typedRows[row].shot) << "at " << edge;
        if (row > 0) {
            EXPECT_EQ(shotForTime(edge - 1), typedRows[row - 1].shot) << "just before " << edge;
        }
    }
    EXPECT_EQ(shotForTime(34750), 9); // the scene changes there without a cut
    EXPECT_EQ(shotForTime(INT32_MAX), 36);
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
