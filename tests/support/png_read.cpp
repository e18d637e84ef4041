// PNG reading through libpng's simplified interface.
#include "png_read.h"

#include <png.h>

namespace {

constexpr int rgbaChannels = 4;

} // namespace

std::vector<uint8_t> readPng(const std::string& path, int channels, int* width, int* height, bool* hasAlpha)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> picture;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return picture;
    }
    if (hasAlpha != nullptr) {
        *hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    }
    image.format = channels == rgbaChannels ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    picture.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.data(), 0, nullptr)) {
        picture.clear();
        return picture;
    }
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return picture;
}
