// Overlay formulas: flash fade-out, letterbox edges and the scanline walk.
#include "view/overlays.h"
#include "view/projection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The heights walkScanlines hands to its line callback, in call order.
std::vector<float> walked;

void recordLine(float y) { walked.push_back(y); }

std::vector<float> walk(float bottom, float top, int windowHeightPx)
{
    walked.clear();
    walkScanlines(bottom, top, windowHeightPx, recordLine);
    return walked;
}

struct ScanlineCase {
    int width;
    int height;
    size_t lines;
    float secondY;
    float lastY;
};

TEST(Scanlines, LineCountsAndTopLineForCommonWindowSizes)
{
    // 800x450: step 360/450 = 0.8 accumulates to just past 90 before a 226th line.
    // 1280x720 and 1024x768: steps 0.5 and 0.46875, exact in binary, land on the top.
    const ScanlineCase cases[] = {
        {800, 450, 225, -89.2f, 89.2f},
        {1280, 720, 361, -89.5f, 90.0f},
        {1024, 768, 385, -89.53125f, 90.0f},
    };
    constexpr float bottomEdge = -90.0f;
    constexpr float accumulatedSlack = 1e-3f;
    for (const ScanlineCase& c : cases) {
        const OverlayBox box = overlayBoxFor(c.width, c.height);
        const std::vector<float> ys = walk(box.bottom, box.top, c.height);
        ASSERT_EQ(ys.size(), c.lines) << c.width << "x" << c.height;
        EXPECT_EQ(ys[0], bottomEdge);
        EXPECT_FLOAT_EQ(ys[1], c.secondY) << c.width << "x" << c.height;
        EXPECT_NEAR(ys.back(), c.lastY, accumulatedSlack) << c.width << "x" << c.height;
        EXPECT_LE(ys.back(), box.top);
    }
}

TEST(Scanlines, DegenerateStepsStopInsteadOfLoopingForever)
{
    constexpr float bottom = -90.0f;
    constexpr float top = 90.0f;
    EXPECT_TRUE(walk(bottom, top, -450).empty());
    EXPECT_EQ(walk(bottom, top, 0).size(), 1u);
    EXPECT_TRUE(walk(top, bottom, 450).empty());
    // A step below half the spacing of floats at this height cannot move y.
    constexpr float high = 1.0e8f;
    EXPECT_EQ(walk(high, 2 * high, 360).size(), 1u);
}

TEST(Letterbox, BandsFadeOutAtFiveSixthsOfTheHalfHeight)
{
    EXPECT_EQ(letterboxInnerEdge(90.0f), 75.0f);
    EXPECT_EQ(letterboxInnerEdge(-90.0f), -75.0f);
    // Taller than wide: the box is 160 high, the band still a twelfth of the window.
    EXPECT_FLOAT_EQ(letterboxInnerEdge(160.0f), 400.0f / 3.0f);
}

TEST(Flash, AlphaFallsAtItsRateAndRunsPastZero)
{
    const int32_t start = 12000;
    EXPECT_EQ(flashAlpha(start, start, slowFlashRate), 1.0f);
    EXPECT_FLOAT_EQ(flashAlpha(start + 100, start, slowFlashRate), 0.68f);
    EXPECT_FLOAT_EQ(flashAlpha(start + 312, start, slowFlashRate), 0.0016f);
    EXPECT_LT(flashAlpha(start + 313, start, slowFlashRate), 0.0f);
    EXPECT_GT(flashAlpha(start + 156, start, mediumFlashRate), 0.0f);
    EXPECT_LT(flashAlpha(start + 157, start, mediumFlashRate), 0.0f);
    EXPECT_GT(flashAlpha(start + 78, start, fastFlashRate), 0.0f);
    EXPECT_LT(flashAlpha(start + 79, start, fastFlashRate), 0.0f);
}

} // namespace
