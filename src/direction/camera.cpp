// The 37 camera shots. Each is a closed formula of the clock, evaluated in double
// precision in the order written, with time offsets formed as 32-bit integer subtractions.
#include "direction/camera.h"

#include "app/clock.h"
#include "direction/timeline.h"

#include <GL/glu.h>
#include <cmath>

namespace {

using std::cos;
using std::sin;
using std::tan;

// The angles that shots 5, 6 and 7 hold still: the double products of 24750, 25740
// and 26500 with the orbit rate 0.00015, one unit in the last place below 3.7125,
// 3.861 and 3.975.
constexpr double frozenAngle5 = 3.7124999999999995;
constexpr double frozenAngle6 = 3.8609999999999998;
constexpr double frozenAngle7 = 3.9749999999999996;

// The slow orbit of the opening shots, radians per millisecond.
constexpr double openingOrbitRate = 0.00015;

// t - from as a 32-bit subtraction (wrapping, like the machine's), then widened.
double sinceMs(int32_t t, int32_t from)
{
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(t) - static_cast<uint32_t>(from)));
}

double ms(int32_t t) { return static_cast<double>(t); }

ShotView lookAt(double eyeX, double eyeY, double eyeZ, double centreX, double centreY, double centreZ, double upX,
                double upY, double upZ)
{
    return ShotView{{eyeX, eyeY, eyeZ}, {centreX, centreY, centreZ}, {upX, upY, upZ}};
}

// Shot 0: straight on at the origin from +z.
ShotView shot0(int32_t)
{
    constexpr ShotView view = {{0, 0, 10}, {0, 0, 0}, {0, 1, 0}};
    return view;
}

// Shot 1: orbit at radius 40 with a steep vertical swing, slightly rolled.
ShotView shot1(int32_t t)
{
    constexpr double radius = 40, swingHeight = 10, swingRate = 0.000125, swingPhase = 1.25;
    constexpr double lift = 10, centreY = 10, rollX = 0.1;
    const double time = ms(t);
    return lookAt(radius * sin(openingOrbitRate * time), swingHeight * tan(swingRate * time - swingPhase) + lift,
                  radius * cos(openingOrbitRate * time), 0, centreY, 0, rollX, 1, 0);
}

// Shot 2: slow sideways drift looking across at a raised point.
ShotView shot2(int32_t t)
{
    constexpr double driftRadius = 40, driftRate = 0.00005, eyeY = 10, eyeZ = 40;
    constexpr double centreX = 30, centreY = 12;
    return lookAt(driftRadius * sin(driftRate * ms(t)), eyeY, eyeZ, centreX, centreY, 0, 0, 1, 0);
}

// Shot 3: fixed eye, the gaze sweeping along z, rolled.
ShotView shot3(int32_t t)
{
    constexpr double eyeX = 10, eyeY = 5, centreY = 7.5, sweep = 5, sweepRate = 0.0001, rollX = 0.25;
    return lookAt(eyeX, eyeY, 0, 0, centreY, sweep * cos(sweepRate * ms(t)), rollX, 1, 0);
}

// Shot 4: high eye sliding along z.
ShotView shot4(int32_t t)
{
    constexpr double eyeX = -10, eyeY = 30, slide = -10;
    constexpr double centreX = 10, centreY = 20, centreZ = 20;
    return lookAt(eyeX, eyeY, slide * sin(openingOrbitRate * ms(t)), centreX, centreY, centreZ, 0, 1, 0);
}

// Shot 5: an orbit frozen at its angle, the eye sliding along x.
ShotView shot5(int32_t t)
{
    constexpr double radius = 40, eyeY = 20, centreY = 10;
    return lookAt(radius * sin(frozenAngle5) * sin(openingOrbitRate * ms(t)), eyeY, radius * cos(frozenAngle5), 0,
                  centreY, 0, 0, 1, 0);
}

