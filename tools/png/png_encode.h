// The one PNG encoder of the tools: 8-bit RGB or RGBA rows into an open stream,
// the same pixels always giving the same bytes (no time stamp or varying chunk).
#pragma once

#include <cstdint>
#include <cstdio>

// zlib's compression levels: 0 stores, 1 is fastest, 9 smallest; 6 is zlib's own default.
constexpr int fastestPngLevel = 0;
constexpr int smallestPngLevel = 9;
constexpr int defaultPngLevel = 6;

// Encodes width x height pixels of `channels` bytes each (3: RGB, 4: RGBA with
// straight alpha), top row first; false if libpng fails.
bool encodePng8(std::FILE* stream, int width, int height, int channels, const uint8_t* pixels,
                int level = defaultPngLevel);
