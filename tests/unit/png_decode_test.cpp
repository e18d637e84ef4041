// The PNG decoder without GL: texture sizes, resampling, gamma, and refusal of bad input.
#include "assets/png_decode.h"
#include "png_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

// The largest single request made through operator new while watched; the
// decoder's pixel buffer is a std::vector, so this sees every size it asks for.
// The library's operator delete frees with free(), which matches the malloc here.
namespace {
bool watchingAllocations = false;
std::size_t largestAllocation = 0;
} // namespace

void* operator new(std::size_t size)
{
    if (watchingAllocations && size > largestAllocation) largestAllocation = size;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

namespace {

constexpr int largeMaxSide = 16384;

double screenGamma(double viewingGamma = defaultViewingGamma) { return screenGammaFor(viewingGamma); }

bool decode(const std::vector<unsigned char>& bytes, TextureImage* image, double gamma = screenGamma())
{
    return decodePngBytes(bytes.data(), bytes.size(), gamma, largeMaxSide, image);
}

void appendBigEndian(std::vector<unsigned char>* out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<unsigned char>(value >> shift));
    }
}

// A chunk with its length and CRC, the CRC optionally spoiled.
std::vector<unsigned char> chunk(const std::string& type, const std::vector<unsigned char>& data, bool goodCrc = true)
{
    std::vector<unsigned char> out;
    appendBigEndian(&out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    const uLong crc = crc32(0L, body.data(), static_cast<uInt>(body.size()));
    appendBigEndian(&out, static_cast<uint32_t>(goodCrc ? crc : crc ^ 1u));
    return out;
}

void append(std::vector<unsigned char>* out, const std::vector<unsigned char>& more)
{
    out->insert(out->end(), more.begin(), more.end());
}

// A small RGBA file whose header claims width x height.
std::vector<unsigned char> claimedSize(uint32_t width, uint32_t height)
{
    return withClaimedSize(encodePng(patternPicture(4, 4, PNG_COLOR_TYPE_RGB_ALPHA)), width, height);
}

// A one-pixel grey file of the given level, optionally with a gAMA chunk.
std::vector<unsigned char> greyPixel(unsigned char level, unsigned char alpha, double fileGamma)
{
    PngPicture picture;
    picture.width = 1;
    picture.height = 1;
    picture.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    picture.rows = {level, alpha};
    picture.fileGamma = fileGamma;
    return encodePng(picture);
}

TEST(TextureSize, SidesRoundUpToPowersOfTwoWithinTheMaximum)
{
    EXPECT_EQ(powerOfTwoSide(300, largeMaxSide), 512);
    EXPECT_EQ(powerOfTwoSide(75, largeMaxSide), 128);
    EXPECT_EQ(powerOfTwoSide(256, largeMaxSide), 256);
    EXPECT_EQ(powerOfTwoSide(64, largeMaxSide), 64);
    EXPECT_EQ(powerOfTwoSide(1, largeMaxSide), 1);
    EXPECT_EQ(powerOfTwoSide(300, 256), 256);
    EXPECT_EQ(powerOfTwoSide(75, 256), 128);
    // A maximum that is not itself a power of two still yields one.
    EXPECT_EQ(powerOfTwoSide(300, 300), 256);
    EXPECT_EQ(powerOfTwoSide(0, largeMaxSide), 0);
    EXPECT_EQ(powerOfTwoSide(5, 0), 0);
}

TEST(Resample, NearestSamplingKeepsRowOrderAndRepeatsTheLeadingSamples)
{
    // 3 x 2 single-byte pixels: row 0 is 1 2 3, row 1 is 4 5 6.
    const unsigned char source[] = {1, 2, 3, 4, 5, 6};
    unsigned char wider[4 * 4];
    resampleNearest(source, 3, 2, 1, wider, 4, 4);
    const unsigned char expected[] = {1, 1, 2, 3, 1, 1, 2, 3, 4, 4, 5, 6, 4, 4, 5, 6};
    EXPECT_EQ(std::vector<unsigned char>(wider, wider + 16), std::vector<unsigned char>(expected, expected + 16));
    unsigned char narrower[2];
    resampleNearest(source, 3, 2, 1, narrower, 2, 1);
    EXPECT_EQ(narrower[0], 1);
    EXPECT_EQ(narrower[1], 2);
}

TEST(ViewingGamma, OnlyFinitePositiveNumbersReplaceTheDefault)
{
    EXPECT_EQ(viewingGammaFromText(nullptr), 1.0);
    EXPECT_EQ(viewingGammaFromText("2.0"), 2.0);
    EXPECT_EQ(viewingGammaFromText(" 1.5 "), 1.5);
    for (const char* bad : {"", "abc", "2.0x", "0", "-1", "inf", "nan", "1e-300", "1e300"}) {
        EXPECT_EQ(viewingGammaFromText(bad), 1.0) << bad;
    }
    EXPECT_DOUBLE_EQ(screenGammaFor(1.0), 2.2);
}

TEST(Gamma, FilesWithoutGammaLoadUnchangedAndAlphaIsNeverCorrected)
{
    TextureImage image;
    ASSERT_TRUE(decode(greyPixel(128, 77, 0.0), &image));
    EXPECT_EQ(image.components, 4);
    EXPECT_EQ(image.pixels, (std::vector<unsigned char>{128, 128, 128, 77}));

    // A viewing gamma of 2 halves the screen gamma: mid grey squares to a quarter.
    ASSERT_TRUE(decode(greyPixel(128, 77, 0.0), &image, screenGamma(2.0)));
    EXPECT_NEAR(image.pixels[0], 64, 1);
    EXPECT_EQ(image.pixels[3], 77);

    // A linear file (gAMA 1.0) is brightened for a 2.2 screen.
    ASSERT_TRUE(decode(greyPixel(128, 77, 1.0), &image));
    EXPECT_NEAR(image.pixels[0], 186, 1);
    EXPECT_EQ(image.pixels[3], 77);
}

TEST(BadInput, HeadersBeyondTheSizeBoundsAreRefused)
{
    TextureImage image;
    EXPECT_FALSE(decode(claimedSize(100000, 1), &image));
    EXPECT_FALSE(decode(claimedSize(16000, 16000), &image));
    EXPECT_FALSE(decode(claimedSize(0x7fffffff, 0x7fffffff), &image));
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.pixels.empty());
}

