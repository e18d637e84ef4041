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
    const Placement steep = placementAt(5000);
    EXPECT_EQ(static_cast<double>(steep.x), 14.069999694824219);
    EXPECT_EQ(steep.x, static_cast<float>(15 * std::sin(7.5)));
    EXPECT_EQ(steep.y, 50.0f);
    EXPECT_NEAR(steep.z, 5.1995, 1e-4);
    EXPECT_EQ(steep.z, static_cast<float>(15 * std::cos(7.5)));

    const Placement wide = placementAt(90330);
    EXPECT_NEAR(wide.x, 140.113, 1e-3);
    EXPECT_EQ(wide.y, 200.0f);
    EXPECT_NEAR(wide.z, -142.718, 1e-3);
    EXPECT_EQ(wide.x, static_cast<float>(200 * std::sin(90.33)));
    EXPECT_EQ(wide.z, static_cast<float>(200 * std::cos(90.33)));

    const Placement near = placementAt(118770);
    EXPECT_NEAR(near.x, 39.652, 1e-3);
    EXPECT_EQ(near.y, 50.0f);
    EXPECT_NEAR(near.z, -30.459, 1e-3);
    EXPECT_EQ(near.x, static_cast<float>(50 * std::sin(178.155)));
    EXPECT_EQ(near.z, static_cast<float>(50 * std::cos(178.155)));

    for (int32_t t : {147220, 175000, 196000, INT32_MAX}) {
        const Placement high = placementAt(t);
        EXPECT_EQ(high.x, 0.0f);
        EXPECT_EQ(high.y, 200.0f);
        EXPECT_EQ(high.z, -100.0f);
    }
}

} // namespace
