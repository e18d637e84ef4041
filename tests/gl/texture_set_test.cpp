// The PNG loader and the texture set on a real GL context: each texture's size, component
// count, parameters and first row are read back from GL.
#include "assets/texture_set.h"
#include "gl_context.h"
#include "png_writer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TextureContents {
    GLint width = 0;
    GLint height = 0;
    GLint components = 0;
    GLint wrapS = 0;
    GLint wrapT = 0;
    GLint minFilter = 0;
    GLint magFilter = 0;
    std::vector<unsigned char> rgba; // rows from texture row 0
};

TextureContents readTexture(GLuint name)
{
    TextureContents contents;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &contents.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &contents.height);
    // The internal format as uploaded: 3 or 4 components.
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &contents.components);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &contents.wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &contents.wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &contents.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &contents.magFilter);
    contents.rgba.resize(size_t(contents.width) * contents.height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, contents.rgba.data());
    return contents;
}

std::vector<unsigned char> firstRow(const TextureContents& contents, int texels)
{
    return {contents.rgba.begin(), contents.rgba.begin() + texels * 4};
}

// Each test gets its own empty directory, which is also the working directory.
class TextureFiles : public testing::Test {
protected:
    void SetUp() override
    {
        ensureGlContext();
        char pattern[] = "/tmp/glasswind-textures.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        previous = fs::current_path();
        fs::current_path(dir);
    }
    void TearDown() override
    {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
    GLuint load(const std::vector<unsigned char>& bytes)
    {
        EXPECT_TRUE(writeBytes("image.png", bytes));
        return loadTextureFile("image.png");
    }
    fs::path dir;
    fs::path previous;
};

struct LoaderCase {
    const char* name;
    PngPicture picture;
    int width;
    int height;
    int components;
    std::vector<unsigned char> firstTexels; // RGBA as read back
};

PngPicture pattern(int colourType) { return patternPicture(4, 2, colourType); }

PngPicture paletted(bool withAlpha)
{
    PngPicture picture;
    picture.width = 4;
    picture.height = 2;
    picture.colourType = PNG_COLOR_TYPE_PALETTE;
    picture.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    if (withAlpha) {
        picture.paletteAlpha = {0, 128, 255};
    }
    picture.rows = {0, 1, 2, 3, 3, 2, 1, 0};
    return picture;
}

PngPicture wideSamples()
{
    // Every 8-bit sample v of the pattern becomes the 16-bit sample v * 257.
    PngPicture narrow = pattern(PNG_COLOR_TYPE_RGB);
    PngPicture picture = narrow;
    picture.bitDepth = 16;
    picture.rows.clear();
    for (unsigned char sample : narrow.rows) {
        picture.rows.push_back(sample);
        picture.rows.push_back(sample);
    }
    return picture;
}

PngPicture interlaced()
{
    PngPicture picture = patternPicture(8, 8, PNG_COLOR_TYPE_RGB);
    picture.interlaced = true;
    return picture;
}

PngPicture oneBitGrey()
{
    PngPicture picture;
    picture.width = 8;
    picture.height = 1;
    picture.colourType = PNG_COLOR_TYPE_GRAY;
    picture.bitDepth = 1;
    picture.rows = {0xB0};
    return picture;
}

TEST_F(TextureFiles, EveryKindOfPngLoadsWithItsSizeComponentsAndFirstRow)
{
    const std::vector<unsigned char> rgbRow = {0, 5, 10, 255, 16, 21, 26, 255, 32, 37, 42, 255};
    const PngPicture notPowersOfTwo = patternPicture(300, 75, PNG_COLOR_TYPE_RGB);
    const LoaderCase cases[] = {
        {"grey", pattern(PNG_COLOR_TYPE_GRAY), 4, 2, 3, {0, 0, 0, 255, 16, 16, 16, 255, 32, 32, 32, 255}},
        {"grey+alpha", pattern(PNG_COLOR_TYPE_GRAY_ALPHA), 4, 2, 4, {0, 0, 0, 5, 16, 16, 16, 21, 32, 32, 32, 37}},
        {"rgb", pattern(PNG_COLOR_TYPE_RGB), 4, 2, 3, rgbRow},
        {"rgba", pattern(PNG_COLOR_TYPE_RGB_ALPHA), 4, 2, 4, {0, 5, 10, 15, 16, 21, 26, 31, 32, 37, 42, 47}},
        {"paletted", paletted(false), 4, 2, 3, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255}},
        {"paletted+tRNS", paletted(true), 4, 2, 4, {255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255}},
        {"16-bit", wideSamples(), 4, 2, 3, rgbRow},
        {"interlaced", interlaced(), 8, 8, 3, rgbRow},
        {"1-bit grey", oneBitGrey(), 8, 1, 3, {255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}},
        // Stretched to powers of two, the leading texels repeated.
        {"300x75", notPowersOfTwo, 512, 128, 3, {0, 5, 10, 255, 0, 5, 10, 255, 16, 21, 26, 255}},
    };
    for (const LoaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        const GLuint name = load(encodePng(c.picture));
        ASSERT_NE(name, 0u);
        const TextureContents contents = readTexture(name);
        EXPECT_EQ(contents.width, c.width);
        EXPECT_EQ(contents.height, c.height);
        EXPECT_EQ(contents.components, c.components);
        EXPECT_EQ(contents.wrapS, GL_CLAMP);
        EXPECT_EQ(contents.wrapT, GL_CLAMP);
        EXPECT_EQ(contents.minFilter, GL_NEAREST);
        EXPECT_EQ(contents.magFilter, GL_NEAREST);
        EXPECT_EQ(firstRow(contents, int(c.firstTexels.size() / 4)), c.firstTexels);
    }
}

