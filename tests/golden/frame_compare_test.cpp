// The golden metric on made-up frames, for one GL and across rasterisers: rounding-sized
// noise and stray edge pixels pass; a card moved by one pixel, tinted by 3 or 8 levels, or gone fails.
#include "frame_compare.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int frameWidth = 64;
constexpr int frameHeight = 48;
constexpr int cardLeft = 20;
constexpr int cardTop = 14;
constexpr int cardWidth = 24;
constexpr int cardHeight = 12;
constexpr int background = 40;
constexpr int cardBright = 230;
constexpr int cardDark = 60;
constexpr int tintLevels = 8;
constexpr int roundingLevels = 1;
constexpr int strayLevels = 90;
constexpr int roundingBiasLevels = 2;
constexpr int faintTintLevels = 3;
constexpr int strayPixels = allowedDifferingPixels;
constexpr int quarterTowardsBackground = cardDark + (background - cardDark) / 4; // an edge sample flipped
constexpr int sheetGain = 4; // the difference panel shows changes four times brighter

void put(RgbFrame* frame, int x, int y, int level)
{
    for (int c = 0; c < 3; ++c) {
        frame->rgb[(static_cast<size_t>(y) * frame->width + x) * 3 + c] = static_cast<uint8_t>(level);
    }
}

// A dark frame with a striped card whose top-left corner is at (left, top).
RgbFrame cardFrame(int left, int top, int tint = 0, bool withCard = true)
{
    RgbFrame frame{frameWidth, frameHeight, std::vector<uint8_t>(frameWidth * frameHeight * 3)};
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const bool inCard = withCard && x >= left && x < left + cardWidth && y >= top && y < top + cardHeight;
            put(&frame, x, y, inCard ? (((x - left) / 3) % 2 ? cardBright : cardDark) - tint : background);
        }
    }
    return frame;
}

RgbFrame changed(RgbFrame frame, const std::function<void(RgbFrame*)>& change)
{
    change(&frame);
    return frame;
}

struct MetricCase {
    const char* what;
    RgbFrame candidate;
    bool passes;       // against a frame of the same GL
    bool passesAcross; // against another rasteriser's frame, held to the reference's neighbourhood
};

// Across rasterisers one sample of four may fall the other way along the card's left
// edge (a quarter of the way from the card's colour to the background's), and a faint tint
// is within the looser limits; a tint of 8 levels, the card gone or moved by a pixel
// fails both ways.
TEST(GoldenMetric, PassesRoundingAndEdgeSamplesAndFailsVisibleChanges)
{
    const RgbFrame reference = cardFrame(cardLeft, cardTop);
    const MetricCase cases[] = {
        {"the same frame", reference, true, true},
        {"every other pixel one level up",
         changed(reference,
                 [](RgbFrame* f) {
                     for (size_t i = 0; i < f->rgb.size(); i += 6) f->rgb[i] += roundingLevels;
                 }),
         true, true},
        {"the whole frame two levels brighter",
         changed(reference,
                 [](RgbFrame* f) {
                     for (uint8_t& level : f->rgb) level += roundingBiasLevels;
                 }),
         true, true},
        {"a few stray edge pixels far off",
         changed(reference,
                 [](RgbFrame* f) {
                     for (int k = 0; k < strayPixels; ++k) put(f, cardLeft + 3 * k, cardTop, strayLevels);
                 }),
         true, true},
        {"one stray pixel too many",
         changed(reference,
                 [](RgbFrame* f) {
                     for (int k = 0; k <= strayPixels; ++k) put(f, cardLeft + 3 * k, cardTop, strayLevels);
                 }),
         false, true},
        {"the card's left edge a sample short",
         changed(reference,
                 [](RgbFrame* f) {
                     for (int y = cardTop; y < cardTop + cardHeight; ++y) put(f, cardLeft, y, quarterTowardsBackground);
                 }),
         false, true},
        {"the card one pixel right", cardFrame(cardLeft + 1, cardTop), false, false},
        {"the card one pixel down", cardFrame(cardLeft, cardTop + 1), false, false},
        {"the card 8 levels darker", cardFrame(cardLeft, cardTop, tintLevels), false, false},
        {"the card 3 levels darker", cardFrame(cardLeft, cardTop, faintTintLevels), false, true},
        {"the card gone", cardFrame(cardLeft, cardTop, 0, false), false, false},
        {"another size",
         RgbFrame{frameWidth, frameHeight - 1, std::vector<uint8_t>(frameWidth * (frameHeight - 1) * 3)}, false, false},
    };
    const int pixels = frameWidth * frameHeight;
    for (const MetricCase& c : cases) {
        const FrameDifference strict = compareFrames(reference, c.candidate);
        EXPECT_EQ(strict.passes(), c.passes) << c.what << ": " << describeDifference(strict);
        const FrameDifference held = compareFrames(reference, heldToNeighbourhood(reference, c.candidate));
        EXPECT_EQ(held.passesAcrossRasterisers(pixels), c.passesAcross) << c.what << ": " << describeDifference(held);
        // Each pixel is only ever moved towards its reference.
        EXPECT_LE(held.worstPixelLevels, strict.worstPixelLevels) << c.what;
        EXPECT_LE(held.differingPixels, strict.differingPixels) << c.what;
    }
}

// A row of five pixels, the background then the card from the fourth on: each level
// is held to the range of its reference neighbours, so only the pixel at the edge keeps its own.
TEST(GoldenMetric, HoldingClampsEachPixelToItsReferenceNeighbours)
{
    const auto row = [](std::vector<int> levels) {
        RgbFrame frame{static_cast<int>(levels.size()), 1, std::vector<uint8_t>(levels.size() * 3)};
        for (size_t x = 0; x < levels.size(); ++x) put(&frame, static_cast<int>(x), 0, levels[x]);
        return frame;
    };
    const RgbFrame held = heldToNeighbourhood(row({40, 40, 40, 230, 230}), row({50, 35, 100, 250, 0}));
    EXPECT_EQ(held.rgb, row({40, 40, 100, 230, 230}).rgb);
}

TEST(GoldenMetric, SheetHoldsReferenceNewAndAmplifiedDifference)
{
    const RgbFrame reference = cardFrame(cardLeft, cardTop);
    const RgbFrame candidate = cardFrame(cardLeft, cardTop, tintLevels);
    const RgbFrame sheet = differenceSheet(reference, candidate);
    ASSERT_EQ(sheet.width, 3 * frameWidth);
    ASSERT_EQ(sheet.height, frameHeight);
    const auto level = [&](int x, int y) { return sheet.rgb[(static_cast<size_t>(y) * sheet.width + x) * 3]; };
    EXPECT_EQ(level(cardLeft, cardTop), cardDark);
    EXPECT_EQ(level(frameWidth + cardLeft, cardTop), cardDark - tintLevels);
    EXPECT_EQ(level(2 * frameWidth + cardLeft, cardTop), sheetGain * tintLevels);
    EXPECT_EQ(level(2 * frameWidth, 0), 0);
}

} // namespace