// Shot 6: frozen angle, the eye bobbing up and down.
ShotView shot6(int32_t t)
{
    constexpr double eyeRadius = 20, bob = 10, eyeBase = 10, eyeZ = 10, centreY = 10, centreRadius = 20;
    return lookAt(eyeRadius * sin(frozenAngle6), bob * sin(openingOrbitRate * ms(t)) + eyeBase, eyeZ, 0, centreY,
                  centreRadius * cos(frozenAngle6), 0, 1, 0);
}

// Shot 7: frozen angle, eye and gaze sliding along z together.
ShotView shot7(int32_t t)
{
    constexpr double eyeRadius = 20, eyeY = 20, eyeSlide = 10;
    constexpr double centreRadius = 10, centreY = 16.4, centreSlide = 20;
    const double swing = openingOrbitRate * ms(t);
    return lookAt(eyeRadius * sin(frozenAngle7), eyeY, eyeSlide * sin(frozenAngle7) * sin(swing),
                  centreRadius * cos(frozenAngle7), centreY, centreSlide * cos(frozenAngle7) * sin(swing), 0, 1, 0);
}

// Shot 8: orbit at radius 50; eye and gaze both swing vertically.
ShotView shot8(int32_t t)
{
    constexpr double radius = 50, eyeSwing = 10, eyeSwingRate = 0.00005275, eyeSwingPhase = 0.75, lift = 10;
    constexpr double centreSwing = 12, centreSwingPhase = 1, centreSwingRate = 0.0001075;
    const double time = ms(t);
    return lookAt(radius * sin(openingOrbitRate * time), eyeSwing * tan(eyeSwingRate * time + eyeSwingPhase) + lift,
                  radius * cos(openingOrbitRate * time), 0,
                  centreSwing * tan(centreSwingPhase + centreSwingRate * time) + lift, 0, 0, 1, 0);
}

// Shot 9: still, from far out on +z.
ShotView shot9(int32_t)
{
    constexpr ShotView view = {{0, 10, 150}, {0, 10, 0}, {0, 1, 0}};
    return view;
}

// Shot 10: dolly toward -z, the gaze drawing ahead.
ShotView shot10(int32_t t)
{
    constexpr int32_t start = 61880;
    constexpr double x = 150, eyeY = 8, eyeZ = 250, eyeSpeed = 0.1, centreY = 5, centreZ = 240, centreSpeed = 0.2;
    const double d = sinceMs(t, start);
    return lookAt(x, eyeY, eyeZ - eyeSpeed * d, x, centreY, centreZ - centreSpeed * d, 0, 1, 0);
}

// Shot 11: tracking shot along +z, looking sideways.
ShotView shot11(int32_t t)
{
    constexpr int32_t start = 65440;
    constexpr double eyeX = -40, eyeY = 15, centreY = 9, speed = 0.04, startZ = 75;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, speed * d - startZ, 0, centreY, speed * d - startZ, 0, 1, 0);
}

// Shots 12, 13 and 16 spiral about the centre post at radius r, the eye at height eyeY.
ShotView spiral(double r, double d, double eyeY)
{
    constexpr double orbitRate = 0.001, centreY = 12.5;
    return lookAt(r * sin(orbitRate * d), eyeY, r * cos(orbitRate * d), 0, centreY, 0, 0, 1, 0);
}

// A spiral inward while the eye sinks on a tangent: radius radius0 - shrink d,
// height (eyeBase - swing tan(swingRate d)) + lift.
struct SinkingSpiral {
    int32_t start;
    double radius0, shrink, eyeBase, swing, swingRate;
};

ShotView sinkingSpiral(const SinkingSpiral& shot, int32_t t)
{
    constexpr double lift = 10;
    const double d = sinceMs(t, shot.start);
    const double r = shot.radius0 - shot.shrink * d;
    return spiral(r, d, shot.eyeBase - shot.swing * tan(shot.swingRate * d) + lift);
}

// Shot 12: spiral inward while the eye sinks.
ShotView shot12(int32_t t)
{
    constexpr SinkingSpiral shot = {69000, 60, 0.005, 15, 10, 0.00025};
    return sinkingSpiral(shot, t);
}

