// PNG decoding over libpng into 8-bit RGB or RGBA pixels at power-of-two size, ready for upload.
// Pure: no GL here, so the decoder can be tested and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// Level-0 pixels for a texture: rows top first, tightly packed, 3 (RGB) or 4 (RGBA) bytes each.
struct TextureImage {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<unsigned char> pixels;
};

// The gamma the images are authored for, and the viewing gamma of a plain monitor.
constexpr double displayGamma = 2.2;
constexpr double defaultViewingGamma = 1.0;
// Neither side of an image may exceed this, and neither the decoded image nor its
// power-of-two version may take more bytes than this; larger headers are refused.
constexpr int maxImageSide = 16384;
constexpr std::size_t maxImageBytes = std::size_t{64} << 20;

// The viewing gamma named by the text of VIEWING_GAMMA; the default when the text is
// absent, not a number, not finite, not positive, or gives a screen gamma libpng
// cannot represent.
double viewingGammaFromText(const char* text);
// The screen gamma handed to libpng: the display gamma over the viewing gamma.
double screenGammaFor(double viewingGamma);

// The side a texture gets: the next power of two, but not above maxSide (when the next
// power is above it, the largest power of two within it). 0 when nothing fits.
int powerOfTwoSide(int side, int maxSide);

// Nearest sampling from a source image to a destination size; both tightly packed.
void resampleNearest(const unsigned char* source, int sourceWidth, int sourceHeight, int components,
                     unsigned char* destination, int destinationWidth, int destinationHeight);

// Decodes a whole PNG (signature first) and brings it to power-of-two sides no larger
// than maxTextureSide. Grey and palette become RGB, an alpha channel or a palette's
// transparency becomes RGBA, 16-bit samples become 8-bit, interlacing is undone and
// gamma is corrected for screenGamma. False, with image untouched, on any failure.
bool decodePngBytes(const unsigned char* bytes, std::size_t size, double screenGamma, int maxTextureSide,
                    TextureImage* image);
// The same, reading from an open file at its current position.
bool decodePngFile(std::FILE* file, double screenGamma, int maxTextureSide, TextureImage* image);
