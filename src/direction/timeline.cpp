// The scene and shot tables: which scene draws at a moment and which shot frames it.
#include "direction/timeline.h"

#include "app/clock.h"

#include <climits>

int32_t shotIndex = 0;

namespace {

// Upper bounds (exclusive) of scenes 0 to 8; scene 9 has none.
constexpr int32_t sceneEndsMs[sceneCount - 1] = {
    5000, 34750, 47220, 61880, 90330, 118770, 147220, 175660, 189880,
};

struct ShotBound {
    int32_t toMs;
    int shot;
};

// Tested in order, each as "t below the bound"; the last row catches every later time.
constexpr ShotBound shotBounds[shotTableRows] = {
    {5000, 0},    {19220, 1},   {21880, 2},   {22770, 3},   {23660, 4},   {24550, 5},   {25440, 6},
    {26330, 7},   {28110, 5},   {28550, 2},   {29000, 3},   {29440, 4},   {29880, 6},   {47220, 9},
    {61880, 8},   {65440, 10},  {69000, 11},  {72550, 12},  {76110, 13},  {79660, 14},  {83220, 15},
    {86770, 16},  {90330, 17},  {118770, 18}, {122330, 19}, {125880, 20}, {129440, 21}, {133000, 22},
    {136550, 23}, {140110, 24}, {143660, 25}, {147220, 26}, {150770, 27}, {154330, 28}, {157880, 29},
    {161440, 30}, {165000, 31}, {168550, 32}, {172110, 33}, {175660, 34}, {189880, 35}, {INT32_MAX, 36},
};

} // namespace

int sceneForTime(int32_t t) { return intervalForTime(sceneEndsMs, sceneCount - 1, t); }

int32_t sceneStartMs(int scene) { return scene <= 0 ? 0 : sceneEndsMs[scene - 1]; }

int shotForTime(int32_t t)
{
    for (int row = 0; row < shotTableRows - 1; ++row) {
        if (t < shotBounds[row].toMs) {
            return shotBounds[row].shot;
        }
    }
    return shotBounds[shotTableRows - 1].shot;
}

ShotRow shotTableRow(int row)
{
    const int32_t from = row == 0 ? INT32_MIN : shotBounds[row - 1].toMs;
    return {from, shotBounds[row].toMs, shotBounds[row].shot};
}

void selectShot() { shotIndex = shotForTime(demoTimeMs); }
