// Overlays and cards drawn on a real GL context and read back with glReadPixels.
#include "app/clock.h"
#include "app/startup.h"
#include "gl_context.h"
#include "scenes/props.h"
#include "view/overlays.h"
#include "view/projection.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int width = demoWindowWidth;
constexpr int height = demoWindowHeight;
// Overlay units to pixel rows in the 800 x 450 window: 2.5 rows per unit from the centre.
constexpr double rowsPerUnit = height / 180.0;

// The red channel of every pixel of the window, bottom row first.
std::vector<int> readRed()
{
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<int> red(size_t(width) * height);
    for (size_t i = 0; i < red.size(); ++i) {
        red[i] = rgb[i * 3];
    }
    return red;
}

std::vector<int> rgbAt(int x, int row)
{
    unsigned char rgb[3];
    glReadPixels(x, row, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

int at(const std::vector<int>& red, int x, int row) { return red[size_t(row) * width + x]; }

int rowAtUnits(double units) { return static_cast<int>(height / 2.0 + units * rowsPerUnit); }

class Overlays : public testing::Test {
protected:
    void SetUp() override
    {
        ensureGlContext();
        onReshape(width, height);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_TEXTURE_2D);
        savedTime = demoTimeMs;
    }
    void TearDown() override { demoTimeMs = savedTime; }
    void clearTo(float grey)
    {
        glClearColor(grey, grey, grey, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    int32_t savedTime = 0;
};

TEST_F(Overlays, AFlashPaintsTheBoxWhiteAtItsStartAndNothingBefore)
{
    demoTimeMs = 40000;
    clearTo(0.0f);
    glDisable(GL_BLEND);
    drawFlash(40001, slowFlashRate);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "the mode must not switch before the start";
    std::vector<int> red = readRed();
    EXPECT_EQ(at(red, width / 2, height / 2), 0);

    drawFlash(40000, slowFlashRate);
    red = readRed();
    for (int row : {0, height / 2, height - 1}) {
        for (int x : {0, width / 2, width - 1}) {
            EXPECT_EQ(at(red, x, row), 255) << x << "," << row;
        }
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    // 100 ms into a slow flash the white covers 68 percent.
    clearTo(0.0f);
    demoTimeMs = 40100;
    drawFlash(40000, slowFlashRate);
    EXPECT_NEAR(at(readRed(), width / 2, height / 2), 0.68 * 255, 2);
}

TEST_F(Overlays, LetterboxIsBlackAtTheEdgesAndClearAt75Units)
{
    clearTo(0.8f);
    drawLetterbox();
    const std::vector<int> red = readRed();
    const int clear = 204;
    for (int x : {0, width / 2, width - 1}) {
        EXPECT_LE(at(red, x, height - 1), 4) << "top edge";
        EXPECT_LE(at(red, x, 0), 4) << "bottom edge";
        EXPECT_NEAR(at(red, x, rowAtUnits(75.0)), clear, 1) << "top band's inner edge";
        EXPECT_NEAR(at(red, x, rowAtUnits(-75.0)), clear, 1) << "bottom band's inner edge";
        EXPECT_EQ(at(red, x, height / 2), clear);
    }
    // Half-way through a band the picture is half covered.
    EXPECT_NEAR(at(red, width / 2, rowAtUnits(82.5)), clear / 2, 8);
}

TEST_F(Overlays, ScanlinesDarkenEverySecondRowToAQuarter)
{
    clearTo(1.0f);
    drawScanlines();
    const std::vector<int> red = readRed();
    // The lines fall on the boundaries between row pairs and darken the row below each
    // boundary or the row above it, the same one every time. In 800 x 450 the sum of
    // 0.8-unit steps passes 90 before a line at the top edge, so the top pair stays clear.
    const int darkParity = at(red, width / 2, 0) < 128 ? 0 : 1;
    for (int row = 0; row < height - 2; ++row) {
        const int expected = row % 2 == darkParity ? 64 : 255;
        for (int x : {0, width / 2, width - 1}) {
            ASSERT_NEAR(at(red, x, row), expected, 1) << "row " << row << ", x " << x;
        }
    }
}

TEST_F(Overlays, CardsShowTheImageUprightAndAPlainRectangleWithoutOne)
{
    // Texture row 0 (the file's top row) red, row 1 blue.
    const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);

    clearTo(0.0f);
    beginOverlay();
    drawImageQuad(texture, 1.0f, 1.0f, 1.0f, 1.0f, -50.0f, 50.0f, -50.0f, 50.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(rgbAt(width / 2, rowAtUnits(25.0)), (std::vector<int>{255, 0, 0})) << "the file's top row on top";
    EXPECT_EQ(rgbAt(width / 2, rowAtUnits(-25.0)), (std::vector<int>{0, 0, 255}));

    clearTo(0.0f);
    drawImageQuad(0, 0.0f, 1.0f, 0.0f, 1.0f, -50.0f, 50.0f, -50.0f, 50.0f);
    EXPECT_EQ(rgbAt(width / 2, height / 2), (std::vector<int>{0, 255, 0}));
    glDeleteTextures(1, &texture);
}

} // namespace
