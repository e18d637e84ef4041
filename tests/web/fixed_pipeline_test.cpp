// The web layer's fixed-function arithmetic against values worked by hand: GLU's
// matrices, the stacks' refusals, per-vertex lighting and freeglut's solids.
#include "platform/web/fixed_pipeline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float tolerance = 1e-5f;

struct PointCase {
    const char* what;
    Mat4 matrix;
    float in[4];
    float out[4]; // after the divide by w
};

TEST(WebFixedMatrices, PlacePointsWhereGluPutsThem)
{
    const PointCase cases[] = {
        // cot 45 = 1: x is halved by the aspect 2; near and far go to -1 and +1.
        {"perspective 90 deg, near plane", perspectiveMatrix(90, 2, 1, 3), {1, 1, -1, 1}, {0.5f, 1, -1, 1}},
        {"perspective 90 deg, far plane", perspectiveMatrix(90, 2, 1, 3), {0, 3, -3, 1}, {0, 1, 1, 1}},
        {"look down -z from z 5", lookAtMatrix(0, 0, 5, 0, 0, 0, 0, 1, 0), {1, 2, 0, 1}, {1, 2, -5, 1}},
        // Looking down -x, world +z lies to the left.
        {"look down -x from x 5", lookAtMatrix(5, 0, 0, 0, 0, 0, 0, 1, 0), {0, 0, 1, 1}, {-1, 0, -5, 1}},
        {"overlay box corner", orthoMatrix(-160, 160, -90, 90, -1, 1), {160, 90, 0, 1}, {1, 1, 0, 1}},
        {"overlay box left middle", orthoMatrix(-160, 160, -90, 90, -1, 1), {-160, 45, 0, 1}, {-1, 0.5f, 0, 1}},
        {"90 deg about z", rotationMatrix(90, 0, 0, 1), {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"90 deg about an axis of length 2", rotationMatrix(90, 0, 0, 2), {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"90 deg about -x turns +z to +y", rotationMatrix(90, -1, 0, 0), {0, 0, 1, 1}, {0, 1, 0, 1}},
        {"axis of length 0 changes nothing", rotationMatrix(90, 0, 0, 0), {1, 2, 3, 1}, {1, 2, 3, 1}},
        {"translate after scale",
         multiplyMatrices(translationMatrix(1, 2, 3), scaleMatrix(2, 2, 2)),
         {1, 1, 1, 1},
         {3, 4, 5, 1}},
        {"zero aspect leaves the identity", perspectiveMatrix(45, 0, 1, 10), {1, 2, 3, 1}, {1, 2, 3, 1}},
    };
    for (const PointCase& c : cases) {
        float clip[4];
        transformPoint(c.matrix, c.in, clip);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(clip[i] / clip[3], c.out[i], tolerance) << c.what << ", coordinate " << i;
        }
    }
}

TEST(WebFixedMatrices, NormalsFollowTheInverseTransposeWithoutRenormalising)
{
    struct NormalCase {
        const char* what;
        Mat4 matrix;
        float in[3];
        float out[3];
    } const cases[] = {
        // A trunk stretched 5 times in y: its top face's normal shrinks to a fifth.
        {"stretched in y, top face", scaleMatrix(1, 5, 1), {0, 1, 0}, {0, 0.2f, 0}},
        {"stretched in y, side face", scaleMatrix(1, 5, 1), {1, 0, 0}, {1, 0, 0}},
        {"turned 90 deg about z", rotationMatrix(90, 0, 0, 1), {1, 0, 0}, {0, 1, 0}},
        {"moved only", translationMatrix(7, 8, 9), {0, 0, 1}, {0, 0, 1}},
    };
    for (const NormalCase& c : cases) {
        float out[3];
        transformNormal(c.matrix, c.in, out);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(out[i], c.out[i], tolerance) << c.what << ", coordinate " << i;
        }
    }
}

