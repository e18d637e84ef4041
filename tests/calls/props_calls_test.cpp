// What each prop draws, through the recording GL: its solids with their arguments,
// colours and order, and where each solid lands, against numbers worked by hand.
#include "app/clock.h"
#include "gl_recorder.h"
#include "scenes/props.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct WorkedColumn {
    int index;
    int32_t t;
    double x, z, centreHeight, scale;
};
struct WorkedBlock {
    int index;
    double centre[3];
    double stretch;
};
// cos(0.03597 x 250 x 500) = cos(4496.25) = -0.807489451742, the height term of the
// corner column and block, where the sine term is 0 (its factor 0.03597 (x + 250) is 0).
constexpr double cornerCosine = -0.807489451742;

// Column 25 stands at x -250, z 250: both terms plain, H = 12.5, scale H + 1 = 13.5, centre
// d + 13.5 x 3.125 with d = 0.007 (t - 90330) - 210 until it reaches 0. Column 0 at the
// corner: H = 12.5 cornerCosine = -10.0936, scale -9.0936 (mirrored), centre 22.9469 at rest.
const WorkedColumn workedColumns[] = {
    {25, 90330, -250, 250, -210 + 42.1875, 13.5},
    {25, 105330, -250, 250, -105 + 42.1875, 13.5},
    {25, 130000, -250, 250, 42.1875, 13.5},
    {0, 130000, -250, -250, 22.94688, -9.09362},
};
// Block 1300 at the centre: H = 30, stretch 60, z -2500 + 60 x 150. Block 0 at the corner:
// H = 30 cornerCosine = -24.2247, stretch -48.4494, z -2500 + 5 x 2 x 24.2247^2.
const WorkedBlock workedBlocks[] = {
    {0, {-500, -500, 3368.353}, -48.44937},
    {1300, {0, 0, 6500.0}, 60.0},
};
// The spheres at rest (t = 0): rows lifted 0, 30, 58, 92 and 122, spaced 24, 40, 30, 55
// and 38 from x 0; at 40000 each row sways by its amplitude x sin(rate x 40000):
// 12 sin(100), 11 sin(120), 9 sin(40), 10 sin(80) and 11 sin(60).
const double workedSpheresAt0[][2] = {
    {0, 0},   {24, 0},  {48, 0},  {72, 0}, {96, 0},  {0, 30},  {40, 30},  {80, 30},  {0, 58},
    {30, 58}, {60, 58}, {90, 58}, {0, 92}, {55, 92}, {0, 122}, {38, 122}, {76, 122},
};
const double swayAt40000[] = {-6.07639, 6.38672, 6.70602, -9.93889, -3.35292};
constexpr size_t spheresInRow[] = {5, 3, 4, 2, 3};

constexpr double closeEnough = 1e-6;

void expectAt(const Point3& got, const Point3& want, const std::string& what)
{
    EXPECT_NEAR(got.x, want.x, closeEnough) << what;
    EXPECT_NEAR(got.y, want.y, closeEnough) << what;
    EXPECT_NEAR(got.z, want.z, closeEnough) << what;
}

// Runs one prop from a fresh recorder at the given time.
template <typename Draw> void recordProp(Draw draw, int32_t t = 0)
{
    resetGlRecorder();
    demoTimeMs = t;
    draw();
}

// How many times a call of each name with each argument list was made.
int countOf(const std::string& name, const std::vector<double>& args)
{
    int count = 0;
    for (const GlCall& call : callsNamed(name)) {
        count += call.args == args ? 1 : 0;
    }
    return count;
}

TEST(Props, ATreeIsATurnedStretchedTrunkUnderAFourSidedCrown)
{
    recordProp([] { drawTree(1.0f, 2.0f, 3.0f); });
    const std::vector<std::string> expected = {
        "glPushMatrix",      "glTranslatef 0 3 0",     "glTranslatef 1 2 3", "glRotatef 45 0 1 0",
        "glScalef 1 5 1",    "glColor4f 0.5 0.25 0 1", "glutSolidCube 2.5",  "glPopMatrix",
        "glPushMatrix",      "glTranslatef 1 2 3",     "glTranslatef 0 3 0", "glRotatef 90 -1 0 0",
        "glColor4f 0 1 0 1", "glutSolidCone 5 10 4 1", "glPopMatrix",
    };
    // The whole list, so where each solid lands follows from it: the trunk 12.5 tall and
    // centred 3 above the base, the crown's base 3 above it and its apex 13.
    EXPECT_EQ(callLines(), expected);
    EXPECT_EQ(currentModelViewDepth(), 1);
}

