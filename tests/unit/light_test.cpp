// Light presets: which one holds when, and where each puts light 0.
#include "direction/light.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

struct Placement {
    float x, y, z;
};

Placement placementAt(int32_t t)
{
    float position[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    lightPositionFor(lightPresetForTime(t), t, position);
    EXPECT_EQ(position[3], 0.0f) << "light 0 stays directional at " << t;
    return {position[0], position[1], position[2]};
}

// An orbiting preset at time t: x and z are the float roundings of radius sin and
// cos of the angle, near the values worked out by hand.
void expectOrbit(int32_t t, double radius, double angle, float height, double roughX, double roughZ)
{
    const Placement orbit = placementAt(t);
    EXPECT_EQ(orbit.x, static_cast<float>(radius * std::sin(angle))) << "at " << t;
    EXPECT_EQ(orbit.y, height) << "at " << t;
    EXPECT_EQ(orbit.z, static_cast<float>(radius * std::cos(angle))) << "at " << t;
    EXPECT_NEAR(orbit.x, roughX, 1e-3) << "at " << t;
    EXPECT_NEAR(orbit.z, roughZ, 1e-3) << "at " << t;
}

TEST(LightPresets, BoundariesBelongToTheLaterPreset)
{
    EXPECT_EQ(lightPresetForTime(INT32_MIN), 0);
    EXPECT_EQ(lightPresetForTime(4999), 0);
    EXPECT_EQ(lightPresetForTime(5000), 1);
    EXPECT_EQ(lightPresetForTime(90329), 1);
    EXPECT_EQ(lightPresetForTime(90330), 2);
    EXPECT_EQ(lightPresetForTime(118769), 2);
    EXPECT_EQ(lightPresetForTime(118770), 3);
    EXPECT_EQ(lightPresetForTime(147219), 3);
    EXPECT_EQ(lightPresetForTime(147220), 4);
    EXPECT_EQ(lightPresetForTime(INT32_MAX), 4);
}

TEST(LightPresets, PlacementsAtEachChange)
{
    const Placement front = placementAt(4999);
    EXPECT_EQ(front.x, 0.0f);
    EXPECT_EQ(front.y, 0.0f);
    EXPECT_EQ(front.z, 10.0f);

    // The stored components are single-precision roundings of the double products.
    EXPECT_EQ(static_cast<double>(placementAt(5000).x), 14.069999694824219);
    expectOrbit(5000, 15, 7.5, 50, 14.07, 5.1995);
    expectOrbit(90330, 200, 90.33, 200, 140.113, -142.718);
    expectOrbit(118770, 50, 178.155, 50, 39.652, -30.459);

    for (int32_t t : {147220, 175000, 196000, INT32_MAX}) {
        const Placement high = placementAt(t);
        EXPECT_EQ(high.x, 0.0f);
        EXPECT_EQ(high.y, 200.0f);
        EXPECT_EQ(high.z, -100.0f);
    }
}

} // namespace
