// What the scene renderers draw at the edges of their captions, skies, fades and flashes,
// many of them hidden under a full flash on screen, through the recording GL.
#include "app/clock.h"
#include "app/startup.h"
#include "assets/texture_set.h"
#include "direction/timeline.h"
#include "gl_recorder.h"
#include "scenes/scenes.h"
#include "view/projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Texture names no real slot would get, so each card says which image it shows.
constexpr GLuint firstFakeTexture = 100;
constexpr float beatPulseSet = 100.0f; // the sky at 0.0064 a ms: 1 - 0.64
constexpr float fastPulseSet = 10.0f;  // the sky at 0.0192 a ms: 1 - 0.192

class SceneCalls : public testing::Test {
protected:
    void SetUp() override
    {
        windowWidth = 800; // an overlay box of -160..160 by -90..90
        windowHeight = 450;
        for (int slot = 0; slot < textureSlotCount; ++slot) {
            textureSlots[slot] = firstFakeTexture + slot;
        }
    }

    // Draws the scene the timeline gives for t, with both pulses set.
    void drawAt(int32_t t)
    {
        resetGlRecorder();
        demoTimeMs = t;
        beatPulseMs = beatPulseSet;
        fastPulseMs = fastPulseSet;
        drawScene(sceneForTime(t));
    }

    // Each card drawn: its texture, colour and edges.
    struct Card {
        double texture;
        std::vector<double> colour;
        std::vector<double> corners; // left bottom, left top, right top, right bottom
    };
    static std::vector<Card> cards()
    {
        std::vector<Card> found;
        const std::vector<GlCall>& calls = glCalls();
        for (size_t i = 0; i + 1 < calls.size(); ++i) {
            if (calls[i].name == "glColor4f" && calls[i + 1].name == "glBindTexture") {
                Card card{calls[i + 1].args[1], calls[i].args, {}};
                for (size_t v = i + 2; v < calls.size() && calls[v].name != "glEnd"; ++v) {
                    if (calls[v].name == "glVertex2f") {
                        card.corners.insert(card.corners.end(), calls[v].args.begin(), calls[v].args.end());
                    }
                }
                found.push_back(card);
            }
        }
        return found;
    }

    // The colours of every overlay-wide quad: fades, veils and flashes, in drawing order.
    static std::vector<std::vector<double>> fills()
    {
        std::vector<std::vector<double>> found;
        const std::vector<GlCall>& calls = glCalls();
        for (size_t i = 0; i + 2 < calls.size(); ++i) {
            if (calls[i].name == "glBegin" && calls[i].args[0] == GL_QUADS && calls[i + 1].name == "glColor4f" &&
                calls[i + 2].name == "glVertex2f" && calls[i + 2].args == std::vector<double>{160, 90}) {
                found.push_back(calls[i + 1].args);
            }
        }
        return found;
    }
};

TEST_F(SceneCalls, TheCaptionsChangeAfter19220AndEndAfter21880)
{
    const double s1 = firstFakeTexture + slotS1, s2 = firstFakeTexture + slotS2;
    struct Edge {
        int32_t t;
        std::vector<Card> shown;
    };
    // s1: centre (72, -58.5), 80 left and 70 right of it, 12.2625 up and down, blue fading in.
    // s2: centre (-80, 58.5), 50 either side, 5.38 up and down, white.
    const std::vector<double> s1Corners = singles({-8, -70.7625, -8, -46.2375, 142, -46.2375, 142, -70.7625});
    const std::vector<double> s2Corners = singles({-130, 53.12, -130, 63.88, -30, 63.88, -30, 53.12});
    const Edge edges[] = {
        {5000, {{s1, {0, 0, 1, 0}, s1Corners}}},
        {19220, {{s1, singles({0, 0, 1, 2.2752}), s1Corners}}},
        {19221, {{s2, {1, 1, 1, 1}, s2Corners}}},
        {21880, {{s2, {1, 1, 1, 1}, s2Corners}}},
        {21881, {}},
    };
    for (const Edge& edge : edges) {
        drawAt(edge.t);
        const std::vector<Card> shown = cards();
        ASSERT_EQ(shown.size(), edge.shown.size()) << edge.t;
        for (size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].texture, edge.shown[i].texture) << edge.t;
            EXPECT_EQ(shown[i].colour, edge.shown[i].colour) << edge.t;
            EXPECT_EQ(shown[i].corners, edge.shown[i].corners) << edge.t;
        }
    }
}

