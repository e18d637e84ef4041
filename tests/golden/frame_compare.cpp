// The golden metric: only a handful of pixels may move by more than rounding does
// (edge samples falling the other way), and no tile's mean colour may drift (a
// faint tint over a region), so Mesa's rounding passes and a visible change does not.
#include "frame_compare.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int channels = 3;
constexpr int sheetPanels = 3;
constexpr int differenceGain = 4;
constexpr int maxLevel = 255;

size_t indexOf(const RgbFrame& frame, int x, int y) { return (static_cast<size_t>(y) * frame.width + x) * channels; }

// The largest mean change of one channel over the tile at (tileX, tileY).
double tileMeanLevels(const RgbFrame& a, const RgbFrame& b, int tileX, int tileY)
{
    const int right = std::min(tileX + tileSide, a.width);
    const int bottom = std::min(tileY + tileSide, a.height);
    const int pixels = (right - tileX) * (bottom - tileY);
    double worst = 0.0;
    for (int c = 0; c < channels; ++c) {
        long sum = 0;
        for (int y = tileY; y < bottom; ++y) {
            for (int x = tileX; x < right; ++x) {
                sum += b.rgb[indexOf(b, x, y) + c] - a.rgb[indexOf(a, x, y) + c];
            }
        }
        worst = std::max(worst, std::fabs(static_cast<double>(sum) / pixels));
    }
    return worst;
}

} // namespace

FrameDifference compareFrames(const RgbFrame& reference, const RgbFrame& candidate)
{
    FrameDifference result;
    result.sameSize = reference.width == candidate.width && reference.height == candidate.height &&
                      reference.width > 0 && reference.height > 0 &&
                      reference.rgb.size() == indexOf(reference, 0, reference.height) &&
                      candidate.rgb.size() == reference.rgb.size();
    if (!result.sameSize) {
        return result;
    }
    for (size_t i = 0; i < reference.rgb.size(); i += channels) {
        int levels = 0;
        for (int c = 0; c < channels; ++c) {
            levels = std::max(levels, std::abs(candidate.rgb[i + c] - reference.rgb[i + c]));
        }
        result.differingPixels += levels > differingLevels ? 1 : 0;
        result.worstPixelLevels = std::max(result.worstPixelLevels, levels);
    }
    for (int y = 0; y < reference.height; y += tileSide) {
        for (int x = 0; x < reference.width; x += tileSide) {
            const double mean = tileMeanLevels(reference, candidate, x, y);
            if (mean > result.worstTileMeanLevels) {
                result.worstTileMeanLevels = mean;
                result.worstTileX = x;
                result.worstTileY = y;
            }
        }
    }
    return result;
}

RgbFrame heldToNeighbourhood(const RgbFrame& reference, const RgbFrame& candidate)
{
    RgbFrame held = candidate;
    if (reference.width != candidate.width || reference.height != candidate.height ||
        reference.rgb.size() != candidate.rgb.size()) {
        return held;
    }
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            for (int c = 0; c < channels; ++c) {
                int low = maxLevel;
                int high = 0;
                for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, reference.height - 1); ++ny) {
                    for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, reference.width - 1); ++nx) {
                        const int level = reference.rgb[indexOf(reference, nx, ny) + c];
                        low = std::min(low, level);
                        high = std::max(high, level);
                    }
                }
                uint8_t& level = held.rgb[indexOf(held, x, y) + c];
                level = static_cast<uint8_t>(std::clamp(static_cast<int>(level), low, high));
            }
        }
    }
    return held;
}

RgbFrame differenceSheet(const RgbFrame& reference, const RgbFrame& candidate)
{
    RgbFrame sheet;
    sheet.width = reference.width * sheetPanels;
    sheet.height = reference.height;
    sheet.rgb.assign(indexOf(sheet, 0, sheet.height), 0);
    for (int y = 0; y < reference.height; ++y) {
        for (int x = 0; x < reference.width; ++x) {
            const size_t from = indexOf(reference, x, y);
            for (int c = 0; c < channels; ++c) {
                const int a = reference.rgb[from + c];
                const int b = candidate.rgb[from + c];
                sheet.rgb[indexOf(sheet, x, y) + c] = static_cast<uint8_t>(a);
                sheet.rgb[indexOf(sheet, x + reference.width, y) + c] = static_cast<uint8_t>(b);
                sheet.rgb[indexOf(sheet, x + 2 * reference.width, y) + c] =
                    static_cast<uint8_t>(std::min(maxLevel, differenceGain * std::abs(b - a)));
            }
        }
    }
    return sheet;
}

std::string describeDifference(const FrameDifference& difference)
{
    if (!difference.sameSize) {
        return "the sizes differ";
    }
    char line[256];
    std::snprintf(line, sizeof line,
                  "%d pixels moved by more than %d levels (at most %d allowed; the largest move %d), "
                  "worst %dx%d tile mean change %.2f levels at (%d, %d) (at most %.2f allowed)",
                  difference.differingPixels, differingLevels, allowedDifferingPixels, difference.worstPixelLevels,
                  tileSide, tileSide, difference.worstTileMeanLevels, difference.worstTileX, difference.worstTileY,
                  allowedTileMeanLevels);
    return line;
}
