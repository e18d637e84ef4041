// The command line of glasswind-render: which of the four jobs to do, and how.
#pragma once

#include "png_output.h"
#include "sample_counts.h"
#include "video_codecs.h"

#include <cstdint>
#include <string>
#include <vector>

enum class RenderMode { help, version, still, frames, video, sound, bench, shotTable, moments };

constexpr int defaultWidth = 800;
constexpr int defaultHeight = 450;
constexpr int defaultBenchFrames = 120;
constexpr int minSide = 1;
constexpr int maxSide = 16384;
constexpr int minFps = 1;
constexpr int maxFps = 1000; // idle times are whole milliseconds
constexpr int minBenchFrames = 1;
constexpr int maxBenchFrames = 100000;
constexpr int maxSamples = 64;
constexpr int minMotionBlur = 2;
constexpr int maxMotionBlur = 16;

struct RenderOptions {
    RenderMode mode = RenderMode::help;
    int32_t atMs = 0;
    int32_t fromMs = 0;
    int32_t toMs = 0;
    int fps = 0;
    int width = defaultWidth;
    int height = defaultHeight;
    int benchFrames = defaultBenchFrames;
    int samples = samplesAsTheDemoAsks; // --samples: per pixel, 0 for none
    int motionBlur = 1;                 // --motion-blur: sub-frames averaged into each frame
    int pngLevel = defaultPngLevel;     // --png-level: zlib's, for the PNG files
    int jobs = 1;                       // --jobs: processes a range is split over (0: a core each)
    std::string output;                 // the PNG file, the frame folder, the video or the sound file
    std::string momentsFile;            // --moments: one demo time a line, each drawn as --at draws it
    VideoFormat video;                  // --video: codec, container, quality, chroma and colour
};

struct ParsedArgs {
    bool ok = false;
    RenderOptions options;
    std::string error; // one line, without the program name
};

ParsedArgs parseRenderArgs(int argc, const char* const* argv);

// The demo times listed in a --moments file: one whole number of ms a line, each
// from 0 to demoEndMs; '#' starts a comment and blank lines are skipped. False,
// with a one-line error naming the line, for anything else.
bool parseMomentList(const std::string& text, std::vector<int32_t>* moments, std::string* error);

// The --help text: how each mode is asked for, then every option with its help.
std::string renderUsage();
// "glasswind-render VERSION", as --version prints it.
std::string renderVersion();
