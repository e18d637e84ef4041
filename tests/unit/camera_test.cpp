// Camera shots against known views and hand-worked values, and a sweep of every shot
// over its own rows.
#include "direction/camera.h"
#include "direction/timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

ShotView viewOf(int shot, int32_t t)
{
    ShotView view{};
    EXPECT_TRUE(shotView(shot, t, &view)) << "shot " << shot;
    return view;
}

void expectVec(const double* actual, double x, double y, double z, double tolerance, const char* what)
{
    EXPECT_NEAR(actual[0], x, tolerance) << what << " x";
    EXPECT_NEAR(actual[1], y, tolerance) << what << " y";
    EXPECT_NEAR(actual[2], z, tolerance) << what << " z";
}

TEST(CameraShots, StillShotsHoldAtAnyTime)
{
    // Shot 0 looks from 10 along z at the origin, shot 36 the same from 1 higher.
    for (int32_t t : {INT32_MIN, 0, 4999, 100000, 196000, INT32_MAX}) {
        for (const auto& [shot, height] : {std::pair<int, double>{0, 0.0}, {36, 1.0}}) {
            const ShotView view = viewOf(shot, t);
            expectVec(view.eye, 0, height, 10, 0, "eye");
            expectVec(view.centre, 0, height, 0, 0, "centre");
            expectVec(view.up, 0, 1, 0, 0, "up");
        }
    }
}

TEST(CameraShots, ShotsOutsideTheTableAreRefused)
{
    ShotView view{};
    EXPECT_FALSE(shotView(-1, 0, &view));
    EXPECT_FALSE(shotView(shotCount, 0, &view));
}

TEST(CameraShots, FlyInCrossesTheTangentPoleUnclamped)
{
    // The tangent runs from 83220, the approach and roll from 86770.
    const ShotView start = viewOf(17, 86770);
    expectVec(start.eye, -22736.18, 7.5, -19894.15, 0.01, "eye at 86770");
    expectVec(start.centre, 0, 7.5, 0, 0, "centre");
    expectVec(start.up, 0, 1, 0, 0, "up at 86770");

    // Just past pi/2: a huge negative factor throws the eye far out on the other side.
    const ShotView pastPole = viewOf(17, 86790);
    EXPECT_NEAR(pastPole.eye[0], 5.44e7, 0.01e7);
    EXPECT_NEAR(pastPole.eye[2], 4.76e7, 0.01e7);
    EXPECT_NEAR(pastPole.up[0], std::sin(0.05), 1e-15);
    EXPECT_NEAR(pastPole.up[1], std::cos(0.05), 1e-15);

    expectVec(viewOf(17, 88000).eye, 322.77, 7.5, 280.34, 0.01, "eye at 88000");
    expectVec(viewOf(17, 90329).eye, 2.3385, 7.5, 1.9977, 1e-4, "eye at 90329");
}

struct WorkedShot {
    int shot;
    int32_t t;
    double values[9]; // eye, centre, up
};

// Shots worked by hand at moments where their terms come out plain: a start (d = 0),
// a whole second in (d = 1000), a swing's tangent at 0, an orbit angle of 1 or 1.5 rad.
const WorkedShot workedShots[] = {
    // shot 1 at 10000: tan(0.000125 t - 1.25) = 0, the orbit at 1.5 rad.
    {1, 10000, {40 * 0.997494986604054, 10, 40 * 0.0707372016677029, 0, 10, 0, 0.1, 1, 0}},
    // shot 2 at 20000: the drift at sin(1).
    {2, 20000, {40 * 0.841470984807897, 10, 40, 30, 12, 0, 0, 1, 0}},
    {9, 100000, {0, 10, 150, 0, 10, 0, 0, 1, 0}},
    // shot 10 at its start and a second in: the eye 0.1 a ms, the gaze 0.2.
    {10, 61880, {150, 8, 250, 150, 5, 240, 0, 1, 0}},
    {10, 62880, {150, 8, 150, 150, 5, 40, 0, 1, 0}},
    {11, 66440, {-40, 15, -35, 0, 9, -35, 0, 1, 0}},
    // shot 12 at its start: radius 60, eye at 15 - 10 tan(0) + 10.
    {12, 69000, {0, 25, 60, 0, 12.5, 0, 0, 1, 0}},
    // shot 13 a second in: radius 32.5 at 1 rad, eye at 10 tan(0.25) - 10 + 10.
    {13, 73550, {32.5 * 0.841470984807897, 10 * 0.255341921221036, 32.5 * 0.540302305868140, 0, 12.5, 0, 0, 1, 0}},
    // shots 20 and 21 a second in: the same flight, rolled opposite ways.
    {20, 123330, {-550, -550, 17000, 0, 0, 15900, -0.1, 1, 0}},
    {21, 126880, {750, 750, 17000, 0, 0, 15900, 0.1, 1, 0}},
};

TEST(CameraShots, WorkedShotsMatchTheirHandWorkedValues)
{
    constexpr int valuesPerShot = 9;
    constexpr double tolerance = 1e-9;
    for (const WorkedShot& worked : workedShots) {
        const ShotView view = viewOf(worked.shot, worked.t);
        const double* parts[] = {view.eye, view.centre, view.up};
        for (int i = 0; i < valuesPerShot; ++i) {
            EXPECT_NEAR(parts[i / 3][i % 3], worked.values[i], tolerance)
                << "shot " << worked.shot << " at " << worked.t << ", value " << i;
        }
    }
}

// The largest magnitude among the view's numbers, infinite when any is not finite.
double reach(const ShotView& view)
{
    double most = 0;
    for (const double* part : {view.eye, view.centre, view.up}) {
        for (int i = 0; i < 3; ++i) {
            if (!std::isfinite(part[i])) return INFINITY;
            most = std::max(most, std::fabs(part[i]));
        }
    }
    return most;
}

TEST(CameraShots, EveryMillisecondOfEveryRowIsFinite)
{
    // The open-ended first and last rows are swept over the part the demo plays.
    constexpr int32_t firstPlayedMs = 0;
    constexpr int32_t lastPlayedMs = 196001;
    // Only shot 17 crosses a tangent pole; every other shot stays within the world.
    constexpr double worldReach = 1e5;
    constexpr int poleShot = 17;
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow shotRow = shotTableRow(row);
        const int32_t from = std::max(shotRow.fromMs, firstPlayedMs);
        const int32_t to = std::min(shotRow.toMs, lastPlayedMs);
        int broken = 0;
        for (int32_t t = from; t < to; ++t) {
            ShotView view;
            shotView(shotRow.shot, t, &view);
            const double most = reach(view);
            if (!std::isfinite(most) || (shotRow.shot != poleShot && most > worldReach)) {
                if (broken++ == 0) {
                    ADD_FAILURE() << "shot " << shotRow.shot << " at " << t;
                }
            }
        }
        EXPECT_EQ(broken, 0) << "row " << row;
    }
}

} // namespace
