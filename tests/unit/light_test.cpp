// Light presets: which one holds when, and where each puts light 0.
#include "direction/light.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

namespace {

TEST(LightPresets, BoundariesBelongToTheLaterPreset)
{
    const std::pair<int32_t, int> presets[] = {
        {INT32_MIN, 0}, {4999, 0},   {5000, 1},   {90329, 1},  {90330, 2},
        {118769, 2},    {118770, 3}, {147219, 3}, {147220, 4}, {INT32_MAX, 4},
    };
    for (const auto& [t, preset] : presets) {
        EXPECT_EQ(lightPresetForTime(t), preset) << "at " << t;
    }
}

TEST(LightPresets, PlacementsAtEachChange)
{
    // The orbits put radius sin(angle) on x and radius cos(angle) on z, worked in double
    // precision and stored as the nearest float: radius 15 at 0.0015 rad/ms from 5000,
    // 200 at 0.001 from 90330 and 50 at 0.0015 from 118770 (angles 7.5, 90.33, 178.155).
    struct Placement {
        int32_t t;
        float x, y, z;
    };
    const Placement placements[] = {
        {4999, 0, 0, 10},
        {5000, 14.069999694824219f, 50, 5.199529647827148f},
        {90330, 140.1127166748047f, 200, -142.71800231933594f},
        {118770, 39.65193557739258f, 50, -30.458559036254883f},
        {147220, 0, 200, -100},
        {175000, 0, 200, -100},
        {INT32_MAX, 0, 200, -100},
    };
    for (const Placement& p : placements) {
        float position[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
        lightPositionFor(lightPresetForTime(p.t), p.t, position);
        EXPECT_EQ(position[0], p.x) << "at " << p.t;
        EXPECT_EQ(position[1], p.y) << "at " << p.t;
        EXPECT_EQ(position[2], p.z) << "at " << p.t;
        EXPECT_EQ(position[3], 0.0f) << "light 0 stays directional at " << p.t;
    }
}

} // namespace
