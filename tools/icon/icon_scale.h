// Square icons cut from a larger picture: averaged in linear light, corners rounded.
#pragma once

#include <cstdint>
#include <vector>

// A square of an RGB picture (rows top first, tightly packed): its left and top pixel and its side.
struct IconSquare {
    int left = 0;
    int top = 0;
    int side = 0;
};

// The square scaled to size x size RGBA pixels: each pixel the mean, in linear light,
// of the source area it covers (partly covered source pixels weighed by their share),
// and its alpha the share of it inside a rounded square with corners of
// cornerFraction x size radius. Empty when the square does not lie inside the picture.
std::vector<uint8_t> scaleIcon(const std::vector<uint8_t>& rgb, int width, int height, IconSquare square, int size,
                               double cornerFraction);
