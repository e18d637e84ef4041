// The closing shots, 19 to 36: the flights over the wave and block fields and the
// end card. Each is a closed formula of the clock, evaluated in double precision in
// the order written.
#include "direction/shot_formulas.h"

#include <cmath>

namespace {

using std::cos;
using std::sin;
using std::tan;

// Shot 19: fast flight toward -z, looking down and to the side.
ShotView shot19(int32_t t)
{
    constexpr int32_t start = 118770;
    constexpr double eyeX = 10, eyeZ = 25000, eyeSpeed = 3;
    constexpr double centreX = 500, centreY = -500, centreZ = 24500, centreSpeed = 3.1;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, 0, eyeZ - eyeSpeed * d, centreX, centreY, centreZ - centreSpeed * d, 0, 1, 0);
}

// Shot 20: flight from below left, rolling the other way from shot 21.
ShotView shot20(int32_t t)
{
    constexpr int32_t start = 122330;
    constexpr double eyeX = -550, eyeY = -550, eyeZ = 20000, eyeSpeed = 3;
    constexpr double centreZ = 19000, centreSpeed = 3.1, rollRate = 0.0001;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, eyeZ - eyeSpeed * d, 0, 0, centreZ - centreSpeed * d, rollRate * sinceMs(start, t), 1, 0);
}

// Shot 21: flight from above right, rolling.
ShotView shot21(int32_t t)
{
    constexpr int32_t start = 125880;
    constexpr double eyeX = 750, eyeY = 750, eyeZ = 20000, eyeSpeed = 3;
    constexpr double centreZ = 19000, centreSpeed = 3.1, rollRate = 0.0001;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, eyeZ - eyeSpeed * d, 0, 0, centreZ - centreSpeed * d, rollRate * d, 1, 0);
}

// Shot 22: flight from above, looking off to the left.
ShotView shot22(int32_t t)
{
    constexpr int32_t start = 129440;
    constexpr double eyeY = 500, eyeZ = 20000, eyeSpeed = 3;
    constexpr double centreX = -750, centreY = 250, centreZ = 18500, centreSpeed = 3.2;
    const double d = sinceMs(t, start);
    return lookAt(0, eyeY, eyeZ - eyeSpeed * d, centreX, centreY, centreZ - centreSpeed * d, 0, 1, 0);
}

// Shot 23: flight from below, looking up and left, tilted.
ShotView shot23(int32_t t)
{
    constexpr int32_t start = 133000;
    constexpr double eyeY = -250, eyeZ = 20000, speed = 3;
    constexpr double centreX = -750, centreY = 250, centreZ = 18500, upX = 0.5, upY = 0.75;
    const double d = sinceMs(t, start);
    return lookAt(0, eyeY, eyeZ - speed * d, centreX, centreY, centreZ - speed * d, upX, upY, 0);
}

// Shot 24: flight from below, looking up and right, tilted.
ShotView shot24(int32_t t)
{
    constexpr int32_t start = 136550;
    constexpr double eyeX = -25, eyeY = -250, eyeZ = 20000, eyeSpeed = 3;
    constexpr double centreX = 500, centreY = 750, centreZ = 18500, centreSpeed = 3.1;
    constexpr double upX = -1, upY = 1, upZ = 0.25;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, eyeZ - eyeSpeed * d, centreX, centreY, centreZ - centreSpeed * d, upX, upY, upZ);
}

// Shot 25: flight along the axis while the gaze turns about the eye.
ShotView shot25(int32_t t)
{
    constexpr int32_t start = 140110;
    constexpr double startZ = 20000, speed = 3, gazeRadius = -250, turnRate = 0.00025;
    const double d = sinceMs(t, start);
    const double z = startZ - speed * d;
    return lookAt(0, 0, z, gazeRadius * cos(turnRate * d), 0, gazeRadius * sin(turnRate * d) + z, 0, 1, 0);
}

// Shot 26: flight along the axis, pulled back by a tangent; the gaze draws ahead.
ShotView shot26(int32_t t)
{
    constexpr int32_t start = 143660;
    constexpr double pullBase = 12500, pull = 20000, pullRate = 0.00025;
    constexpr double startZ = 20000, eyeSpeed = 3, centreSpeed = 3.25;
    const double d = sinceMs(t, start);
    const double w = pullBase - pull * tan(pullRate * d);
    return lookAt(0, 0, w + (startZ - eyeSpeed * d), 0, 0, (startZ - centreSpeed * d) + w, 0, 1, 0);
}

// Shot 27: low creep toward the scene, looking up at a high point.
ShotView shot27(int32_t t)
{
    constexpr int32_t start = 147220;
    constexpr double x = 160, eyeY = 1, speed = 0.1, startZ = 225;
    constexpr double centreY = 250, centreZ = 500, upZ = -0.5;
    const double d = sinceMs(t, start);
    return lookAt(x, eyeY, speed * d - startZ, x, centreY, centreZ, 0, 1, upZ);
}

