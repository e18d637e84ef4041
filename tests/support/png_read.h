// Reads a PNG back for the tests: 8-bit RGB or RGBA, through libpng's simplified interface.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Top row first, channels 3 (RGB) or 4 (RGBA) bytes a pixel; empty when the file is not
// a readable PNG. hasAlpha (may be null) tells whether the file itself holds alpha.
std::vector<uint8_t> readPng(const std::string& path, int channels, int* width, int* height, bool* hasAlpha = nullptr);
inline std::vector<uint8_t> readPngRgb(const std::string& path, int* width, int* height)
{
    return readPng(path, 3, width, height);
}
