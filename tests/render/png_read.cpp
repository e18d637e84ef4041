// PNG reading through libpng's simplified interface.
#include "png_read.h"

#include <png.h>

std::vector<uint8_t> readPngRgb(const std::string& path, int* width, int* height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> picture;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        image.format = PNG_FORMAT_RGB;
        picture.resize(PNG_IMAGE_SIZE(image));
        png_image_finish_read(&image, nullptr, picture.data(), 0, nullptr);
        *width = static_cast<int>(image.width);
        *height = static_cast<int>(image.height);
    }
    return picture;
}
