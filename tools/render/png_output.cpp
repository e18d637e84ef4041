// PNG encoding through libpng, written atomically.
#include "png_output.h"

#include "atomic_file.h"

namespace {

constexpr int rgbBytesPerPixel = 3;

} // namespace

bool writePngRgb(std::FILE* stream, int width, int height, const std::vector<uint8_t>& rgb, int level)
{
    if (rgb.size() != static_cast<size_t>(width) * height * rgbBytesPerPixel) {
        return false;
    }
    return encodePng8(stream, width, height, rgbBytesPerPixel, rgb.data(), level);
}

bool savePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb, std::string* error,
             int level)
{
    PendingFile file;
    if (!openPending(path, &file, error)) {
        return false;
    }
    if (!writePngRgb(file.stream, width, height, rgb, level)) {
        *error = "cannot write '" + path + "': PNG encoding failed";
        abandonPending(&file);
        return false;
    }
    return commitPending(&file, error);
}
