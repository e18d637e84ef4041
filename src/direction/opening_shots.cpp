// The opening shots, 0 to 18: the slow orbits, frozen angles, dollies and spirals
// over the forest and the lattice. Each is a closed formula of the clock, evaluated in
// double precision in the order written.
#include "direction/shot_formulas.h"

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

double ms(int32_t t) { return static_cast<double>(t); }

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

} // namespace

ShotView (*const openingShots[openingShotCount])(int32_t) = {shot0,  shot1,  shot2,  shot3,  shot4,  shot5,  shot6,
                                                             shot7,  shot8,  shot9,  shot10, shot11, shot12, shot13,
                                                             shot14, shot15, shot16, shot17, shot18};
