// Scaling a square of the card down to an icon: box filtering in linear light, so
// thin white strokes keep their weight, and an anti-aliased rounded outline.
#include "icon_scale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int rgbChannels = 3;
constexpr int rgbaChannels = 4;
constexpr double maxLevel = 255.0;
constexpr double encodingGamma = 2.2;
constexpr int outlineSubsamples = 4; // per side of a pixel, for the outline's coverage

double toLinear(uint8_t level) { return std::pow(level / maxLevel, encodingGamma); }

uint8_t toLevel(double linear)
{
    const double level = std::pow(std::clamp(linear, 0.0, 1.0), 1.0 / encodingGamma) * maxLevel;
    return static_cast<uint8_t>(std::lround(level));
}

// How much of the span [a, b) falls on source pixel i, [i, i + 1).
double overlap(double a, double b, int i) { return std::max(0.0, std::min(b, i + 1.0) - std::max(a, double(i))); }

// The share of output pixel (x, y) that lies inside the rounded square of side size.
double outlineCoverage(int x, int y, int size, double radius)
{
    int inside = 0;
    for (int sy = 0; sy < outlineSubsamples; ++sy) {
        for (int sx = 0; sx < outlineSubsamples; ++sx) {
            const double px = x + (sx + 0.5) / outlineSubsamples;
            const double py = y + (sy + 0.5) / outlineSubsamples;
            // Distance past the corner circles' centres, zero along the straight edges.
            const double dx = std::max({radius - px, px - (size - radius), 0.0});
            const double dy = std::max({radius - py, py - (size - radius), 0.0});
            inside += dx * dx + dy * dy <= radius * radius ? 1 : 0;
        }
    }
    return double(inside) / (outlineSubsamples * outlineSubsamples);
}

} // namespace

std::vector<uint8_t> scaleIcon(const std::vector<uint8_t>& rgb, int width, int height, IconSquare square, int size,
                               double cornerFraction)
{
    if (size < 1 || square.side < 1 || square.left < 0 || square.top < 0 || square.left + square.side > width ||
        square.top + square.side > height || rgb.size() != size_t(width) * height * rgbChannels) {
        return {};
    }
    std::vector<uint8_t> icon(size_t(size) * size * rgbaChannels);
    const double step = double(square.side) / size;
    const double radius = cornerFraction * size;
    for (int y = 0; y < size; ++y) {
        const double top = y * step;
        for (int x = 0; x < size; ++x) {
            const double left = x * step;
            double sum[rgbChannels] = {0, 0, 0};
            double weight = 0;
            for (int sy = int(top); sy < square.side && sy < top + step; ++sy) {
                const double wy = overlap(top, top + step, sy);
                for (int sx = int(left); sx < square.side && sx < left + step; ++sx) {
                    const double w = wy * overlap(left, left + step, sx);
                    const size_t at = (size_t(square.top + sy) * width + square.left + sx) * rgbChannels;
                    for (int c = 0; c < rgbChannels; ++c) {
                        sum[c] += w * toLinear(rgb[at + c]);
                    }
                    weight += w;
                }
            }
            uint8_t* out = &icon[(size_t(y) * size + x) * rgbaChannels];
            for (int c = 0; c < rgbChannels; ++c) {
                out[c] = toLevel(sum[c] / weight);
            }
            out[rgbChannels] = static_cast<uint8_t>(std::lround(outlineCoverage(x, y, size, radius) * maxLevel));
        }
    }
    return icon;
}
