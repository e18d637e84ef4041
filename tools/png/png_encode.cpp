// PNG encoding through libpng, for the render tool's frames and the content cards.
#include "png_encode.h"

#include <png.h>

namespace {

constexpr int bitsPerChannel = 8;
constexpr int rgbChannels = 3;
constexpr int rgbaChannels = 4;
constexpr int fastestFilteredLevel = 1;

} // namespace

bool encodePng8(std::FILE* stream, int width, int height, int channels, const uint8_t* pixels, int level)
{
    if (stream == nullptr || pixels == nullptr || width < 1 || height < 1 ||
        (channels != rgbChannels && channels != rgbaChannels)) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, stream);
    png_set_compression_level(png, level);
    // libpng tries five row filters on every row and keeps the best, which costs more
    // than the fast levels save: those take none (stored) or the cheap one.
    if (level <= fastestFilteredLevel) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, level == fastestPngLevel ? PNG_FILTER_NONE : PNG_FILTER_SUB);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitsPerChannel,
                 channels == rgbaChannels ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * channels;
    for (int row = 0; row < height; ++row) {
        png_write_row(png, pixels + stride * row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
