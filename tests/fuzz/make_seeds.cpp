// Writes the fuzzer's seed corpus: one tiny PNG of every kind the decoder handles.
#include "png_writer.h"

#include <string>

namespace {

constexpr int seedSide = 4;
constexpr int interlacedSide = 9;
constexpr int oddWidth = 5;
constexpr int oddHeight = 3;
constexpr double linearGamma = 1.0;
constexpr unsigned hugeSide = 16000;
constexpr unsigned tooWide = 100000;

PngPicture paletted(bool withAlpha)
{
    PngPicture picture;
    picture.width = seedSide;
    picture.height = seedSide;
    picture.colourType = PNG_COLOR_TYPE_PALETTE;
    picture.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    if (withAlpha) {
        picture.paletteAlpha = {0, 128, 255};
    }
    for (int i = 0; i < seedSide * seedSide; ++i) {
        picture.rows.push_back(static_cast<unsigned char>(i % 4));
    }
    return picture;
}

PngPicture wide(int colourType)
{
    PngPicture picture = patternPicture(seedSide * 2, seedSide, colourType);
    picture.width = seedSide;
    picture.bitDepth = 16;
    return picture;
}

PngPicture lowBitGrey(int bits)
{
    PngPicture picture;
    picture.width = seedSide * 2;
    picture.height = seedSide;
    picture.colourType = PNG_COLOR_TYPE_GRAY;
    picture.bitDepth = bits;
    const int rowBytes = (picture.width * bits + 7) / 8;
    for (int i = 0; i < rowBytes * picture.height; ++i) {
        picture.rows.push_back(static_cast<unsigned char>(0xA5 ^ i));
    }
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        return 2;
    }
    const std::string dir = argv[1];
    PngPicture interlaced = patternPicture(interlacedSide, interlacedSide, PNG_COLOR_TYPE_RGB);
    interlaced.interlaced = true;
    PngPicture linear = patternPicture(seedSide, seedSide, PNG_COLOR_TYPE_RGB_ALPHA);
    linear.fileGamma = linearGamma;
    const std::pair<const char*, PngPicture> seeds[] = {
        {"grey", patternPicture(seedSide, seedSide, PNG_COLOR_TYPE_GRAY)},
        {"grey_alpha", patternPicture(seedSide, seedSide, PNG_COLOR_TYPE_GRAY_ALPHA)},
        {"rgb", patternPicture(oddWidth, oddHeight, PNG_COLOR_TYPE_RGB)},
        {"rgba", patternPicture(seedSide, seedSide, PNG_COLOR_TYPE_RGB_ALPHA)},
        {"palette", paletted(false)},
        {"palette_trns", paletted(true)},
        {"rgb16", wide(PNG_COLOR_TYPE_RGB)},
        {"grey16", wide(PNG_COLOR_TYPE_GRAY)},
        {"grey1", lowBitGrey(1)},
        {"grey4", lowBitGrey(4)},
        {"interlaced", interlaced},
        {"gamma", linear},
    };
    // Headers and chunks claiming sizes beyond the decoder's bounds (here a text chunk of
    // a gigabyte that is not there): the run's malloc limit catches any allocation for them.
    const std::vector<unsigned char> hugeTextChunk = {0x40, 0, 0, 0, 't', 'E', 'X', 't', 'a', 0, 'b'};
    const std::vector<unsigned char> rgba = encodePng(patternPicture(seedSide, seedSide, PNG_COLOR_TYPE_RGB_ALPHA));
    if (!writeBytes(dir + "/huge.png", withClaimedSize(rgba, hugeSide, hugeSide)) ||
        !writeBytes(dir + "/too_wide.png", withClaimedSize(rgba, tooWide, 1)) ||
        !writeBytes(dir + "/huge_text.png", insertAfterHeader(rgba, hugeTextChunk))) {
        return 1;
    }
    for (const auto& seed : seeds) {
        if (!writeBytes(dir + "/" + seed.first + ".png", encodePng(seed.second))) {
            return 1;
        }
    }
    return 0;
}
