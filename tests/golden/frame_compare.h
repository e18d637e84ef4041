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

// Judged across rasterisers (heldToNeighbourhood first): the browser's still mode takes
// its samples where llvmpipe does, but clips and snaps some edges a little otherwise,
// and over the golden set up to 169 pixels (0.3 %) and 3.3 levels of a tile's mean
// move. These limits sit just above that; a card moved by one pixel, a tint of 8
// levels, a missing card or another shot fail them.
constexpr double allowedDifferingShareAcrossRasterisers = 0.005;
constexpr double allowedTileMeanLevelsAcrossRasterisers = 4.0;

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
    bool passesAcrossRasterisers(int pixelCount) const
    {
        return sameSize && differingPixels <= allowedDifferingShareAcrossRasterisers * pixelCount &&
               worstTileMeanLevels <= allowedTileMeanLevelsAcrossRasterisers;
    }
};

FrameDifference compareFrames(const RgbFrame& reference, const RgbFrame& candidate);

// Another rasteriser (the browser's) may put one of a pixel's samples on the other
// side of an edge: a move of up to a quarter of the edge's contrast in that pixel. Each channel of the candidate is held to
// the range its reference pixel's 3x3 neighbourhood spans, so a colour only an edge
// can explain counts as the edge; a tint, a missing prop or another picture does not.
// compareFrames then judges the result with its own limits.
RgbFrame heldToNeighbourhood(const RgbFrame& reference, const RgbFrame& candidate);

// reference | candidate | difference, side by side; the difference shows each
// channel's change four times brighter, on black. Both frames must have one size.
RgbFrame differenceSheet(const RgbFrame& reference, const RgbFrame& candidate);

// One line for a failure message: what differs and by how much.
std::string describeDifference(const FrameDifference& difference);