TEST(WebFixedMatrices, StacksRefuseOverflowAndUnderflowAndChangeNothing)
{
    resetFixedPipeline(nullptr);
    EXPECT_FALSE(fixedPopMatrix()) << "a pop at one level is refused";
    fixedMultiply(translationMatrix(1, 0, 0));
    for (int level = 1; level < matrixStackDepth; ++level) {
        ASSERT_TRUE(fixedPushMatrix()) << "push to level " << level + 1;
    }
    fixedMultiply(translationMatrix(0, 1, 0));
    EXPECT_FALSE(fixedPushMatrix()) << "a push at 32 levels is refused";
    EXPECT_EQ(fixedModelViewDepth(), matrixStackDepth);
    EXPECT_FLOAT_EQ(fixedModelView().m[13], 1.0f) << "the refused push kept the top as it was";
    ASSERT_TRUE(fixedPopMatrix());
    EXPECT_FLOAT_EQ(fixedModelView().m[12], 1.0f);
    EXPECT_FLOAT_EQ(fixedModelView().m[13], 0.0f) << "the level below the top was never touched";
    fixedMatrixMode(fixedgl::projectionMode);
    EXPECT_FALSE(fixedPopMatrix()) << "the projection stack is a stack of its own";
    EXPECT_EQ(fixedModelViewDepth(), matrixStackDepth - 1);
}

struct LightCase {
    const char* what;
    float lightDirection[3];
    float normal[3];
    float diffuse[4];
    bool lightOn;
    float expected[4];
};

TEST(WebFixedLighting, MatchesTheFixedFunctionEquationAtAVertex)
{
    // The demo's material: ambient 0.2 in a scene ambient of 0.2 (0.04), specular 1,
    // shininess 50; the diffuse colour is the vertex colour.
    const float r = 0.141067f; // sin of the angle whose cosine is 0.99
    const LightCase cases[] = {
        // n.l = cos 45 = 0.70711; n.h = cos 67.5 = 0.38268, whose 50th power is ~1e-21.
        {"light 45 deg off the normal",
         {0, 1, 1},
         {0, 1, 0},
         {0.5f, 0.5f, 0.5f, 0.8f},
         true,
         {0.39355f, 0.39355f, 0.39355f, 0.8f}},
        // n.l = n.h = 0.99: diffuse 0.198, highlight 0.99^50 = 0.60501.
        {"highlight 0.99 along h",
         {0, 0, 1},
         {r, 0, 0.99f},
         {0.2f, 0.2f, 0.2f, 1},
         true,
         {0.84301f, 0.84301f, 0.84301f, 1}},
        // n.l = 1 and n.h = 1: 0.04 + 0.5 + 1 clamps to 1.
        {"head on, clamped", {0, 0, 1}, {0, 0, 1}, {0.5f, 0.25f, 0, 1}, true, {1, 1, 1, 1}},
        // n.l < 0 but n.h > 0: no highlight where the light does not reach.
        {"light behind the surface", {1, 0, -0.2f}, {0, 0, 1}, {1, 1, 1, 1}, true, {0.04f, 0.04f, 0.04f, 1}},
        // A normal shrunk to 0.2 by a scale lights only a fifth as much.
        {"normal of length 0.2", {0, 1, 0}, {0, 0.2f, 0}, {1, 1, 1, 0.5f}, true, {0.24f, 0.24f, 0.24f, 0.5f}},
        {"light 0 switched off", {0, 0, 1}, {0, 0, 1}, {1, 1, 1, 0.25f}, false, {0.04f, 0.04f, 0.04f, 0.25f}},
    };
    for (const LightCase& c : cases) {
        Material material = defaultMaterial();
        std::copy(c.diffuse, c.diffuse + 4, material.diffuse);
        material.specular[0] = material.specular[1] = material.specular[2] = 1.0f;
        material.shininess = 50.0f;
        DirectionalLight light = defaultLight0();
        std::copy(c.lightDirection, c.lightDirection + 3, light.eyePosition);
        float out[4];
        lightVertex(material, light, c.lightOn, defaultSceneAmbient, c.normal, out);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(out[i], c.expected[i], 1e-4f) << c.what << ", channel " << i;
        }
    }
}