TEST_F(SceneCalls, FadesVeilsAndFlashesAtTheirEdges)
{
    // The overlay-wide quads of the frame, bottom first: the fades and veils, then the
    // flashes, every one whose start has come.
    struct Moment {
        int32_t t;
        std::vector<std::vector<double>> first; // the fades and veils, and the flashes that matter
        size_t total;
        const char* what;
    };
    const std::vector<double> white = {1, 1, 1, 1};
    const Moment moments[] = {
        {5000, {}, 0, "no fade from black at exactly 5000"},
        {5001, {singles({0, 0, 0, 1 - 0.00032})}, 1, "the fade from black starts"},
        {32550, {singles({0, 0, 0, 1 - 27550 * 0.00032})}, 1 + 12, "no fade to black yet"},
        {32551,
         {singles({0, 0, 0, 0.001}), singles({0, 0, 0, 1 - 27551 * 0.00032})},
         2 + 12,
         "the fade to black under the fade from black"},
        {34750, {}, 0, "the spheres have no flash"},
        {47659, {singles({1, 1, 1, 1 - 10 * 0.0032})}, 1, "the veil, from the fast pulse"},
        {47660, {}, 0, "no veil from 47660"},
        {90330, {white}, 1, "the field rises under a full slow flash"},
        {90331, {singles({1, 1, 1, 1 - 0.0032})}, 1, "the slow flash fades"},
        {147220, {white}, 1, "the resting field opens with a full slow flash"},
        {186329, {singles({1, 1, 1, 1 - 10669 * 0.0032})}, 1, "no fade to black before 186330"},
        {186330, {singles({0, 0, 0, 0}), singles({1, 1, 1, 1 - 10670 * 0.0032})}, 2, "the fade starts at 0"},
        {195000, {singles({1, 1, 1, 1 - 5120 * 0.0032})}, 1, "the end card, no fade yet"},
        {195001, {singles({0, 0, 0, 0.0025}), singles({1, 1, 1, 1 - 5121 * 0.0032})}, 2, "the end card fades"},
    };
    for (const Moment& moment : moments) {
        drawAt(moment.t);
        const std::vector<std::vector<double>> drawn = fills();
        EXPECT_EQ(drawn.size(), moment.total) << moment.t << ": " << moment.what;
        const size_t compared = std::min(drawn.size(), moment.first.size());
        EXPECT_EQ(std::vector<std::vector<double>>(drawn.begin(), drawn.begin() + compared), moment.first)
            << moment.t << ": " << moment.what;
    }

    // Scene 7 keeps calling every flash once it has faded: eight quads at its last flash.
    drawAt(172110);
    const std::vector<std::vector<double>> flashes = fills();
    ASSERT_EQ(flashes.size(), 8u);
    EXPECT_EQ(flashes.front(), singles({1, 1, 1, 1 - 24890 * 0.0032}));
    EXPECT_EQ(flashes.back(), white);
}

TEST_F(SceneCalls, SkiesFollowTheirPulseAndSwitchToTheFastOneAt58330)
{
    struct Sky {
        int32_t t;
        std::vector<double> clear;
    };
    const std::vector<double> fromBeat = singles({0.36, 0.36, 0.46, 1});
    const std::vector<double> fromFast = singles({0.808, 0.808, 0.908, 1});
    const Sky skies[] = {
        {4000, {0, 0, 0, 0}}, {20000, {0, 0, 0.1f, 1}},  {40000, {0, 0, 0, 0}},  {58329, fromBeat},
        {58330, fromFast},    {70000, fromBeat},         {100000, fromBeat},     {130000, fromBeat},
        {160000, fromBeat},   {180000, {0, 0, 0.1f, 1}}, {192000, {0, 0, 0, 1}},
    };
    for (const Sky& sky : skies) {
        drawAt(sky.t);
        const std::vector<GlCall> clears = callsNamed("glClearColor");
        ASSERT_FALSE(clears.empty()) << sky.t;
        EXPECT_EQ(clears.back().args, sky.clear) << sky.t;
    }
}

