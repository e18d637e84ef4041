// The five light presets: which one holds at a moment, and where each puts light 0.
#include "direction/light.h"

#include "direction/intervals.h"

#include <cmath>

float lightPosition[4] = {0.0f, 0.0f, 0.0f, 0.0f};

namespace {

// Upper bounds (exclusive) of presets 0 to 3; preset 4 holds from the last one on.
constexpr int32_t presetEndsMs[lightPresetCount - 1] = {5000, 90330, 118770, 147220};

// Preset 0: along the world's z axis from +z.
constexpr float frontZ = 10.0f;

struct Orbit {
    double radius;
    double rate; // radians per millisecond
    float height;
};

// Presets 1 to 3 circle the vertical axis, sin on x and cos on z.
constexpr Orbit steepOrbit = {15.0, 0.0015, 50.0f};
constexpr Orbit wideOrbit = {200.0, 0.001, 200.0f};
constexpr Orbit nearOrbit = {50.0, 0.0015, 50.0f};

// Preset 4: fixed, high and from -z.
constexpr float fixedHighY = 200.0f;
constexpr float fixedHighZ = -100.0f;

void place(float position[4], float x, float y, float z)
{
    position[0] = x;
    position[1] = y;
    position[2] = z;
    position[3] = 0.0f;
}

void placeOnOrbit(float position[4], const Orbit& orbit, int32_t t)
{
    const double angle = static_cast<double>(t) * orbit.rate;
    place(position, static_cast<float>(orbit.radius * std::sin(angle)), orbit.height,
          static_cast<float>(orbit.radius * std::cos(angle)));
}

} // namespace

int lightPresetForTime(int32_t t) { return intervalForTime(presetEndsMs, lightPresetCount - 1, t); }

void lightPositionFor(int preset, int32_t t, float position[4])
{
    switch (preset) {
    case 0: place(position, 0.0f, 0.0f, frontZ); break;
    case 1: placeOnOrbit(position, steepOrbit, t); break;
    case 2: placeOnOrbit(position, wideOrbit, t); break;
    case 3: placeOnOrbit(position, nearOrbit, t); break;
    default: place(position, 0.0f, fixedHighY, fixedHighZ); break;
    }
}
