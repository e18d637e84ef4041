// The pixels of a card: premultiplied colour canvases, coverage masks painted
// through them, the night-glass backgrounds, and the PNG files they become.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r, g, b;
};

constexpr Colour white{1.0f, 1.0f, 1.0f};
constexpr Colour ice{0.66f, 0.85f, 1.0f}; // the pale blue of labels and rules
constexpr Colour mist{0.72f, 0.78f, 0.88f};
constexpr Colour black{0.0f, 0.0f, 0.0f};

// Premultiplied RGBA, row 0 at the top.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;
};

// Coverage 0..1 per pixel.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> value;
};

Canvas makeCanvas(int width, int height);
Mask makeMask(int width, int height);
// Paints colour through the mask, "over" what is there, with the given opacity.
void paint(Canvas* canvas, const Mask& mask, Colour colour, float opacity, int dx = 0, int dy = 0);
// The mask blurred by a box filter of the radius, three times (nearly Gaussian).
Mask blurred(const Mask& mask, int radius);
// A square background of faceted dark glass, from top to bottom colour, lit at glowY.
Canvas nightGlass(int size, uint32_t seed, Colour top, Colour bottom, float glowY, float facetFloor);
// A horizontal rule centred on centreX, soft at its ends.
Mask rule(int width, int height, int centreX, int y, int halfLength, int thickness);
// Writes the canvas as 8-bit RGB or RGBA PNG; false (and a message) if it cannot.
bool writePng(const std::string& path, const Canvas& canvas, bool withAlpha);
