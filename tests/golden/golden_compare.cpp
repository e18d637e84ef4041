// Compares freshly rendered frames with the golden references, one line per
// frame that differs, and writes a reference | new | difference sheet for each.
//   golden_compare REFERENCE_DIR NEW_DIR SHEET_DIR [--all] [--other-rasteriser]
// --all prints the measures of every frame, passing or not. --other-rasteriser judges
// frames drawn by another GL than the references' (the browser's), whose polygon edges
// may cover one sample more or less: see heldToNeighbourhood. The last line gives the
// worst frame's measures.
#include "frame_compare.h"
#include "png_encode.h"
#include "png_read.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int exitDiffers = 1;
constexpr int exitBadArguments = 2;
constexpr int rgbChannels = 3;

RgbFrame readFrame(const fs::path& path)
{
    RgbFrame frame;
    frame.rgb = readPngRgb(path.string(), &frame.width, &frame.height);
    return frame;
}

std::vector<std::string> pngNames(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Judges one frame; true when it passes.
struct Options {
    bool printAll = false;
    bool otherRasteriser = false;
};

// The worst tile mean change over the frames checked, and its frame.
double worstTileMean = -1.0;
std::string worstFrame;
std::string worstDescription;

bool checkFrame(const fs::path& references, const fs::path& fresh, const fs::path& sheets, const std::string& name,
                const Options& options)
{
    const RgbFrame reference = readFrame(references / name);
    const RgbFrame candidate = readFrame(fresh / name);
    if (candidate.rgb.empty()) {
        std::printf("%s: not rendered\n", name.c_str());
        return false;
    }
    const FrameDifference difference =
        compareFrames(reference, options.otherRasteriser ? heldToNeighbourhood(reference, candidate) : candidate);
    if (difference.sameSize && difference.worstTileMeanLevels > worstTileMean) {
        worstTileMean = difference.worstTileMeanLevels;
        worstFrame = name;
        worstDescription = describeDifference(difference);
    }
    const bool passes = options.otherRasteriser ? difference.passesAcrossRasterisers(reference.width * reference.height)
                                                : difference.passes();
    if (passes) {
        if (options.printAll) {
            std::printf("%s: passes: %s\n", name.c_str(), describeDifference(difference).c_str());
        }
        return true;
    }
    std::string sheetNote;
    if (difference.sameSize) {
        const RgbFrame sheet = differenceSheet(reference, candidate);
        const fs::path sheetPath = sheets / (fs::path(name).stem().string() + "-sheet.png");
        std::FILE* out = std::fopen(sheetPath.string().c_str(), "wb");
        const bool written =
            out != nullptr && encodePng8(out, sheet.width, sheet.height, rgbChannels, sheet.rgb.data());
        const bool closed = out != nullptr && std::fclose(out) == 0;
        sheetNote = (written && closed ? "; sheet " : "; cannot write the sheet ") + sheetPath.string();
    }
    std::printf("%s: DIFFERS: %s%s\n", name.c_str(), describeDifference(difference).c_str(), sheetNote.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 4; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--all") {
            options.printAll = true;
        } else if (option == "--other-rasteriser") {
            options.otherRasteriser = true;
        } else {
            argc = 0;
        }
    }
    if (argc < 4) {
        std::fprintf(stderr, "usage: golden_compare REFERENCE_DIR NEW_DIR SHEET_DIR [--all] [--other-rasteriser]\n");
        return exitBadArguments;
    }
    const fs::path references = argv[1];
    const fs::path fresh = argv[2];
    const fs::path sheets = argv[3];
    std::error_code ignored;
    fs::create_directories(sheets, ignored);

    if (options.otherRasteriser) {
        std::printf("across rasterisers: each pixel held to its reference's neighbourhood, then at most %.1f %% "
                    "of the pixels may differ and a tile's mean may move by %.2f levels\n",
                    allowedDifferingShareAcrossRasterisers * 100, allowedTileMeanLevelsAcrossRasterisers);
    }
    const std::vector<std::string> names = pngNames(references);
    int failed = 0;
    for (const std::string& name : names) {
        failed += checkFrame(references, fresh, sheets, name, options) ? 0 : 1;
    }
    for (const std::string& name : pngNames(fresh)) {
        if (!fs::exists(references / name)) {
            std::printf("%s: rendered but has no reference (run make goldens after a deliberate "
                        "change)\n",
                        name.c_str());
            ++failed;
        }
    }
    if (!worstFrame.empty()) {
        std::printf("worst frame %s: %s\n", worstFrame.c_str(), worstDescription.c_str());
    }
    std::printf("%d of %zu golden frames differ\n", failed, names.size());
    return failed == 0 && !names.empty() ? 0 : exitDiffers;
}