TEST_F(TextureFiles, InterlacedFilesLoadEveryRowInFileOrder)
{
    const PngPicture picture = interlaced();
    const TextureContents contents = readTexture(load(encodePng(picture)));
    ASSERT_EQ(contents.rgba.size(), 8u * 8u * 4u);
    for (int texel = 0; texel < 64; ++texel) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(contents.rgba[texel * 4 + c], picture.rows[texel * 3 + c]) << texel;
        }
    }
}

TEST_F(TextureFiles, MissingWrongAndTruncatedFilesGiveZeroSilently)
{
    const std::vector<unsigned char> good = encodePng(patternPicture(16, 16, PNG_COLOR_TYPE_RGB));
    std::vector<unsigned char> wrongSignature = good;
    wrongSignature[0] = 'G';
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadTextureFile("no-such-file.png"), 0u);
    EXPECT_EQ(load(wrongSignature), 0u);
    EXPECT_EQ(load({good.begin(), good.begin() + good.size() / 2}), 0u);
    EXPECT_EQ(load({good.begin(), good.end() - 4}), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(load(good), 0u);
}

// A 4 x 2 picture of one colour, told apart by its red and green.
PngPicture plain(int mark)
{
    PngPicture picture = pattern(PNG_COLOR_TYPE_RGB);
    for (size_t i = 0; i < picture.rows.size(); i += 3) {
        picture.rows[i] = static_cast<unsigned char>(10 * mark);
        picture.rows[i + 1] = static_cast<unsigned char>(255 - 10 * mark);
        picture.rows[i + 2] = 0;
    }
    return picture;
}

TEST_F(TextureFiles, EachSlotHoldsItsOwnFileAndAMissingOneLeavesOnlyItsSlotEmpty)
{
    // The slots in the order the scenes use them, typed here rather than taken from the loader.
    const char* const files[] = {"s1", "s2", "s3", "g1", "g2", "g3", "g4", "g5", "g6", "g7", "g8", "end", "Loading"};
    ASSERT_EQ(std::size(files), static_cast<size_t>(textureSlotCount));
    for (int missing : {-1, 6}) {
        fs::remove_all("data");
        fs::create_directory("data");
        for (int slot = 0; slot < textureSlotCount; ++slot) {
            if (slot != missing) {
                const std::string path = std::string("data/") + files[slot] + ".png";
                ASSERT_TRUE(writeBytes(path, encodePng(plain(slot))));
            }
        }
        loadTextureSet();
        for (int slot = 0; slot < textureSlotCount; ++slot) {
            SCOPED_TRACE(std::string(files[slot]) + (missing < 0 ? ", all files there" : ", g4 missing"));
            if (slot == missing) {
                EXPECT_EQ(textureSlots[slot], 0u);
                continue;
            }
            ASSERT_NE(textureSlots[slot], 0u);
            const std::vector<unsigned char> mark = {static_cast<unsigned char>(10 * slot),
                                                     static_cast<unsigned char>(255 - 10 * slot), 0, 255};
            EXPECT_EQ(firstRow(readTexture(textureSlots[slot]), 1), mark);
        }
    }
    // The slots the scenes name.
    EXPECT_STREQ(files[slotS1], "s1");
    EXPECT_STREQ(files[slotS2], "s2");
    EXPECT_STREQ(files[slotS3], "s3");
    EXPECT_STREQ(files[slotG1], "g1");
    EXPECT_STREQ(files[slotEnd], "end");
    EXPECT_STREQ(files[slotLoading], "Loading");
}

} // namespace