std::vector<ClipVertex> drawn;

void keepBatch(const DrawBatch& batch) { drawn.assign(batch.vertices, batch.vertices + batch.count); }

// The demo's lit state: colour material on the diffuse, specular 1, shininess 50.
void setUpDemoLighting()
{
    resetFixedPipeline(keepBatch);
    const float specular[4] = {1, 1, 1, 1};
    const float shininess = 50.0f;
    fixedMaterial(fixedgl::front, fixedgl::specular, specular);
    fixedMaterial(fixedgl::front, fixedgl::shininess, &shininess);
    fixedColourMaterial(fixedgl::front, fixedgl::diffuse);
    setFixedCapability(fixedgl::colourMaterial, true);
    setFixedCapability(fixedgl::lighting, true);
    setFixedCapability(fixedgl::light0, true);
}

TEST(WebFixedPipeline, ColourMaterialLightsAQuadWithTheCurrentNormal)
{
    setUpDemoLighting();
    const float position[4] = {0, 1, 1, 0};
    fixedLight(fixedgl::light0, fixedgl::position, position);
    fixedBegin(fixedgl::quads);
    fixedColour(0.5f, 0.25f, 0.0f, 1.0f);
    for (int i = 0; i < 4; ++i) {
        fixedVertex(static_cast<float>(i & 1), static_cast<float>(i >> 1), 0);
    }
    fixedEnd();
    ASSERT_EQ(drawn.size(), 6u);
    // Normal (0, 0, 1): n.l = cos 45, n.h = cos 22.5 = 0.92388, to the 50th 0.019088.
    const float expected[3] = {0.41264f, 0.23586f, 0.05909f};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(drawn[0].colour[i], expected[i], 1e-4f) << "channel " << i;
    }
    EXPECT_FLOAT_EQ(drawn[0].colour[3], 1.0f);
}

TEST(WebFixedPipeline, ALightPositionIsFixedInTheModelViewOfItsMoment)
{
    setUpDemoLighting();
    fixedMultiply(rotationMatrix(90, 0, 0, 1));
    const float position[4] = {1, 0, 0, 0};
    fixedLight(fixedgl::light0, fixedgl::position, position);
    fixedLoadIdentity();
    EXPECT_NEAR(fixedLight0().eyePosition[0], 0.0f, tolerance);
    EXPECT_NEAR(fixedLight0().eyePosition[1], 1.0f, tolerance);
    EXPECT_EQ(fixedLight0().eyePosition[3], 0.0f);
}

TEST(WebFixedPipeline, QuadsSplitAsMesaSplitsThemAndColoursClamp)
{
    resetFixedPipeline(keepBatch);
    fixedBegin(fixedgl::quads);
    const float xs[4] = {10, 20, 30, 40};
    for (float x : xs) {
        fixedColour(x / 10.0f - 1.6f, 1.6f, -0.5f, 1.0f);
        fixedVertex(x, 0, 0);
    }
    fixedEnd();
    const float order[6] = {10, 20, 40, 20, 30, 40};
    ASSERT_EQ(drawn.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(drawn[i].clip[0], order[i]) << "vertex " << i;
    }
    EXPECT_FLOAT_EQ(drawn[0].colour[0], 0.0f) << "-0.6 clamps to 0";
    EXPECT_FLOAT_EQ(drawn[5].colour[0], 1.0f) << "2.4 clamps to 1";
    EXPECT_FLOAT_EQ(drawn[0].colour[1], 1.0f);
    EXPECT_FLOAT_EQ(drawn[0].colour[2], 0.0f);
}

