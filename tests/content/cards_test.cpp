// The committed card images against the rectangles the demo stretches them over.
#include "png_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Image {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<uint8_t> rgba; // always four bytes a pixel

    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Image load(const std::string& name)
{
    Image image;
    image.rgba = readPng(std::string(CONTENT_DATA_DIR) + "/" + name, 4, &image.width, &image.height, &image.hasAlpha);
    return image;
}

struct Card {
    const char* file;
    double width; // the rectangle the demo draws it over, in overlay units
    double height;
    bool opaque;
};

const Card cards[] = {
    {"Loading.png", 180.0, 180.0, true}, {"s1.png", 150.0, 24.525, false}, {"s2.png", 100.0, 10.76, false},
    {"s3.png", 100.0, 29.23, false},     {"g1.png", 52.79, 25.0, false},   {"g2.png", 64.35, 25.0, false},
    {"g3.png", 54.18, 25.0, false},      {"g4.png", 44.96, 25.0, false},   {"g5.png", 31.15, 25.0, false},
    {"g6.png", 49.51, 25.0, false},      {"g7.png", 50.57, 25.0, false},   {"g8.png", 43.31, 25.0, false},
    {"end.png", 180.0, 180.0, true},
};

TEST(Cards, EachImageHasItsRectanglesShapeAndATextureFriendlySize)
{
    for (const Card& card : cards) {
        const Image image = load(card.file);
        ASSERT_GT(image.width, 0) << card.file << " does not load";
        const double shape = static_cast<double>(image.width) / image.height;
        EXPECT_NEAR(shape / (card.width / card.height), 1.0, 0.01) << card.file << " would be squashed";
        EXPECT_LE(std::max(image.width, image.height), 1024) << card.file;
        EXPECT_GE(std::min(image.width, image.height), 32) << card.file;
        EXPECT_EQ(image.hasAlpha, !card.opaque) << card.file;
    }
}

// Captions and credits float over the scene: light letters, and a transparent border
// so the card's own rectangle never shows.
TEST(Cards, CaptionsAndCreditsAreLightOnTransparent)
{
    for (const Card& card : cards) {
        if (card.opaque) continue;
        const Image image = load(card.file);
        ASSERT_GT(image.width, 0) << card.file;
        int lightPixels = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const unsigned char* p = image.at(x, y);
                const bool border = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
                if (border) {
                    ASSERT_EQ(p[3], 0) << card.file << " border at " << x << "," << y;
                }
                if (p[3] == 255 && std::min({p[0], p[1], p[2]}) >= 160) ++lightPixels;
            }
        }
        EXPECT_GT(lightPixels, image.width * image.height / 50) << card.file << " has little light text";
    }
}

// The scene tints the first caption blue by multiplying: its letters must be white.
TEST(Cards, FirstCaptionIsWhiteSoTheTintColoursIt)
{
    const Image image = load("s1.png");
    ASSERT_GT(image.width, 0);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = image.at(x, y);
            if (p[3] < 255) continue;
            ASSERT_EQ(p[0], p[1]) << "at " << x << "," << y;
            ASSERT_EQ(p[1], p[2]) << "at " << x << "," << y;
        }
    }
}

// The progress bar and its frame are drawn 60 to 74 units below the centre of the
// 180-unit loading card; that band holds only the dark, even background.
TEST(Cards, LoadingCardLeavesTheProgressBarsBandClear)
{
    const Image image = load("Loading.png");
    ASSERT_GT(image.width, 0);
    const double pixelsPerUnit = image.height / 180.0;
    const int top = static_cast<int>(std::floor(image.height / 2.0 + 60.0 * pixelsPerUnit));
    const int bottom = static_cast<int>(std::ceil(image.height / 2.0 + 74.0 * pixelsPerUnit));
    for (int y = top; y < bottom; ++y) {
        int darkest = 255, brightest = 0;
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = image.at(x, y);
            const int level = std::max({p[0], p[1], p[2]});
            darkest = std::min(darkest, level);
            brightest = std::max(brightest, level);
        }
        ASSERT_LE(brightest, 48) << "something bright in the bar's band at row " << y;
        ASSERT_LE(brightest - darkest, 40) << "an uneven band at row " << y;
    }
    // The title itself is there, above the band.
    int bright = 0;
    for (int y = 0; y < top; ++y) {
        for (int x = 0; x < image.width; ++x) bright += image.at(x, y)[0] > 230 ? 1 : 0;
    }
    EXPECT_GT(bright, 1000);
}

} // namespace
