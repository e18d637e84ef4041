// When the scenes open their flash trains. Each time is a constant of its own scene,
// kept apart from the scene and shot tables, though each falls on one of their boundaries.
#pragma once

#include <cstdint>

// Scene 1: a fast flash on every cut of the forest.
constexpr int32_t forestFlashTimesMs[] = {
    19220, 21880, 22770, 23660, 24550, 25440, 26330, 28110, 28550, 29000, 29440, 29880,
};

// Scene 4: a slow flash at its start, then a medium one on every cut.
constexpr int32_t latticeSceneStartMs = 61880;
constexpr int32_t latticeFlashTimesMs[] = {65440, 69000, 72550, 76110, 79660, 83220, 86770};

// Scenes 5 to 9: a slow flash at each start; scenes 6 and 7 flash on every cut too.
constexpr int32_t risingFieldStartMs = 90330;
constexpr int32_t blockFieldStartMs = 118770;
constexpr int32_t blockFieldFlashTimesMs[] = {122330, 125880, 129440, 133000, 136550, 140110, 143660};
constexpr int32_t restingFieldStartMs = 147220;
constexpr int32_t restingFieldFlashTimesMs[] = {150770, 154330, 157880, 161440, 165000, 168550, 172110};
constexpr int32_t wideGroundStartMs = 175660;
constexpr int32_t endCardStartMs = 189880;
