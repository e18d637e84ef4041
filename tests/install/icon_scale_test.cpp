// The menu icon's scaling: means taken in linear light over exactly the source area
// each pixel covers, and the rounded outline's coverage, against values worked by hand.
#include "icon_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A width x height RGB picture of one grey level, with the pixels listed set to white.
std::vector<uint8_t> greyPicture(int width, int height, uint8_t level, const std::vector<int>& whitePixels = {})
{
    std::vector<uint8_t> rgb(size_t(width) * height * 3, level);
    for (int pixel : whitePixels) {
        rgb[size_t(pixel) * 3] = rgb[size_t(pixel) * 3 + 1] = rgb[size_t(pixel) * 3 + 2] = 255;
    }
    return rgb;
}

TEST(IconScale, EachPixelIsTheLinearMeanOfTheAreaItCovers)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> rgb; // 4 x 4
        IconSquare square;
        int size;
        uint8_t firstLevel; // of output pixel (0, 0)
    };
    // Half white, half black in linear light is 0.5, which 2.2 encodes as
    // 255 x 0.5^(1/2.2) = 186.07; a plain mean of the levels would give 128.
    // A quarter white: 255 x 0.25^(1/2.2) = 135.8. Scaling 3 pixels to 2, output pixel 0
    // covers source pixel 0 whole and half of pixel 1 in each direction: with only
    // source pixel (0, 0) white, 1 of its 2.25 pixels' weight is white, 255 x (1/2.25)^(1/2.2) = 176.4.
    const Case cases[] = {
        {"2x2 block with two whites", greyPicture(4, 4, 0, {0, 5}), {0, 0, 4}, 2, 186},
        {"2x2 block with one white", greyPicture(4, 4, 0, {0}), {0, 0, 4}, 2, 136},
        {"3 pixels to 2", greyPicture(4, 4, 0, {5}), {1, 1, 3}, 2, 176},
        {"a square inside, copied", greyPicture(4, 4, 77, {10}), {2, 2, 2}, 2, 255},
        {"one grey level stays", greyPicture(4, 4, 77), {0, 0, 4}, 1, 77},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> icon = scaleIcon(c.rgb, 4, 4, c.square, c.size, 0.0);
        ASSERT_EQ(icon.size(), size_t(c.size) * c.size * 4) << c.what;
        EXPECT_EQ(icon[0], c.firstLevel) << c.what;
        EXPECT_EQ(icon[3], 255) << c.what << ": no rounding asked, every pixel opaque";
    }
}

TEST(IconScale, TheRoundedOutlineCoversEachPixelByItsShare)
{
    // An 8-pixel icon with corners of radius 2: of the corner pixel's 16 subsamples
    // (at 1/8, 3/8, 5/8 and 7/8), 6 lie within 2 of the point (2, 2): 0 + 1 + 2 + 3 by
    // column, so alpha 255 x 6/16 = 95.6. Its neighbour along the edge holds 15 of 16
    // (239.1); a pixel on a straight stretch of edge and the middle are whole.
    struct Case {
        int x, y;
        uint8_t alpha;
    };
    const Case cases[] = {{0, 0, 96}, {7, 7, 96}, {1, 0, 239}, {0, 1, 239}, {2, 0, 255}, {4, 4, 255}, {7, 3, 255}};
    const std::vector<uint8_t> icon = scaleIcon(greyPicture(8, 8, 40), 8, 8, {0, 0, 8}, 8, 0.25);
    ASSERT_EQ(icon.size(), 8u * 8 * 4);
    for (const Case& c : cases) {
        EXPECT_EQ(icon[(size_t(c.y) * 8 + c.x) * 4 + 3], c.alpha) << "pixel " << c.x << "," << c.y;
    }
}

TEST(IconScale, ASquareOutsideThePictureGivesNothing)
{
    const std::vector<uint8_t> rgb = greyPicture(4, 4, 0);
    const IconSquare outside[] = {{1, 0, 4}, {0, 1, 4}, {-1, 0, 2}, {0, 0, 0}};
    for (const IconSquare& square : outside) {
        EXPECT_TRUE(scaleIcon(rgb, 4, 4, square, 2, 0.0).empty()) << square.left << "," << square.top;
    }
    EXPECT_TRUE(scaleIcon(rgb, 4, 4, {0, 0, 4}, 0, 0.0).empty());
}

} // namespace
