// PNG decoding over libpng: header checks, conversion to 8-bit RGB(A), gamma, and the
// resampling to power-of-two sides.
#include "assets/png_decode.h"

#include <png.h>

#include <cctype>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <new>

// libpng reports errors by longjmp, so the functions that call setjmp, and the callbacks
// libpng may jump out of, hold plain data only: buffers with destructors live in the
// caller, which is never jumped over.
namespace {

constexpr std::size_t signatureBytes = 8;
// Ancillary chunks (text, colour profiles) are not needed; keep them small and few.
constexpr png_alloc_size_t maxChunkBytes = png_alloc_size_t{8} << 20;
constexpr png_uint_32 maxCachedChunks = 128;
// Every chunk but IHDR, PLTE, tRNS, IDAT and IEND is skipped unless listed here.
constexpr png_byte chunksToRead[] = "gAMA";
constexpr int chunksToReadCount = 1;
// Tells libpng to skip a list of chunks, or all of them but the image's own.
constexpr int allAncillaryChunks = -1;
// A file without a gAMA chunk counts as authored for the display gamma, so it loads unchanged.
constexpr double fileGammaWithoutChunk = 1.0 / displayGamma;
constexpr int bitsPerSample = 8;
constexpr int wideSampleBits = 16;
constexpr int rgbComponents = 3;
constexpr int rgbaComponents = 4;

// The bytes after the signature, for a decode from memory.
struct MemorySource {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t offset;
};

void readFromMemory(png_structp png, png_bytep data, std::size_t length)
{
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (source->size - source->offset < length) {
        png_error(png, "truncated");
    }
    std::memcpy(data, source->bytes + source->offset, length);
    source->offset += length;
}

void readFromFile(png_structp png, png_bytep data, std::size_t length)
{
    auto* file = static_cast<std::FILE*>(png_get_io_ptr(png));
    if (std::fread(data, 1, length, file) != length) {
        png_error(png, "truncated");
    }
}

// libpng's own handlers print to stderr; these stay silent. The error handler must not return.
void failSilently(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void ignoreWarning(png_structp, png_const_charp) {}

// One decode's libpng objects and the shape of the converted rows.
struct PngReader {
    png_structp png;
    png_infop info;
    png_uint_32 width;
    png_uint_32 height;
    int components;
    int bitDepth;
    int passes;
    std::size_t rowBytes;
};

// The screen or file gamma in libpng's fixed point; 0 when it has no positive fixed-point value.
png_fixed_point fixedGamma(double gamma)
{
    const double scaled = std::floor(gamma * PNG_FP_1 + 0.5);
    if (!(scaled >= 1.0 && scaled <= static_cast<double>(PNG_FP_MAX))) {
        return 0;
    }
    return static_cast<png_fixed_point>(scaled);
}

// Reads the header and sets up the conversions to 8-bit RGB or RGBA. False when libpng
// refuses the file, including headers beyond the size limits.
bool readHeader(PngReader* reader, png_fixed_point screenGamma)
{
    if (setjmp(png_jmpbuf(reader->png))) {
        return false;
    }
    png_set_sig_bytes(reader->png, signatureBytes);
    png_set_user_limits(reader->png, maxImageSide, maxImageSide);
    png_set_chunk_malloc_max(reader->png, maxChunkBytes);
    png_set_chunk_cache_max(reader->png, maxCachedChunks);
    // libpng only warns about an ancillary chunk above the size limit and then buffers it
    // whole, so a text chunk claiming a gigabyte would be allocated. Chunks the texture
    // does not use are skipped in small reads instead.
    png_set_keep_unknown_chunks(reader->png, PNG_HANDLE_CHUNK_NEVER, nullptr, allAncillaryChunks);
    png_set_keep_unknown_chunks(reader->png, PNG_HANDLE_CHUNK_AS_DEFAULT, chunksToRead, chunksToReadCount);
    png_read_info(reader->png, reader->info);

    const int colourType = png_get_color_type(reader->png, reader->info);
    const int fileBits = png_get_bit_depth(reader->png, reader->info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(reader->png);
        if (png_get_valid(reader->png, reader->info, PNG_INFO_tRNS) != 0) {
            png_set_tRNS_to_alpha(reader->png);
        }
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && fileBits < bitsPerSample) {
        png_set_expand_gray_1_2_4_to_8(reader->png);
    }
    if (fileBits == wideSampleBits) {
        png_set_scale_16(reader->png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(reader->png);
    }
    png_fixed_point fileGamma = 0;
    if (png_get_gAMA_fixed(reader->png, reader->info, &fileGamma) == 0) {
        fileGamma = fixedGamma(fileGammaWithoutChunk);
    }
    png_set_gamma_fixed(reader->png, screenGamma, fileGamma);
    reader->passes = png_set_interlace_handling(reader->png);
    png_read_update_info(reader->png, reader->info);

    reader->width = png_get_image_width(reader->png, reader->info);
    reader->height = png_get_image_height(reader->png, reader->info);
    reader->components = png_get_channels(reader->png, reader->info);
    reader->bitDepth = png_get_bit_depth(reader->png, reader->info);
    reader->rowBytes = png_get_rowbytes(reader->png, reader->info);
    return true;
}

// Makes room for the rows up to size bytes; false when memory runs out.
bool growRows(std::vector<unsigned char>* decoded, std::size_t size)
{
    try {
        decoded->resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Reads every row (all passes of an interlaced file) and the chunks up to the end.
// The pixel buffer grows as the first pass reaches each row, so a small file whose
// header claims a huge image fails before it has cost more than its data can fill.
bool readRows(PngReader* reader, std::vector<unsigned char>* decoded)
{
    if (setjmp(png_jmpbuf(reader->png))) {
        return false;
    }
    for (int pass = 0; pass < reader->passes; ++pass) {
        for (png_uint_32 row = 0; row < reader->height; ++row) {
            const std::size_t rowStart = row * reader->rowBytes;
            if (pass == 0 && !growRows(decoded, rowStart + reader->rowBytes)) {
                return false;
            }
            png_read_row(reader->png, decoded->data() + rowStart, nullptr);
        }
    }
    png_read_end(reader->png, nullptr);
    return true;
}

// The converted rows are 8-bit RGB or RGBA, tightly packed, within the memory bound.
bool headerFits(const PngReader& reader)
{
    if (reader.bitDepth != bitsPerSample ||
        (reader.components != rgbComponents && reader.components != rgbaComponents)) {
        return false;
    }
    if (reader.width < 1 || reader.height < 1 || reader.width > maxImageSide || reader.height > maxImageSide) {
        return false;
    }
    const std::size_t packedRow = std::size_t{reader.width} * reader.components;
    return reader.rowBytes == packedRow && packedRow * reader.height <= maxImageBytes;
}

// Decodes the rest of a PNG whose signature has been read, at its own size, into pixels.
bool decodeAfterSignature(png_rw_ptr readBytes, void* io, double screenGamma, int* width, int* height, int* components,
                          std::vector<unsigned char>* pixels)
{
    const png_fixed_point screenFixed = fixedGamma(screenGamma);
    if (screenFixed == 0) {
        return false;
    }
    PngReader reader = {};
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failSilently, ignoreWarning);
    if (reader.png == nullptr) {
        return false;
    }
    reader.info = png_create_info_struct(reader.png);
    bool ok = reader.info != nullptr;
    if (ok) {
        png_set_read_fn(reader.png, io, readBytes);
        ok = readHeader(&reader, screenFixed) && headerFits(reader);
    }
    std::vector<unsigned char> decoded;
    if (ok) {
        // The file's first row becomes row 0.
        ok = readRows(&reader, &decoded);
    }
    png_destroy_read_struct(&reader.png, &reader.info, nullptr);
    if (!ok) {
        return false;
    }
    *width = static_cast<int>(reader.width);
    *height = static_cast<int>(reader.height);
    *components = reader.components;
    pixels->swap(decoded);
    return true;
}

// Brings decoded pixels to power-of-two sides within maxTextureSide.
bool fitToTexture(const unsigned char* pixels, int width, int height, int components, int maxTextureSide,
                  TextureImage* image)
{
    const int textureWidth = powerOfTwoSide(width, maxTextureSide);
    const int textureHeight = powerOfTwoSide(height, maxTextureSide);
    if (textureWidth == 0 || textureHeight == 0) {
        return false;
    }
    const std::size_t bytes = std::size_t(textureWidth) * std::size_t(textureHeight) * std::size_t(components);
    if (bytes > maxImageBytes) {
        return false;
    }
    TextureImage fitted;
    try {
        fitted.pixels.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    resampleNearest(pixels, width, height, components, fitted.pixels.data(), textureWidth, textureHeight);
    fitted.width = textureWidth;
    fitted.height = textureHeight;
    fitted.components = components;
    *image = std::move(fitted);
    return true;
}

bool decodeStream(png_rw_ptr readBytes, void* io, double screenGamma, int maxTextureSide, TextureImage* image)
{
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<unsigned char> pixels;
    if (!decodeAfterSignature(readBytes, io, screenGamma, &width, &height, &components, &pixels)) {
        return false;
    }
    return fitToTexture(pixels.data(), width, height, components, maxTextureSide, image);
}

} // namespace

double screenGammaFor(double viewingGamma) { return displayGamma / viewingGamma; }

double viewingGammaFromText(const char* text)
{
    if (text == nullptr) {
        return defaultViewingGamma;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text) {
        return defaultViewingGamma;
    }
    while (std::isspace(static_cast<unsigned char>(*end))) {
        ++end;
    }
    if (*end != '\0' || !std::isfinite(value) || value <= 0.0 || fixedGamma(screenGammaFor(value)) == 0) {
        return defaultViewingGamma;
    }
    return value;
}

int powerOfTwoSide(int side, int maxSide)
{
    if (side < 1 || maxSide < 1) {
        return 0;
    }
    int power = 1;
    while (power < side && power <= maxSide / 2) {
        power *= 2;
    }
    return power;
}

void resampleNearest(const unsigned char* source, int sourceWidth, int sourceHeight, int components,
                     unsigned char* destination, int destinationWidth, int destinationHeight)
{
    const std::size_t sourceRowBytes = std::size_t(sourceWidth) * std::size_t(components);
    unsigned char* out = destination;
    for (int y = 0; y < destinationHeight; ++y) {
        const long long sourceY = static_cast<long long>(y) * sourceHeight / destinationHeight;
        const unsigned char* sourceRow = source + std::size_t(sourceY) * sourceRowBytes;
        for (int x = 0; x < destinationWidth; ++x) {
            const long long sourceX = static_cast<long long>(x) * sourceWidth / destinationWidth;
            std::memcpy(out, sourceRow + std::size_t(sourceX) * std::size_t(components), std::size_t(components));
            out += components;
        }
    }
}

bool decodePngBytes(const unsigned char* bytes, std::size_t size, double screenGamma, int maxTextureSide,
                    TextureImage* image)
{
    if (bytes == nullptr || size < signatureBytes || png_sig_cmp(bytes, 0, signatureBytes) != 0) {
        return false;
    }
    MemorySource source = {bytes, size, signatureBytes};
    return decodeStream(readFromMemory, &source, screenGamma, maxTextureSide, image);
}

bool decodePngFile(std::FILE* file, double screenGamma, int maxTextureSide, TextureImage* image)
{
    unsigned char signature[signatureBytes];
    if (file == nullptr || std::fread(signature, 1, signatureBytes, file) != signatureBytes ||
        png_sig_cmp(signature, 0, signatureBytes) != 0) {
        return false;
    }
    return decodeStream(readFromFile, file, screenGamma, maxTextureSide, image);
}
