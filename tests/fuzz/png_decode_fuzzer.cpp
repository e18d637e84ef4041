// libFuzzer entry for the PNG decoder: any bytes either decode to a well-formed
// power-of-two image or fail, without crashing, leaking or over-allocating.
#include "assets/png_decode.h"

#include <cstddef>
#include <cstdint>

namespace {

// Small enough that ordinary inputs also take the down-sampling path.
constexpr int fuzzMaxTextureSide = 256;
// Odd-sized inputs decode for a viewing gamma other than 1, so gamma tables get built.
constexpr double alternateViewingGamma = 1.8;

bool isPowerOfTwo(int side) { return side > 0 && (side & (side - 1)) == 0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const double viewingGamma = size % 2 == 0 ? defaultViewingGamma : alternateViewingGamma;
    TextureImage image;
    if (!decodePngBytes(data, size, screenGammaFor(viewingGamma), fuzzMaxTextureSide, &image)) {
        return 0;
    }
    const bool wellFormed =
        isPowerOfTwo(image.width) && isPowerOfTwo(image.height) && image.width <= fuzzMaxTextureSide &&
        image.height <= fuzzMaxTextureSide && (image.components == 3 || image.components == 4) &&
        image.pixels.size() == size_t(image.width) * size_t(image.height) * size_t(image.components);
    if (!wellFormed) {
        __builtin_trap();
    }
    return 0;
}