// Shot 28: high creep, the gaze sliding sideways, rolling.
ShotView shot28(int32_t t)
{
    constexpr int32_t start = 150770;
    constexpr double eyeY = 150, speed = 0.1, startZ = 250, centreZ = 500, rollRate = 0.00025, upZ = -0.5;
    const double d = sinceMs(t, start);
    return lookAt(0, eyeY, speed * d - startZ, speed * d, 0, centreZ, sin(rollRate * d), 1, upZ);
}

// Shot 29: eye and gaze on two circles, the eye 0.075 radians behind. The phase
// origins are seven-digit values, not the shot's start.
ShotView shot29(int32_t t)
{
    constexpr int32_t eyeOrigin = 1498300, centreOrigin = 1498000;
    constexpr double eyeRadius = 220, eyeY = 150, centreRadius = 175, centreY = 125, orbitRate = 0.00025;
    const double eyePhase = sinceMs(t, eyeOrigin);
    const double centrePhase = sinceMs(t, centreOrigin);
    return lookAt(eyeRadius * sin(orbitRate * eyePhase), eyeY, eyeRadius * cos(orbitRate * eyePhase),
                  centreRadius * sin(orbitRate * centrePhase), centreY, centreRadius * cos(orbitRate * centrePhase), 0,
                  1, 0);
}

// Shot 30: slow low creep, looking far up.
ShotView shot30(int32_t t)
{
    constexpr int32_t start = 157880;
    constexpr double eyeX = 60, eyeY = 1, speed = 0.05, startZ = 225, centreY = 500;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, speed * d - startZ, 0, centreY, 0, 0, 1, 0);
}

// Shot 31: ground-level tracking, gently rolling.
ShotView shot31(int32_t t)
{
    constexpr int32_t start = 161440;
    constexpr double eyeX = 160, y = 1, speed = 0.1, eyeStartZ = 225, centreX = 120, centreStartZ = 175;
    constexpr double rollRate = 0.00005;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, y, speed * d - eyeStartZ, centreX, y, speed * d - centreStartZ, sin(rollRate * d), 1, 0);
}

// Shot 32: ground-level creep, the gaze turning about the eye.
ShotView shot32(int32_t t)
{
    constexpr int32_t start = 165000;
    constexpr double y = 1, speed = 0.1, startZ = 225, gazeRadius = 220, turnRate = 0.0005, rollRate = 0.00005;
    const double d = sinceMs(t, start);
    const double z = speed * d - startZ;
    return lookAt(0, y, z, gazeRadius * sin(turnRate * d), y, gazeRadius * cos(turnRate * d) + z, 0, 1,
                  sin(rollRate * d));
}

// Shot 33: raised tracking shot, rolling.
ShotView shot33(int32_t t)
{
    constexpr int32_t start = 168550;
    constexpr double eyeX = 120, eyeY = 125, speed = 0.1, eyeStartZ = 240, centreY = 75, centreStartZ = 185;
    constexpr double rollRate = 0.00025;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, speed * d - eyeStartZ, 0, centreY, speed * d - centreStartZ, sin(rollRate * d), 1, 0);
}

// Shot 34: elliptical orbit; the gaze runs from 172000 and the roll carries on from
// the start of shot 33.
ShotView shot34(int32_t t)
{
    constexpr int32_t eyeOrigin = 172110, centreOrigin = 172000, rollOrigin = 168550;
    constexpr double radiusX = 225, radiusZ = 200, eyeY = 125, centreRadius = 220, centreY = 75;
    constexpr double rate = 0.00025;
    const double eyePhase = sinceMs(t, eyeOrigin);
    const double centrePhase = sinceMs(t, centreOrigin);
    return lookAt(radiusX * sin(rate * eyePhase), eyeY, radiusZ * cos(rate * eyePhase),
                  centreRadius * sin(rate * centrePhase), centreY, centreRadius * cos(rate * centrePhase),
                  sin(rate * sinceMs(t, rollOrigin)), 1, 0);
}

// Shot 35: slow push in, looking up at the sky, barely rolling.
ShotView shot35(int32_t t)
{
    constexpr int32_t start = 175660;
    constexpr double eyeY = 10, startZ = 200, speed = 0.075, centreY = 150, centreZ = 500;
    constexpr double rollRate = 0.000025, upZ = -0.25;
    const double d = sinceMs(t, start);
    return lookAt(0, eyeY, startZ - speed * d, 0, centreY, centreZ, sin(rollRate * d), 1, upZ);
}

// Shot 36: still, level with the end card.
ShotView shot36(int32_t)
{
    constexpr ShotView view = {{0, 1, 10}, {0, 1, 0}, {0, 1, 0}};
    return view;
}

} // namespace

ShotView (*const closingShots[closingShotCount])(int32_t) = {shot19, shot20, shot21, shot22, shot23, shot24,
                                                             shot25, shot26, shot27, shot28, shot29, shot30,
                                                             shot31, shot32, shot33, shot34, shot35, shot36};