TEST(WebFixedPipeline, AScanlineCoversExactlyOnePixelRow)
{
    resetFixedPipeline(keepBatch);
    fixedViewport(0, 0, 320, 180);
    fixedMatrixMode(fixedgl::projectionMode);
    fixedMultiply(orthoMatrix(-160, 160, -90, 90, -1, 1));
    fixedMatrixMode(fixedgl::modelViewMode);
    // Box y -89 is the boundary between window rows 0 and 1, 0 the one between 89 and
    // 90, -90 the picture's bottom edge: each line darkens the row below its boundary.
    struct {
        float y;
        float rowCentre;
    } const cases[] = {{-90.0f, -0.5f}, {-89.0f, 0.5f}, {0.0f, 89.5f}};
    for (const auto& c : cases) {
        fixedBegin(fixedgl::lines);
        fixedVertex(-160, c.y, 0);
        fixedVertex(160, c.y, 0);
        fixedEnd();
        ASSERT_EQ(drawn.size(), 6u);
        float low = 1e9f, high = -1e9f, left = 1e9f, right = -1e9f;
        for (const ClipVertex& v : drawn) {
            low = std::min(low, (v.clip[1] + 1) * 90);
            high = std::max(high, (v.clip[1] + 1) * 90);
            left = std::min(left, (v.clip[0] + 1) * 160);
            right = std::max(right, (v.clip[0] + 1) * 160);
        }
        EXPECT_LT(low, c.rowCentre) << "line at " << c.y;
        EXPECT_GT(high, c.rowCentre) << "line at " << c.y;
        EXPECT_GT(low, c.rowCentre - 1) << "line at " << c.y << " reaches the row below";
        EXPECT_LT(high, c.rowCentre + 1) << "line at " << c.y << " reaches the row above";
        EXPECT_NEAR(left, 0, tolerance);
        EXPECT_NEAR(right, 320, tolerance);
    }
}

TEST(WebGlutSolids, HaveFreeglutsVerticesAndTriangles)
{
    const std::vector<SolidVertex> cube = solidCubeTriangles(10);
    ASSERT_EQ(cube.size(), 36u);
    const float firstTriangle[3][3] = {{5, 5, 5}, {-5, 5, 5}, {-5, -5, 5}};
    for (int v = 0; v < 3; ++v) {
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(cube[v].position[i], firstTriangle[v][i]);
        }
        EXPECT_FLOAT_EQ(cube[v].normal[2], 1.0f);
    }
    EXPECT_FLOAT_EQ(cube[35].normal[2], -1.0f) << "the last face looks down -z";

    // 4 slices, 2 stacks: a top and a bottom strip of 10 indices, 8 triangles each.
    const std::vector<SolidVertex> sphere = solidSphereTriangles(2, 4, 2);
    ASSERT_EQ(sphere.size(), 48u);
    // The first triangle: equator at angle 0, the pole, then the equator a quarter
    // turn clockwise seen from +z (freeglut runs the slices the negative way).
    EXPECT_NEAR(sphere[0].position[0], 2, tolerance);
    EXPECT_FLOAT_EQ(sphere[1].position[2], 2);
    EXPECT_NEAR(sphere[2].position[1], -2, tolerance);
    EXPECT_NEAR(sphere[2].normal[1], -1, tolerance);

    // Base 5, height 10: side normals (cos, sin) of the slant, 10 / sqrt 125 and 5 / sqrt 125.
    const std::vector<SolidVertex> cone = solidConeTriangles(5, 10, 4, 1);
    ASSERT_EQ(cone.size(), 48u);
    const SolidVertex& side = cone[24];
    EXPECT_NEAR(std::hypot(side.normal[0], side.normal[1]), 0.894427f, tolerance);
    EXPECT_NEAR(side.normal[2], 0.447214f, tolerance);
    EXPECT_FLOAT_EQ(cone[0].normal[2], -1.0f) << "the base faces down";
    EXPECT_FLOAT_EQ(cone[47].position[2], 10.0f) << "the strip ends at the apex ring";
}

} // namespace
