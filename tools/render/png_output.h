// PNG files of rendered frames, and the one-call still: encode, write, rename.
#pragma once

#include "png_encode.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Encodes 8-bit RGB pixels, top row first, as a PNG into an open stream.
// The same pixels always give the same bytes: no time stamp or other varying chunk.
bool writePngRgb(std::FILE* stream, int width, int height, const std::vector<uint8_t>& rgb,
                 int level = defaultPngLevel);

// Writes the PNG under a temporary name beside path, then renames it into place.
bool savePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb, std::string* error,
             int level = defaultPngLevel);
