// glasswind-render: the demo's frames from a steady clock, as PNGs, a video, or timings.
#include "app/clock.h"
#include "app/music.h"
#include "app/steady_clock.h"
#include "atomic_file.h"
#include "bench_stats.h"
#include "direction/timeline.h"
#include "frame_driver.h"
#include "offscreen.h"
#include "platform/audio_decode.h"
#include "png_output.h"
#include "png_queue.h"
#include "progress.h"
#include "render_modes.h"
#include "render_options.h"
#include "sound_file.h"
#include "sound_track.h"
#include "video_pipe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int frameNameSize = 32;
const char* const dataFolder = "data";

void renderStill(const RenderOptions& options)
{
    std::string error;
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    startDemo(options);
    std::vector<uint8_t> rgb;
    drawMomentPicture(options.atMs, options.motionBlur, &rgb);
    if (!writePngRgb(output.stream, options.width, options.height, rgb, options.pngLevel)) {
        fail(exitFailure, "cannot write '" + options.output + "': PNG encoding failed");
    }
    if (!commitPending(&output, &error)) {
        fail(exitFailure, error);
    }
}

void renderFrames(const RenderOptions& options)
{
    std::string error;
    if (!ensureFolder(options.output, &error)) {
        fail(exitFailure, error);
    }
    const int64_t rangeFirst = rangeFrames(options).first;
    // Each process compresses and writes its last frame while it draws the next.
    const KeepFrame save = [&options, rangeFirst](int64_t frame, const std::vector<uint8_t>& rgb) {
        char name[frameNameSize];
        std::snprintf(name, sizeof name, "/frame_%06lld.png", static_cast<long long>(frame - rangeFirst));
        std::vector<uint8_t> handed = rgb;
        std::string saveError;
        if (!queuePng(options.output + name, &handed, &saveError)) {
            fail(exitFailure, saveError);
        }
    };
    const auto drawAndWrite = [&options, &save](const FrameChunk& chunk) {
        startPngQueue(options.width, options.height, options.pngLevel);
        drawChunk(options, chunk, save);
        std::string writeError;
        if (!finishPngQueue(&writeError)) {
            fail(exitFailure, writeError);
        }
    };
    const std::vector<FrameChunk> chunks = rangeChunks(options);
    if (chunks.size() > 1) {
        const FrameChunk range = rangeFrames(options);
        drawInJobs(chunks, range.end - range.first,
                   [&drawAndWrite](const FrameChunk& chunk, size_t) { drawAndWrite(chunk); });
    } else if (!chunks.empty()) {
        drawAndWrite(chunks.front());
    }
}

// Each listed moment exactly as --at draws it, all in this one process.
void renderMoments(const RenderOptions& options)
{
    std::string error;
    std::ifstream list(options.momentsFile);
    std::stringstream text;
    text << list.rdbuf();
    std::vector<int32_t> moments;
    if (!list || !parseMomentList(text.str(), &moments, &error)) {
        fail(exitFailure, "--moments '" + options.momentsFile + "': " + (error.empty() ? "cannot be read" : error));
    }
    if (!ensureFolder(options.output, &error)) {
        fail(exitFailure, error);
    }
    startDemo(options);
    std::vector<uint8_t> rgb;
    const int64_t total = static_cast<int64_t>(moments.size());
    startProgress();
    for (int64_t k = 0; k < total; ++k) {
        const int32_t atMs = moments[static_cast<size_t>(k)];
        drawMomentPicture(atMs, options.motionBlur, &rgb);
        char name[frameNameSize];
        std::snprintf(name, sizeof name, "/%06d.png", static_cast<int>(atMs));
        if (!savePng(options.output + name, options.width, options.height, rgb, &error, options.pngLevel)) {
            fail(exitFailure, error);
        }
        showProgress(k + 1, total);
    }
}

