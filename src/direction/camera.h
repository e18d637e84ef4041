// The 37 camera shots: each a closed formula of the clock giving eye, centre and up.
#pragma once

#include <cstdint>

struct ShotView {
    double eye[3];
    double centre[3];
    double up[3];
};

// The nine look-at values of a shot at time t; false for a shot outside 0 to 36.
bool shotView(int shot, int32_t t, ShotView* view);

// One gluLookAt on the current matrix for shotIndex at demoTimeMs.
void applyCameraShot();
