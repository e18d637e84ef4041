// The overlay box: the shorter window side spans -90 to 90, the longer one in proportion.
#include "view/projection.h"

#include <gtest/gtest.h>

namespace {

void expectBox(int width, int height, float left, float right, float bottom, float top)
{
    const OverlayBox box = overlayBoxFor(width, height);
    EXPECT_EQ(box.left, left) << width << "x" << height;
    EXPECT_EQ(box.right, right) << width << "x" << height;
    EXPECT_EQ(box.bottom, bottom) << width << "x" << height;
    EXPECT_EQ(box.top, top) << width << "x" << height;
}

TEST(OverlayBox, ShorterSideSpans180Units)
{
    expectBox(800, 450, -160, 160, -90, 90);
    expectBox(1280, 720, -160, 160, -90, 90);
    expectBox(1024, 768, -120, 120, -90, 90);
    expectBox(600, 600, -90, 90, -90, 90);
    expectBox(450, 800, -90, 90, -160, 160);
}

TEST(OverlayBox, EdgesAreSinglePrecisionRoundings)
{
    // 90 * 1366 / 768 = 160.078125 exactly; 90 * 1000 / 3 is not a float.
    expectBox(1366, 768, -160.078125f, 160.078125f, -90, 90);
    expectBox(1000, 3, static_cast<float>(-90.0 * 1000 / 3), static_cast<float>(90.0 * 1000 / 3), -90, 90);
    expectBox(3, 1000, -90, 90, static_cast<float>(-90.0 * 1000 / 3), static_cast<float>(90.0 * 1000 / 3));
}

} // namespace
