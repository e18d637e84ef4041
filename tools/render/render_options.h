// The command line of glasswind-render: which of the four jobs to do, and how.
#pragma once

#include <cstdint>
#include <string>

enum class RenderMode { help, still, frames, video, bench };

constexpr int defaultWidth = 800;
constexpr int defaultHeight = 450;
constexpr int defaultBenchFrames = 120;
constexpr int minSide = 1;
constexpr int maxSide = 16384;
constexpr int minFps = 1;
constexpr int maxFps = 1000; // idle times are whole milliseconds
constexpr int minBenchFrames = 1;
constexpr int maxBenchFrames = 100000;

struct RenderOptions {
    RenderMode mode = RenderMode::help;
    int32_t atMs = 0;
    int32_t fromMs = 0;
    int32_t toMs = 0;
    int fps = 0;
    int width = defaultWidth;
    int height = defaultHeight;
    int benchFrames = defaultBenchFrames;
    std::string output; // the PNG file, the frame folder or the video file
};

struct ParsedArgs {
    bool ok = false;
    RenderOptions options;
    std::string error; // one line, without the program name
};

ParsedArgs parseRenderArgs(int argc, const char* const* argv);

// The --help text.
extern const char* const renderUsage;