TEST(BadInput, ASmallFileClaimingAHugeImageCostsNoMoreThanItsDataFills)
{
    // About 100 bytes whose header says 4096 x 4096 RGBA: 64 MiB if taken at its word.
    // Its data holds 4 rows of 4 pixels; the rows after them are never reached.
    const std::vector<unsigned char> file = claimedSize(4096, 4096);
    ASSERT_LT(file.size(), 200u);
    constexpr std::size_t oneMiB = std::size_t{1} << 20;
    TextureImage image;
    largestAllocation = 0;
    watchingAllocations = true;
    const bool decoded = decode(file, &image);
    watchingAllocations = false;
    EXPECT_FALSE(decoded);
    EXPECT_LT(largestAllocation, oneMiB);
}

TEST(BadInput, EveryTruncationAndCorruptionFailsWithoutPrinting)
{
    const std::vector<unsigned char> whole = encodePng(patternPicture(16, 16, PNG_COLOR_TYPE_RGB));
    TextureImage image;
    ASSERT_TRUE(decode(whole, &image));
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::vector<unsigned char> part(whole.begin(), whole.begin() + size);
        EXPECT_FALSE(decode(part, &image)) << "cut at " << size;
    }

    std::vector<unsigned char> signature = whole;
    signature[1] = 'Q';
    EXPECT_FALSE(decode(signature, &image));

    // The image data starts after the signature (8) and the IHDR chunk (25).
    const size_t imageData = 8 + 25 + 8 + 2;
    std::vector<unsigned char> badCrc = whole;
    badCrc[imageData] ^= 0x40;
    EXPECT_FALSE(decode(badCrc, &image));

    std::vector<unsigned char> badStream(whole.begin(), whole.begin() + 33);
    append(&badStream, chunk("IDAT", std::vector<unsigned char>(40, 0xff)));
    append(&badStream, chunk("IEND", {}));
    EXPECT_FALSE(decode(badStream, &image));
    EXPECT_FALSE(decode(claimedSize(100000, 1), &image));

    // An ancillary chunk with a bad CRC is only warned about, and the image still loads.
    std::vector<unsigned char> warned(whole.begin(), whole.begin() + 33);
    append(&warned, chunk("tEXt", {'a', 0, 'b'}, false));
    warned.insert(warned.end(), whole.begin() + 33, whole.end());
    EXPECT_TRUE(decode(warned, &image));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