// The drawing time of each frame, in order, without reading them back, counted on
// the progress line.
std::vector<double> timeFrames(const std::vector<int32_t>& timesMs, int64_t* done, int64_t total)
{
    std::vector<double> frameMs;
    for (int32_t timeMs : timesMs) {
        const Clock::time_point start = Clock::now();
        drawFrameAt(timeMs);
        waitForPicture();
        frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        showProgress(++*done, total);
    }
    return frameMs;
}

// The drawing time of a range's own frames: what an export of the range adds to it is
// the export's overhead.
void benchRange(const RenderOptions& options)
{
    startDemo(options);
    const FrameSchedule schedule = scheduleRange(options.fromMs, options.toMs, options.fps, options.motionBlur);
    replayBefore(schedule);
    const int64_t total = static_cast<int64_t>(schedule.outputMs.size());
    int64_t done = 0;
    startProgress();
    const std::vector<double> frameMs = timeFrames(schedule.outputMs, &done, total);
    const BenchRow row = summariseScene(sceneForTime(options.fromMs), frameMs);
    double drawingMs = 0;
    for (double ms : frameMs) {
        drawingMs += ms;
    }
    std::printf("%d..%d ms at %d fps, %dx%d: %lld frames drawn in %.2f s, median %.2f ms, worst %.2f ms\n",
                static_cast<int>(options.fromMs), static_cast<int>(options.toMs), options.fps, options.width,
                options.height, static_cast<long long>(total), drawingMs / 1000.0, row.medianMs, row.worstMs);
}

void runBench(const RenderOptions& options)
{
    if (options.toMs > options.fromMs) {
        benchRange(options);
        return;
    }
    startDemo(options);
    std::vector<BenchRow> rows;
    const int64_t total = static_cast<int64_t>(sceneCount) * options.benchFrames;
    int64_t done = 0;
    startProgress();
    for (int scene = 0; scene < sceneCount; ++scene) {
        const std::vector<int32_t> times = spreadFrameTimes(sceneSpan(scene), options.benchFrames);
        rows.push_back(summariseScene(scene, timeFrames(times, &done, total)));
    }
    std::fputs(formatBenchTable(rows, options.width, options.height).c_str(), stdout);
}

// One line a row of the demo's own shot table; the last row has no end.
void printShotTable()
{
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow r = shotTableRow(row);
        const long from = row == 0 ? 0L : static_cast<long>(r.fromMs);
        const long to = row == shotTableRows - 1 ? static_cast<long>(demoEndMs) : static_cast<long>(r.toMs);
        std::printf("%d %ld %ld %d\n", row + 1, from, to, r.shot);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const ParsedArgs parsed = parseRenderArgs(argc, argv);
    if (!parsed.ok) {
        fail(exitBadArguments, parsed.error);
    }
    const RenderOptions& options = parsed.options;
    if (options.mode == RenderMode::help) {
        std::fputs(renderUsage().c_str(), stdout);
        return 0;
    }
    if (options.mode == RenderMode::version) {
        std::puts(renderVersion().c_str());
        return 0;
    }
    if (options.mode == RenderMode::shotTable) {
        printShotTable();
        return 0;
    }

    // The demo reads its images and music from data/ in the working directory.
    std::error_code ignored;
    if (!std::filesystem::is_directory(dataFolder, ignored)) {
        fail(exitFailure, "no data/ folder here; run it where the demo's images and music are: the "
                          "repository root, or once installed the folder `man glasswind-render` names");
    }
    removePendingOnSignals();

    switch (options.mode) {
    case RenderMode::still: renderStill(options); break;
    case RenderMode::frames: renderFrames(options); break;
    case RenderMode::video: renderVideo(options); break;
    case RenderMode::sound: renderSound(options); break;
    case RenderMode::bench: runBench(options); break;
    case RenderMode::moments: renderMoments(options); break;
    case RenderMode::help:
    case RenderMode::version:
    case RenderMode::shotTable: break;
    }
    return 0;
}