// Shot 13: spiral outward while the eye rises.
ShotView shot13(int32_t t)
{
    constexpr int32_t start = 72550;
    constexpr double grow = 0.0075, radius0 = 25, swing = 10, swingRate = 0.00025, drop = 10, lift = 10;
    const double d = sinceMs(t, start);
    const double r = grow * d + radius0;
    return spiral(r, d, swing * tan(swingRate * d) - drop + lift);
}

// Shot 14: the dolly of shot 10 with the gaze off to the side.
ShotView shot14(int32_t t)
{
    constexpr int32_t start = 76110;
    constexpr double eyeX = 150, eyeY = 8, eyeZ = 250, eyeSpeed = 0.1;
    constexpr double centreX = 500, centreY = 5, centreZ = 240, centreSpeed = 0.3;
    const double d = sinceMs(t, start);
    return lookAt(eyeX, eyeY, eyeZ - eyeSpeed * d, centreX, centreY, centreZ - centreSpeed * d, 0, 1, 0);
}

// Shot 15: low elliptical orbit, shrinking.
ShotView shot15(int32_t t)
{
    constexpr int32_t start = 79660;
    constexpr double radiusX = 20, radiusZ = 60, shrink = 0.005, orbitRate = 0.00075, eyeY = 5, centreY = 10;
    const double d = sinceMs(t, start);
    return lookAt((radiusX - shrink * d) * sin(orbitRate * d), eyeY, (radiusZ - shrink * d) * cos(orbitRate * d), 0,
                  centreY, 0, 0, 1, 0);
}

// Shot 16: wide spiral inward, coming down from high above.
ShotView shot16(int32_t t)
{
    constexpr SinkingSpiral shot = {83220, 180, 0.05, 55, 11, 0.00035};
    return sinkingSpiral(shot, t);
}

// Shot 17: the eye flies in from beyond a pole of the tangent while the view rolls
// full circle. Its tangent runs from the start of shot 16, the rest from its own start.
ShotView shot17(int32_t t)
{
    constexpr int32_t start = 86770;
    constexpr int32_t tangentStart = 83220;
    constexpr double tangentRate = 0.00044, approach = 0.008, offsetX = 200, offsetZ = 175;
    constexpr double height = 7.5, rollRate = 0.0025;
    const double d = sinceMs(t, start);
    const double k = tan(tangentRate * sinceMs(t, tangentStart));
    return lookAt(k * (approach * d - offsetX), height, k * (approach * d - offsetZ), 0, height, 0, sin(rollRate * d),
                  cos(rollRate * d), 0);
}

// Shot 18: high orbit at radius 250 over the whole scene.
ShotView shot18(int32_t t)
{
    constexpr double radius = 250, orbitRate = 0.001, eyeY = 250, centreY = 50;
    const double time = ms(t);
    return lookAt(radius * sin(orbitRate * time), eyeY, radius * cos(orbitRate * time), 0, centreY, 0, 0, 1, 0);
}

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

ShotView (*const shotFormulas[shotCount])(int32_t) = {
    shot0,  shot1,  shot2,  shot3,  shot4,  shot5,  shot6,  shot7,  shot8,  shot9,  shot10, shot11, shot12,
    shot13, shot14, shot15, shot16, shot17, shot18, shot19, shot20, shot21, shot22, shot23, shot24, shot25,
    shot26, shot27, shot28, shot29, shot30, shot31, shot32, shot33, shot34, shot35, shot36,
};

} // namespace

bool shotView(int shot, int32_t t, ShotView* view)
{
    if (shot < 0 || shot >= shotCount) {
        return false;
    }
    *view = shotFormulas[shot](t);
    return true;
}

void applyCameraShot()
{
    ShotView view;
    if (!shotView(shotIndex, demoTimeMs, &view)) {
        return;
    }
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.centre[0], view.centre[1], view.centre[2], view.up[0],
              view.up[1], view.up[2]);
}
