// The render tool on a real GL: the offscreen picture, the replayed clock, and the
// picture of a known moment. Each test runs in a process of its own under Xvfb.
#include "app/clock.h"
#include "app/startup.h"
#include "app/steady_clock.h"
#include "direction/timeline.h"
#include "frame_driver.h"
#include "offscreen.h"
#include "platform/windowing.h"
#include "sample_counts.h"
#include "view/projection.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int rgb = 3;

struct Pixel {
    int r, g, b;
};

Pixel pixelAt(const std::vector<uint8_t>& picture, int width, int x, int y)
{
    const size_t at = (static_cast<size_t>(y) * width + x) * rgb;
    return {picture[at], picture[at + 1], picture[at + 2]};
}

void start(int width, int height, int samples = samplesAsTheDemoAsks)
{
    std::string error;
    ASSERT_TRUE(startDemoOffscreen(width, height, samples, &error)) << error;
}

TEST(Offscreen, APictureWiderThanTheScreenComesBackTopRowFirstAfterTheSwap)
{
    const int width = 1500; // the Xvfb screen is 1280 wide
    const int height = 300;
    start(width, height);
    EXPECT_EQ(windowWidth, width) << "the demo is told the picture's size";
    EXPECT_EQ(windowHeight, height);

    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, height / 2, width / 2, height / 2); // GL counts rows from the bottom
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    windowing.swapBuffers(); // where the demo's frame ends

    std::vector<uint8_t> picture;
    captureFrame(&picture);
    ASSERT_EQ(picture.size(), static_cast<size_t>(width) * height * rgb);
    const Pixel topLeft = pixelAt(picture, width, 0, 0);
    const Pixel bottomRight = pixelAt(picture, width, width - 1, height - 1);
    EXPECT_EQ(topLeft.r, 255);
    EXPECT_EQ(topLeft.b, 0);
    EXPECT_EQ(bottomRight.r, 0);
    EXPECT_EQ(bottomRight.b, 255);
}

// A white triangle with slanted edges on black, drawn into the tool's picture.
std::vector<uint8_t> slantedEdge(int side)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_POLYGON_SMOOTH);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -0.7f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    windowing.swapBuffers();
    std::vector<uint8_t> picture;
    captureFrame(&picture);
    EXPECT_EQ(picture.size(), static_cast<size_t>(side) * side * rgb);
    return picture;
}

// Each count runs in a process of its own, since a process opens its picture once.
class SampleCount : public testing::TestWithParam<int> {};

TEST_P(SampleCount, GivesAtMostThatManyShadesOfCoverage)
{
    // With N samples a pixel is covered by 0 to N of them: N + 1 shades, N - 1 between
    // black and white.
    const int samples = GetParam();
    std::string error;
    if (!startDemoOffscreen(200, 200, samples, &error)) {
        ASSERT_NE(error.find("is not offered by this OpenGL driver; it offers 0"), std::string::npos) << error;
        GTEST_SKIP() << error;
    }
    // The samples per pixel of the picture the demo draws into, as the GL reports them.
    GLint used = 0;
    glGetIntegerv(GL_SAMPLES, &used);
    if (samples == samplesAsTheDemoAsks) {
        EXPECT_GE(used, 2) << "every driver the suite runs on offers 4 or fewer";
        EXPECT_LE(used, demoSamples);
    } else {
        EXPECT_EQ(used, samples);
    }
    const std::vector<uint8_t> picture = slantedEdge(200);
    std::set<uint8_t> between;
    for (uint8_t v : picture) {
        if (v > 0 && v < 255) {
            between.insert(v);
        }
    }
    if (used == 0) {
        EXPECT_TRUE(between.empty()) << "no multisampling, no partly covered pixel";
    } else {
        EXPECT_LE(between.size(), static_cast<size_t>(used - 1)) << used << " samples";
        EXPECT_GE(between.size(), static_cast<size_t>(std::min(used - 1, 3))) << used << " samples";
    }
}

INSTANTIATE_TEST_SUITE_P(Offscreen, SampleCount, testing::Values(samplesAsTheDemoAsks, 0, 4), [](const auto& info) {
    return info.param < 0 ? std::string("AsTheDemoAsks") : std::to_string(info.param);
});

TEST(Offscreen, ACountTheDriverDoesNotOfferIsRefusedNamingWhatItOffers)
{
    std::string error;
    EXPECT_FALSE(startDemoOffscreen(200, 200, 3, &error));
    EXPECT_NE(error.find("--samples 3 is not offered by this OpenGL driver; it offers 0, "), std::string::npos)
        << error;
}

TEST(Replay, TheFrameBeforeTheLastLeavesItsShotForTheLast)
{
    start(800, 450);
    const FrameSchedule schedule = scheduleAt(19230, steadyFps);
    replayBefore(schedule);
    EXPECT_EQ(demoTimeMs, 19216);
    EXPECT_EQ(shotIndex, 1) << "only a drawn frame chooses the next shot";
    drawFrameAt(schedule.outputMs.front());
    EXPECT_EQ(demoTimeMs, 19230);
    EXPECT_EQ(shotIndex, 2);
}

TEST(KnownMoment, TheFlashAtTheStartOfScene4FillsTheFrameUnderTheBands)
{
    const int width = 800;
    const int height = 450;
    start(width, height);
    const FrameSchedule schedule = scheduleAt(61880, steadyFps);
    replayBefore(schedule);
    drawFrameAt(schedule.outputMs.front());
    std::vector<uint8_t> picture;
    captureFrame(&picture);
    ASSERT_EQ(picture.size(), static_cast<size_t>(width) * height * rgb);
    // The slow flash starts at opaque white, hiding the scene everywhere between the bands;
    // only the scanlines darken it: one pixel row of every two at a quarter brightness,
    // crisp even in a multisampled picture.
    const int bandRows = height / 12;
    const int firstRow = bandRows + 2;
    const int darkParity = pixelAt(picture, width, width / 2, firstRow).r < 128 ? 0 : 1;
    for (int y = firstRow; y < height - bandRows - 2; ++y) {
        const int expected = (y - firstRow) % 2 == darkParity ? 64 : 255;
        for (int x : {10, width / 3, width - 11}) {
            const Pixel p = pixelAt(picture, width, x, y);
            ASSERT_NEAR(p.r, expected, 2) << x << "," << y;
            ASSERT_EQ(p.r, p.g) << "white, not the scene's colours, at " << x << "," << y;
            ASSERT_EQ(p.g, p.b) << x << "," << y;
        }
    }
    // The letterbox band is opaque black along the top and bottom edges.
    EXPECT_LE(pixelAt(picture, width, width / 2, 0).r, 16);
    EXPECT_LE(pixelAt(picture, width, width / 2, height - 1).r, 16);
}

} // namespace