TEST(Props, TheForestIs29By29TreesThirtyApartRowByRow)
{
    recordProp(drawForest);
    const std::vector<GlCall> crowns = callsNamed("glutSolidCone");
    ASSERT_EQ(crowns.size(), 841u);
    EXPECT_EQ(callsNamed("glutSolidCube").size(), 841u);
    // z runs fastest: the second tree is 30 further along z, the 30th starts the next x.
    const std::tuple<int, Point3> bases[] = {
        {0, {-405.0, 3.5, -405.0}},  {1, {-405.0, 3.5, -375.0}}, {28, {-405.0, 3.5, 435.0}},
        {29, {-375.0, 3.5, -405.0}}, {420, {15.0, 3.5, 15.0}},   {840, {435.0, 3.5, 435.0}},
    };
    for (const auto& [tree, base] : bases) {
        expectAt(placed(crowns[tree]), {base.x, base.y + 3.0, base.z}, "tree " + std::to_string(tree));
    }
    EXPECT_EQ(currentModelViewDepth(), 1);
    EXPECT_TRUE(isIdentity(currentModelView()));
}

TEST(Props, TheWaveFieldStandsOnItsFixedSurfaceAndRisesOnlyUntilRest)
{
    for (const WorkedColumn& worked : workedColumns) {
        recordProp(drawWaveField, worked.t);
        const std::vector<GlCall> cubes = callsNamed("glutSolidCube");
        ASSERT_EQ(cubes.size(), 676u);
        const GlCall& column = cubes[worked.index];
        const std::string what = "column " + std::to_string(worked.index) + " at " + std::to_string(worked.t);
        EXPECT_EQ(column.args, std::vector<double>{10.0}) << what;
        EXPECT_NEAR(placed(column).x, worked.x, closeEnough) << what;
        EXPECT_NEAR(placed(column).y, worked.centreHeight, 1e-4) << what;
        EXPECT_NEAR(placed(column).z, worked.z, closeEnough) << what;
        // The column's own vertical axis is stretched by H + 1, mirrored where that is negative.
        EXPECT_NEAR(placed(column, {0.0, 1.0, 0.0}).y - placed(column).y, worked.scale, 1e-4) << what;
    }

    recordProp(drawWaveField, 200000);
    int mirrored = 0;
    for (const GlCall& scale : callsNamed("glScalef")) {
        mirrored += scale.args[1] < 0 ? 1 : 0;
    }
    EXPECT_GT(mirrored, 0) << "mirrored columns are drawn, not skipped";
    EXPECT_EQ(countOf("glColor4f", {1, 1, 1, 1}), 676);
    EXPECT_EQ(currentModelViewDepth(), 1);
}

TEST(Props, TheTunnelFieldIsAWallOf51By51BlocksColouredByPosition)
{
    recordProp(drawTunnelField);
    const std::vector<GlCall> cubes = callsNamed("glutSolidCube");
    ASSERT_EQ(cubes.size(), 2601u);
    for (const WorkedBlock& worked : workedBlocks) {
        const std::string what = "block " + std::to_string(worked.index);
        const GlCall& block = cubes[worked.index];
        EXPECT_EQ(block.args, std::vector<double>{10.0}) << what;
        EXPECT_NEAR(placed(block).x, worked.centre[0], closeEnough) << what;
        EXPECT_NEAR(placed(block).y, worked.centre[1], closeEnough) << what;
        EXPECT_NEAR(placed(block).z, worked.centre[2], 1e-2) << what;
        EXPECT_NEAR(placed(block, {0.0, 0.0, 1.0}).z - placed(block).z, worked.stretch, 1e-4) << what;
    }
    // Red follows u and green v at 0.015 a unit: -3.75 at one corner, 3.75 at the other.
    const std::vector<GlCall> colours = callsNamed("glColor4f");
    ASSERT_EQ(colours.size(), 2601u);
    const std::tuple<int, double, double> redGreen[] = {
        {0, -3.75, -3.75}, {1, -3.75, -3.6}, {51, -3.6, -3.75}, {1300, 0, 0}, {2600, 3.75, 3.75}};
    for (const auto& [block, red, green] : redGreen) {
        EXPECT_EQ(colours[block].args, singles({red, green, 1, 1})) << "block " << block;
    }
    EXPECT_EQ(currentModelViewDepth(), 1);
}

TEST(Props, SphereRowsSwayTogetherAndRow2HasOneStack)
{
    recordProp(drawSphereRows, 0);
    const std::vector<GlCall> atRest = callsNamed("glutSolidSphere");
    ASSERT_EQ(atRest.size(), 17u) << "5 + 3 + 4 + 2 + 3 spheres";
    for (size_t i = 0; i < atRest.size(); ++i) {
        const std::string what = "sphere " + std::to_string(i);
        expectAt(placed(atRest[i]), {workedSpheresAt0[i][0], workedSpheresAt0[i][1], 0.0}, what);
        const double stacks = i >= 5 && i < 8 ? 1.0 : 2.0;
        EXPECT_EQ(atRest[i].args, (std::vector<double>{2.5, 24, stacks})) << what;
    }
    // At 40000 every sphere of a row has moved sideways by its row's sway.
    recordProp(drawSphereRows, 40000);
    const std::vector<GlCall> swayed = callsNamed("glutSolidSphere");
    ASSERT_EQ(swayed.size(), 17u);
    size_t first = 0;
    for (size_t row = 0; row < std::size(spheresInRow); ++row) {
        const double sway = placed(swayed[first]).x - placed(atRest[first]).x;
        EXPECT_NEAR(sway, swayAt40000[row], 1e-4) << "row " << row;
        for (size_t i = first; i < first + spheresInRow[row]; ++i) {
            EXPECT_NEAR(placed(swayed[i]).x - placed(atRest[i]).x, sway, 1e-5) << "sphere " << i;
            EXPECT_EQ(placed(swayed[i]).y, placed(atRest[i]).y) << "sphere " << i;
        }
        first += spheresInRow[row];
    }
    // One translucent colour for all, set once before the first row.
    EXPECT_EQ(callLines()[1], "glColor4f 0.75 0.75 0.8 0.7");
    EXPECT_EQ(callsNamed("glColor4f").size(), 1u);
    EXPECT_EQ(currentModelViewDepth(), 1);
}

