// Draws the menu icon from the loading card: the "G" of its title on the blue facets
// around it, one PNG a size.
// Usage: glasswind_icon <data/Loading.png> <output directory> <size>...
// writes <output directory>/<size>x<size>/apps/glasswind.png, as the hicolor theme lays them out.
#include "assets/png_decode.h"
#include "icon_scale.h"
#include "png_encode.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

// The loading card is 1024 x 1024; its title's "G" fills columns 156 to 241 and rows
// 425 to 518. The square holds it with room for the glow, short of the opening quote
// (to column 135) and the "l" (from column 265). Icons are drawn up to its side: a
// larger one would only be the same pixels blurred.
constexpr int cardSide = 1024;
constexpr IconSquare titleG = {136, 408, 128};
constexpr double cornerFraction = 0.125;
constexpr mode_t folderMode = 0755;

bool makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), folderMode);
    }
    mkdir(path.c_str(), folderMode);
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeIcon(const std::vector<uint8_t>& rgb, const std::string& outDir, int size)
{
    const std::string side = std::to_string(size);
    const std::string folder = outDir + "/" + side + "x" + side + "/apps";
    const std::vector<uint8_t> icon = scaleIcon(rgb, cardSide, cardSide, titleG, size, cornerFraction);
    if (icon.empty() || !makeFolders(folder)) {
        return false;
    }
    const std::string path = folder + "/glasswind.png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = encodePng8(file, size, size, 4, icon.data(), smallestPngLevel);
    return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: glasswind_icon <data/Loading.png> <output directory> <size>...\n");
        return 2;
    }
    std::FILE* card = std::fopen(argv[1], "rb");
    TextureImage image;
    const bool decoded = card != nullptr && decodePngFile(card, screenGammaFor(defaultViewingGamma), cardSide, &image);
    if (card != nullptr) {
        std::fclose(card);
    }
    if (!decoded || image.width != cardSide || image.height != cardSide || image.components != 3) {
        std::fprintf(stderr, "glasswind_icon: %s is not the %dx%d RGB loading card\n", argv[1], cardSide, cardSide);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > titleG.side || !writeIcon(image.pixels, argv[2], size)) {
            std::fprintf(stderr, "glasswind_icon: cannot write the %s pixel icon into %s\n", argv[i], argv[2]);
            return 1;
        }
    }
    return 0;
}
