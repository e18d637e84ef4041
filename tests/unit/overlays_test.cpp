// Overlay formulas: flash fade-out, letterbox edges and the scanline walk.
#include "view/overlays.h"
#include "view/projection.h"

#include <gtest/gtest.h>

namespace {

struct ScanlineCase {
    int width;
    int height;
    size_t lines;
    float lastY;
};

TEST(Scanlines, LineCountsAndTopLineForCommonWindowSizes)
{
    // 800x450: step 0.8 accumulates to just past 90 before a 226th line.
    // 1280x720 and 1024x768: exact steps that land on the top edge.
    const ScanlineCase cases[] = {
        {800, 450, 225, 89.2f},
        {1280, 720, 361, 90.0f},
        {1024, 768, 385, 90.0f},
    };
    for (const ScanlineCase& c : cases) {
        const OverlayBox box = overlayBoxFor(c.width, c.height);
        const std::vector<float> ys = scanlineHeights(box.bottom, box.top, c.height);
        ASSERT_EQ(ys.size(), c.lines) << c.width << "x" << c.height;
        EXPECT_EQ(ys.front(), -90.0f);
        EXPECT_NEAR(ys.back(), c.lastY, 1e-3f) << c.width << "x" << c.height;
        EXPECT_LE(ys.back(), box.top);
    }
    const OverlayBox box = overlayBoxFor(1024, 768);
    EXPECT_EQ(box.left, -120.0f);
    EXPECT_EQ(scanlineHeights(box.bottom, box.top, 768)[1], -90.0f + 0.46875f);
}

TEST(Scanlines, DegenerateStepsStopInsteadOfLoopingForever)
{
    EXPECT_TRUE(scanlineHeights(-90.0f, 90.0f, -450).empty());
    EXPECT_EQ(scanlineHeights(-90.0f, 90.0f, 0).size(), 1u);
    // A step below half the spacing of floats at this height cannot move y.
    EXPECT_EQ(scanlineHeights(1.0e8f, 2.0e8f, 360).size(), 1u);
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
