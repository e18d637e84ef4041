// The conductor: which scene draws each frame, which shot frames the next, and
// the fixed order of work within a frame.
#pragma once

#include "direction/intervals.h"

#include <cstdint>

constexpr int sceneCount = 10;
constexpr int shotCount = 37;
constexpr int shotTableRows = 42;

extern int32_t shotIndex;

// The scene renderer that draws at time t (half-open rows; a boundary belongs to the later row).
int sceneForTime(int32_t t);
// The first millisecond of a scene (scene 0, which holds from the start, gives 0).
int32_t sceneStartMs(int scene);
// The shot that frames the frame after one drawn at time t.
int shotForTime(int32_t t);

// One row of the shot table: from (inclusive), to (exclusive; INT32_MAX for the last), shot.
struct ShotRow {
    int32_t fromMs;
    int32_t toMs;
    int shot;
};
// Row 0 to shotTableRows - 1 of the shot table, in time order.
ShotRow shotTableRow(int row);

void drawScene(int sceneIndex);
void selectShot();

// The timeline's steps of a frame, each reading the clock and the state earlier frames left.
void clearFrame();       // colour and depth, to the clear colour set last frame
void drawCurrentScene(); // the scene renderer for demoTimeMs
