// Reads a PNG back as 8-bit RGB for the render tool's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Top row first; empty when the file is not a readable PNG.
std::vector<uint8_t> readPngRgb(const std::string& path, int* width, int* height);