TEST_F(SceneCalls, TheSphereGroupSinksUnlitAndTranslucentUnderItsFadingCaption)
{
    struct Moment {
        int32_t t;
        double groupHeight;
        double captionAlpha;
    };
    // -200 at the scene's end, 0.0225 a ms; the caption fades in over 6250 ms.
    const Moment moments[] = {{34750, 80.575, 0}, {41000, -60.05, 1}, {47219, -199.9775, 1.99504}};
    for (const Moment& moment : moments) {
        drawAt(moment.t);
        const std::vector<GlCall> spheres = callsNamed("glutSolidSphere");
        ASSERT_EQ(spheres.size(), 17u);
        EXPECT_NEAR(placed(spheres[0]).y, moment.groupHeight, 1e-4) << moment.t;
        EXPECT_NEAR(placed(spheres.back()).y, moment.groupHeight + 122, 1e-4) << moment.t;
        const std::vector<Card> shown = cards();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].texture, firstFakeTexture + slotS3);
        EXPECT_NEAR(shown[0].colour[3], moment.captionAlpha, 1e-6) << moment.t;
        EXPECT_EQ(shown[0].corners, singles({-130, -14.615, -130, 14.615, -30, 14.615, -30, -14.615}));
    }
    // Depth test and lighting go off and blending on before the first sphere.
    const std::vector<std::string> lines = callLines();
    const auto firstSphere = std::find_if(lines.begin(), lines.end(),
                                          [](const std::string& l) { return l.rfind("glutSolidSphere", 0) == 0; });
    const std::vector<std::string> before(lines.begin(), firstSphere);
    const auto lastOf = [&before](const std::string& line) {
        return std::find(before.rbegin(), before.rend(), line) - before.rbegin();
    };
    EXPECT_LT(lastOf("glDisable DEPTH_TEST"), lastOf("glEnable DEPTH_TEST"));
    EXPECT_LT(lastOf("glDisable LIGHTING"), lastOf("glEnable LIGHTING"));
    EXPECT_LT(lastOf("glEnable BLEND"), lastOf("glDisable BLEND"));
}

TEST_F(SceneCalls, TheWaveFieldRisesThroughScene5AndRestsInScenes7And8)
{
    // The first column's centre, worked in props_calls_test.cpp: 22.95 at rest.
    struct Moment {
        int32_t t;
        double firstColumnHeight;
        float groundHalfSize;
    };
    const Moment moments[] = {
        {90330, -187.05312153264003, 500},
        {105330, -82.05312153264003, 500},
        {150000, 22.946878467359966, 500},
        {180000, 22.946878467359966, 5000},
    };
    for (const Moment& moment : moments) {
        drawAt(moment.t);
        const std::vector<GlCall> cubes = callsNamed("glutSolidCube");
        ASSERT_EQ(cubes.size(), 676u) << moment.t;
        EXPECT_NEAR(placed(cubes[0]).y, moment.firstColumnHeight, 1e-6) << moment.t;
        const std::vector<GlCall> corners = callsNamed("glVertex3f");
        ASSERT_EQ(corners.size(), 4u);
        EXPECT_EQ(corners[0].args, (std::vector<double>{moment.groundHalfSize, 0, moment.groundHalfSize}));
    }
}

TEST_F(SceneCalls, EveryRendererHandsBackAnIdentityModelView)
{
    for (int32_t t = -100; t <= demoEndMs; t += 250) {
        drawAt(t);
        ASSERT_TRUE(isIdentity(currentModelView())) << "scene " << sceneForTime(t) << " at " << t;
    }
}

} // namespace
