// Whole frames through the display callback on a real GL context: the order of the
// work in a frame, and the shot, light and clear colour each frame takes from the last.
#include "app/clock.h"
#include "app/frame.h"
#include "app/startup.h"
#include "app/warm_up.h"
#include "direction/light.h"
#include "direction/timeline.h"
#include "gl_context.h"
#include "recording_platform.h"
#include "view/overlays.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// The GL state and shot as one step of a frame begins.
struct StepSeen {
    std::string step;
    int shot;
    GLfloat light[4];
    GLfloat modelView[16];
};

struct NamedStep {
    void (*run)();
    const char* name;
};
const NamedStep knownSteps[] = {
    {clearFrame, "clear"},        {drawCurrentScene, "scene"},  {selectLightPreset, "light"}, {selectShot, "shot"},
    {drawLetterbox, "letterbox"}, {drawScanlines, "scanlines"}, {presentFrame, "swap"},
};

void (*realSteps[frameStepCount])();
std::vector<StepSeen> seen;
// The window's centre pixel just after each clear.
std::vector<std::vector<GLfloat>> clearedTo;

std::string nameOf(void (*step)())
{
    for (const NamedStep& known : knownSteps) {
        if (known.run == step) {
            return known.name;
        }
    }
    return "?";
}

// The state as the named step began; a dummy when it never ran.
StepSeen seenAt(const std::string& step)
{
    for (const StepSeen& s : seen) {
        if (s.step == step) {
            return s;
        }
    }
    ADD_FAILURE() << "no " << step << " step";
    return {};
}

template <int Step> void watched()
{
    StepSeen s{nameOf(realSteps[Step]), shotIndex, {}, {}};
    glGetLightfv(GL_LIGHT0, GL_POSITION, s.light);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView);
    seen.push_back(s);
    realSteps[Step]();
    if (realSteps[Step] == clearFrame) {
        std::vector<GLfloat> rgb(3);
        glReadPixels(demoWindowWidth / 2, demoWindowHeight / 2, 1, 1, GL_RGB, GL_FLOAT, rgb.data());
        clearedTo.push_back(rgb);
    }
}

template <int... Steps> void watchSteps(std::integer_sequence<int, Steps...>)
{
    ((realSteps[Steps] = frameSteps[Steps], frameSteps[Steps] = watched<Steps>), ...);
}

// Wraps every frame step for the life of the test and puts the real ones back after.
class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureGlContext();
        onReshape(demoWindowWidth, demoWindowHeight);
        seen.clear();
        clearedTo.clear();
        watchSteps(std::make_integer_sequence<int, frameStepCount>{});
    }
    void TearDown() override
    {
        for (int step = 0; step < frameStepCount; ++step) {
            frameSteps[step] = realSteps[step];
        }
    }
    PlatformRecorder recorder;
};

const std::vector<std::string> frameOrder = {"clear", "scene", "light", "shot", "letterbox", "scanlines", "swap"};

// At 5000 the loading card (scene 0, cleared to black) gives way to the forest
// (scene 1, dark blue 0, 0, 0.1), shot 0 to shot 1, and the light from the fixed
// +z preset (0, 0, 10) to the steep orbit: radius 15 at 50 high, 0.0015 rad/ms, so at
// 5000 ms the angle is 7.5 rad, x = 15 sin 7.5 = 14.0700 and z = 15 cos 7.5 = 5.1995.
struct Inherited {
    int32_t t;
    int shot;
    GLfloat light[3];
    GLfloat cleared[3];
};
const Inherited framesAcrossTheCut[] = {
    {5000, 0, {0.0f, 0.0f, 10.0f}, {0.0f, 0.0f, 0.0f}},
    {5016, 1, {14.0700f, 50.0f, 5.1995f}, {0.0f, 0.0f, 0.1f}},
};
constexpr int32_t frameBeforeTheCutMs = 4999;
constexpr GLfloat lightSlack = 1e-4f;
constexpr GLfloat oneLevel = 1.0f / 255.0f; // the clear colour is stored in 8 bits

