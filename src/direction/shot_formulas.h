// What the shot formulas share: the 32-bit time offsets, the look-at triple, and
// the two halves of the shot table (shots 0-18 open the demo, 19-36 close it).
#pragma once

#include "direction/camera.h"

#include <cstdint>

constexpr int openingShotCount = 19;
constexpr int closingShotCount = 18;

// t - from as a 32-bit subtraction (wrapping, like the machine's), then widened.
inline double sinceMs(int32_t t, int32_t from)
{
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(t) - static_cast<uint32_t>(from)));
}

inline ShotView lookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ,
                       double upX, double upY, double upZ)
{
    return ShotView{{eyeX, eyeY, eyeZ}, {centreX, centreY, centreZ}, {upX, upY, upZ}};
}

// Shot k's formula for k below openingShotCount, and openingShotCount + k's after.
extern ShotView (*const openingShots[openingShotCount])(int32_t);
extern ShotView (*const closingShots[closingShotCount])(int32_t);
