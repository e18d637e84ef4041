// How a rendered frame is judged against its golden reference, and the picture
// that shows where they differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbFrame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top row first
};

// A pixel "differs" when one of its channels moved by more than this many levels:
// above the one or two levels that Mesa's rounding moves a colour by, below the
// eight levels of a faint tint.
constexpr int differingLevels = 4;
// A frame may hold this many differing pixels (a few edge samples falling the other way).
constexpr int allowedDifferingPixels = 8;
// Square tiles, this many pixels a side, over which the mean change of each channel is taken.
constexpr int tileSide = 8;
// A frame fails when any tile's mean change of a channel exceeds this many levels.
constexpr double allowedTileMeanLevels = 2.5;

struct FrameDifference {
    bool sameSize = false;
    int differingPixels = 0;
    int worstPixelLevels = 0;
    double worstTileMeanLevels = 0.0;
    int worstTileX = 0; // pixel column and row of the worst tile's top-left corner
    int worstTileY = 0;

    bool passes() const
    {
        return sameSize && differingPixels <= allowedDifferingPixels && worstTileMeanLevels <= allowedTileMeanLevels;
    }
};

FrameDifference compareFrames(const RgbFrame& reference, const RgbFrame& candidate);

// reference | candidate | difference, side by side; the difference shows each
// channel's change four times brighter, on black. Both frames must have one size.
RgbFrame differenceSheet(const RgbFrame& reference, const RgbFrame& candidate);

// One line for a failure message: what differs and by how much.
std::string describeDifference(const FrameDifference& difference);
