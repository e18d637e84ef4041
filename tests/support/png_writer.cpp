// PNG encoding into memory through libpng's write callbacks.
#include "png_writer.h"

#include <zlib.h>

#include <cstdio>

namespace {

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

int channelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

} // namespace

namespace {

// Writes the whole file; libpng jumps back here on error, so only plain data lives in this frame.
bool writePicture(const PngPicture* picture, png_bytepp rows, std::vector<unsigned char>* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, picture->width, picture->height, picture->bitDepth, picture->colourType,
                 picture->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!picture->palette.empty()) {
        png_set_PLTE(png, info, picture->palette.data(), static_cast<int>(picture->palette.size()));
    }
    if (!picture->paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture->paletteAlpha.data(), static_cast<int>(picture->paletteAlpha.size()), nullptr);
    }
    if (picture->fileGamma > 0.0) {
        png_set_gAMA(png, info, picture->fileGamma);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<unsigned char> encodePng(const PngPicture& picture)
{
    const size_t rowBytes = (size_t(picture.width) * channelsOf(picture.colourType) * picture.bitDepth + 7) / 8;
    std::vector<png_bytep> rows(picture.height);
    for (int y = 0; y < picture.height; ++y) {
        rows[y] = const_cast<png_bytep>(picture.rows.data() + y * rowBytes);
    }
    std::vector<unsigned char> out;
    if (!writePicture(&picture, rows.data(), &out)) {
        return {};
    }
    return out;
}

std::vector<unsigned char> withClaimedSize(std::vector<unsigned char> file, unsigned width, unsigned height)
{
    // Signature (8), then the IHDR chunk: length (4), type (4), width, height, ..., CRC.
    constexpr size_t typeAt = 12;
    constexpr size_t widthAt = 16;
    constexpr size_t crcAt = 29;
    if (file.size() < crcAt + 4) {
        return file;
    }
    const unsigned values[] = {width, height};
    for (int i = 0; i < 2; ++i) {
        for (int b = 0; b < 4; ++b) {
            file[widthAt + i * 4 + b] = static_cast<unsigned char>(values[i] >> (24 - 8 * b));
        }
    }
    const uLong crc = crc32(0L, file.data() + typeAt, crcAt - typeAt);
    for (int b = 0; b < 4; ++b) {
        file[crcAt + b] = static_cast<unsigned char>(crc >> (24 - 8 * b));
    }
    return file;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

PngPicture patternPicture(int width, int height, int colourType)
{
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = colourType;
    const int channels = channelsOf(colourType);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                picture.rows.push_back(static_cast<unsigned char>((x * 16 + y * 64 + c * 5) % 256));
            }
        }
    }
    return picture;
}