TEST_F(Frame, EachFrameUsesTheShotLightAndClearColourChosenInTheFrameBefore)
{
    demoTimeMs = frameBeforeTheCutMs;
    displayFrame();
    for (const Inherited& frame : framesAcrossTheCut) {
        seen.clear();
        clearedTo.clear();
        demoTimeMs = frame.t;
        displayFrame();
        const StepSeen scene = seenAt("scene");
        EXPECT_EQ(scene.shot, frame.shot) << "at " << frame.t;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(scene.light[axis], frame.light[axis], lightSlack) << "at " << frame.t << " axis " << axis;
        }
        EXPECT_EQ(scene.light[3], 0.0f) << "at " << frame.t;
        ASSERT_EQ(clearedTo.size(), 1u);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(clearedTo[0][channel], frame.cleared[channel], oneLevel)
                << "at " << frame.t << " channel " << channel;
        }
    }
}

TEST_F(Frame, StepsRunInOrderAndTheLightIsPlacedUnderAnIdentityModelView)
{
    // A frame in scenes 0, 1, 3, 5, 6 and 9: cards, perspective scenes and credits.
    const int32_t times[] = {4999, 19240, 47220, 90330, 118780, 189880, 195999};
    const GLfloat identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int32_t t : times) {
        seen.clear();
        demoTimeMs = t;
        displayFrame();
        std::vector<std::string> order;
        for (const StepSeen& s : seen) {
            order.push_back(s.step);
        }
        EXPECT_EQ(order, frameOrder) << "at " << t;
        const StepSeen light = seenAt("light");
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(light.modelView[i], identity[i]) << "at " << t << " element " << i;
        }
        EXPECT_EQ(recording().calls.back(), "swapBuffers") << "at " << t;
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW) << "at " << t;
    }
}

// The warm-up draws every scene between two frames of the forest (lit, textured,
// flashing): the second frame must show and carry on exactly what it would
// have without it.
struct Carried {
    int32_t timeMs;
    float pulses[4];
    int shot;
    GLfloat light[4];
    GLfloat clear[4];
};

Carried carriedNow()
{
    Carried c = {demoTimeMs, {beatPulseMs, beatOriginMs, fastPulseMs, fastOriginMs}, shotIndex, {}, {}};
    glGetLightfv(GL_LIGHT0, GL_POSITION, c.light);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c.clear);
    return c;
}

void expectSame(const Carried& a, const Carried& b)
{
    EXPECT_EQ(a.timeMs, b.timeMs);
    EXPECT_EQ(a.shot, b.shot);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.pulses[i], b.pulses[i]) << "pulse value " << i;
        EXPECT_EQ(a.light[i], b.light[i]) << "light " << i;
        EXPECT_EQ(a.clear[i], b.clear[i]) << "clear colour " << i;
    }
}

// The recorder stands in for the swap, so the finished frame stays in the back buffer.
std::vector<unsigned char> finishedPixels()
{
    std::vector<unsigned char> rgb(static_cast<size_t>(demoWindowWidth) * demoWindowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, demoWindowWidth, demoWindowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

std::vector<unsigned char> secondFrame(bool warmUpBetween)
{
    demoTimeMs = 20000;
    beatPulseMs = 130.0f;
    beatOriginMs = 19870.0f;
    fastPulseMs = 40.0f;
    fastOriginMs = 19960.0f;
    displayFrame();
    if (warmUpBetween) {
        const Carried before = carriedNow();
        for (int scene = 0; scene < sceneCount; ++scene) {
            warmUpScene(scene);
        }
        expectSame(carriedNow(), before);
    }
    demoTimeMs = 20016;
    displayFrame();
    return finishedPixels();
}

TEST_F(Frame, AWarmUpOfEverySceneChangesNothingTheNextFrameShowsOrCarriesOn)
{
    const std::vector<unsigned char> plain = secondFrame(false);
    const Carried plainCarried = carriedNow();
    const std::vector<unsigned char> warmed = secondFrame(true);
    expectSame(carriedNow(), plainCarried);
    EXPECT_TRUE(plain == warmed) << "the frame after a warm-up differs from one without";
    EXPECT_GT(*std::max_element(plain.begin(), plain.end()), 0) << "the frame is all black";
}

} // namespace
