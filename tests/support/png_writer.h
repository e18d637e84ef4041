// Writes small PNG images with libpng, for the loader tests and the fuzzer's seed corpus.
#pragma once

#include <png.h>

#include <string>
#include <vector>

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // Rows top first, in the file's own packing (sub-byte samples packed, 16-bit big-endian).
    std::vector<unsigned char> rows;
    std::vector<png_color> palette;
    // Palette alpha (a tRNS chunk); empty for none.
    std::vector<unsigned char> paletteAlpha;
    // A gAMA chunk with this gamma when above 0.
    double fileGamma = 0.0;
};

// The bytes of a PNG file holding the picture.
std::vector<unsigned char> encodePng(const PngPicture& picture);
// The same file with its header claiming another size (the image data stays as it was).
std::vector<unsigned char> withClaimedSize(std::vector<unsigned char> file, unsigned width, unsigned height);
// Writes bytes to a file; false when that fails.
bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// An 8-bit picture whose pixel (x, y) has sample c equal to (x * 16 + y * 64 + c * 5) % 256.
PngPicture patternPicture(int width, int height, int colourType);
