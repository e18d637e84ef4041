// Compares freshly rendered frames with the golden references, one line per
// frame that differs, and writes a reference | new | difference sheet for each.
//   golden_compare REFERENCE_DIR NEW_DIR SHEET_DIR [--all]
// --all prints the measures of every frame, passing or not.
#include "frame_compare.h"
#include "png_output.h"
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
bool checkFrame(const fs::path& references, const fs::path& fresh, const fs::path& sheets, const std::string& name,
                bool printAll)
{
    const RgbFrame reference = readFrame(references / name);
    const RgbFrame candidate = readFrame(fresh / name);
    if (candidate.rgb.empty()) {
        std::printf("%s: not rendered\n", name.c_str());
        return false;
    }
    const FrameDifference difference = compareFrames(reference, candidate);
    if (difference.passes()) {
        if (printAll) {
            std::printf("%s: passes: %s\n", name.c_str(), describeDifference(difference).c_str());
        }
        return true;
    }
    std::string sheetNote;
    if (difference.sameSize) {
        const RgbFrame sheet = differenceSheet(reference, candidate);
        const fs::path sheetPath = sheets / (fs::path(name).stem().string() + "-sheet.png");
        std::string error;
        sheetNote = savePng(sheetPath.string(), sheet.width, sheet.height, sheet.rgb, &error)
                        ? "; sheet " + sheetPath.string()
                        : "; " + error;
    }
    std::printf("%s: DIFFERS: %s%s\n", name.c_str(), describeDifference(difference).c_str(), sheetNote.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5 || (argc == 5 && std::string(argv[4]) != "--all")) {
        std::fprintf(stderr, "usage: golden_compare REFERENCE_DIR NEW_DIR SHEET_DIR [--all]\n");
        return exitBadArguments;
    }
    const fs::path references = argv[1];
    const fs::path fresh = argv[2];
    const fs::path sheets = argv[3];
    const bool printAll = argc == 5;
    std::error_code ignored;
    fs::create_directories(sheets, ignored);

    const std::vector<std::string> names = pngNames(references);
    int failed = 0;
    for (const std::string& name : names) {
        failed += checkFrame(references, fresh, sheets, name, printAll) ? 0 : 1;
    }
    for (const std::string& name : pngNames(fresh)) {
        if (!fs::exists(references / name)) {
            std::printf("%s: rendered but has no reference (run make goldens after a deliberate "
                        "change)\n",
                        name.c_str());
            ++failed;
        }
    }
    std::printf("%d of %zu golden frames differ\n", failed, names.size());
    return failed == 0 && !names.empty() ? 0 : exitDiffers;
}