TEST(Props, TheLatticeIs172CubesInItsOrderAndKeepsItsTilt)
{
    recordProp(drawCubeLattice);
    const std::vector<std::string> lines = callLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "glTranslatef 7 7.75 -6.5");
    EXPECT_EQ(lines[1], "glRotatef 45 1 0 0.78");
    const std::vector<GlCall> cubes = callsNamed("glutSolidCube");
    ASSERT_EQ(cubes.size(), 172u) << "3 x 24 + 4 x 25";
    EXPECT_EQ(countOf("glutSolidCube", {2.5}), 172);
    EXPECT_EQ(countOf("glColor4f", {0.5, 0.5, 0.5, 1}), 172);

    // Each cube's place within the tilted frame: the translation after the tilt.
    std::vector<Point3> places;
    for (const GlCall& translate : callsNamed("glTranslatef")) {
        places.push_back({translate.args[0], translate.args[1], translate.args[2]});
    }
    places.erase(places.begin()); // the placing of the whole lattice
    ASSERT_EQ(places.size(), 172u);
    const std::tuple<int, Point3> worked[] = {
        {0, {-7.5, 5, -5}}, {2, {-7.5, 5, 5}},       {11, {7.5, 5, 5}},   {12, {-5, 5, -7.5}},
        {23, {5, 5, 7.5}},  {24, {-7.5, 10, -5}},    {71, {5, 15, 7.5}},  {72, {-5, 2.5, -5}},
        {80, {5, 2.5, 5}},  {81, {-7.5, 2.5, -7.5}}, {97, {-5, 7.5, -5}}, {171, {7.5, 17.5, 7.5}},
    };
    for (const auto& [cube, at] : worked) {
        expectAt(places[cube], at, "cube " + std::to_string(cube));
    }
    std::set<std::tuple<double, double, double>> distinct;
    for (const Point3& p : places) {
        distinct.insert({p.x, p.y, p.z});
    }
    EXPECT_EQ(distinct.size(), 172u) << "no cube drawn twice";
    // The tilt stays for the caller: the lattice's own origin sits at (7, 7.75, -6.5).
    EXPECT_EQ(currentModelViewDepth(), 1);
    const Matrix4 left = currentModelView();
    expectAt({left.m[12], left.m[13], left.m[14]}, {7.0, 7.75, -6.5}, "the lattice's origin");
    EXPECT_FALSE(isIdentity(left));
}

TEST(Props, CardsAndGroundAreOnePolygonEachWithTheirOwnState)
{
    recordProp([] { drawImageQuad(7, 0.0f, 0.0f, 1.0f, 0.5f, -10.0f, 20.0f, -5.0f, 15.0f); });
    const std::vector<std::string> card = {
        "glEnable TEXTURE_2D",
        "glColor4f 0 0 1 0.5",
        "glBindTexture TEXTURE_2D 7",
        "glBegin POLYGON",
        "glTexCoord2f 0 1",
        "glVertex2f -10 -5",
        "glTexCoord2f 0 0",
        "glVertex2f -10 15",
        "glTexCoord2f 1 0",
        "glVertex2f 20 15",
        "glTexCoord2f 1 1",
        "glVertex2f 20 -5",
        "glEnd",
        "glDisable TEXTURE_2D",
    };
    EXPECT_EQ(callLines(), card);

    // The ground starts from world coordinates whatever the caller had set.
    resetGlRecorder();
    glTranslatef(100.0f, 0.0f, 0.0f);
    drawGround(5000.0f);
    const std::vector<GlCall> corners = callsNamed("glVertex3f");
    ASSERT_EQ(corners.size(), 4u);
    const double h = 5000.0;
    const Point3 expected[] = {{h, 0, h}, {h, 0, -h}, {-h, 0, -h}, {-h, 0, h}};
    for (int i = 0; i < 4; ++i) {
        const Point3 corner = placed(corners[i], {corners[i].args[0], corners[i].args[1], corners[i].args[2]});
        expectAt(corner, expected[i], "ground corner " + std::to_string(i));
    }
    const std::vector<std::string> lines = callLines();
    const auto at = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_LT(at("glDisable LIGHTING"), at("glBegin POLYGON")) << "the ground is unlit";
    EXPECT_EQ(lines.back(), "glEnable LIGHTING");
    EXPECT_TRUE(isIdentity(currentModelView())) << "the caller's transform is gone after the ground";
    EXPECT_EQ(countOf("glColor4f", {1, 1, 1, 1}), 1);
}

} // namespace
