// glasswind-render: the demo's frames from a steady clock, as PNGs, a video, or timings.
#include "app/clock.h"
#include "app/music.h"
#include "atomic_file.h"
#include "bench_stats.h"
#include "direction/timeline.h"
#include "frame_driver.h"
#include "offscreen.h"
#include "platform/audio_decode.h"
#include "png_output.h"
#include "progress.h"
#include "render_options.h"
#include "sound_file.h"
#include "sound_track.h"
#include "tool_platform.h"
#include "video_pipe.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;
constexpr double progressIntervalSeconds = 0.5;
constexpr int frameNameSize = 32;
const char* const dataFolder = "data";
const char* const fallbackPath = "/usr/local/bin:/usr/bin:/bin";

// Ends the tool with one line, leaving no half-written output and no ffmpeg behind.
[[noreturn]] void fail(int code, const std::string& message)
{
    abortVideoPipe();
    removeAllPending();
    std::fprintf(stderr, "glasswind-render: %s\n", message.c_str());
    std::exit(code);
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Progress on standard error: rewritten in place on a terminal, a line at a time otherwise.
Clock::time_point progressStart;
Clock::time_point lastProgress;

void startProgress()
{
    progressStart = Clock::now();
    lastProgress = progressStart;
}

void showProgress(int64_t done, int64_t total)
{
    const bool finished = done == total;
    if (!finished && std::chrono::duration<double>(Clock::now() - lastProgress).count() <
                         progressIntervalSeconds) {
        return;
    }
    lastProgress = Clock::now();
    const std::string line = formatProgress(done, total, secondsSince(progressStart));
    if (isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "\r%s\033[K%s", line.c_str(), finished ? "\n" : "");
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void startDemo(const RenderOptions& options)
{
    std::string error;
    if (!startDemoOffscreen(options.width, options.height, options.samples, &error)) {
        fail(exitFailure, error);
    }
}

void renderStill(const RenderOptions& options)
{
    std::string error;
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    startDemo(options);
    const FrameSchedule schedule = scheduleAt(options.atMs, steadyFps, options.motionBlur);
    replayBefore(schedule);
    std::vector<uint8_t> rgb;
    drawOutputFrame(schedule, 0, &rgb);
    if (!writePngRgb(output.stream, options.width, options.height, rgb)) {
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
    startDemo(options);
    const FrameSchedule schedule = scheduleRange(options.fromMs, options.toMs, options.fps, options.motionBlur);
    replayBefore(schedule);
    const int64_t total = outputFrameCount(schedule);
    std::vector<uint8_t> rgb;
    startProgress();
    for (int64_t k = 0; k < total; ++k) {
        drawOutputFrame(schedule, k, &rgb);
        char name[frameNameSize];
        std::snprintf(name, sizeof name, "/frame_%06lld.png", static_cast<long long>(k));
        if (!savePng(options.output + name, options.width, options.height, rgb, &error)) {
            fail(exitFailure, error);
        }
        showProgress(k + 1, total);
    }
}

// Each listed moment exactly as --at draws it, all in this one process: the clock
// starts afresh for each, so the pulses and the state carried from the frame
// before are those of a run from time 0.
void renderMoments(const RenderOptions& options)
{
    std::string error;
    std::ifstream list(options.momentsFile);
    std::stringstream text;
    text << list.rdbuf();
    std::vector<int32_t> moments;
    if (!list || !parseMomentList(text.str(), &moments, &error)) {
        fail(exitFailure, "--moments '" + options.momentsFile + "': " +
                              (error.empty() ? "cannot be read" : error));
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
        resetClock();
        const FrameSchedule schedule = scheduleAt(atMs, steadyFps, options.motionBlur);
        replayBefore(schedule);
        drawOutputFrame(schedule, 0, &rgb);
        char name[frameNameSize];
        std::snprintf(name, sizeof name, "/%06d.png", static_cast<int>(atMs));
        if (!savePng(options.output + name, options.width, options.height, rgb, &error)) {
            fail(exitFailure, error);
        }
        showProgress(k + 1, total);
    }
}

bool writeSoundTrack(const std::vector<int16_t>& track, PendingFile* file, std::string* error)
{
    if (!openScratch("glasswind-render-sound.raw", file, error)) {
        return false;
    }
    // 16-bit little-endian, whatever this machine's byte order.
    constexpr size_t bytesPerSample = 2;
    constexpr unsigned lowByte = 0xFF;
    constexpr unsigned bitsPerByte = 8;
    std::vector<uint8_t> bytes(track.size() * bytesPerSample);
    for (size_t i = 0; i < track.size(); ++i) {
        const uint16_t sample = static_cast<uint16_t>(track[i]);
        bytes[bytesPerSample * i] = static_cast<uint8_t>(sample & lowByte);
        bytes[bytesPerSample * i + 1] = static_cast<uint8_t>(sample >> bitsPerByte);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file->stream) == bytes.size();
    const bool closed = std::fclose(file->stream) == 0;
    file->stream = nullptr;
    if (!written || !closed) {
        *error = "cannot write the sound track to '" + file->tempPath + "'";
        abandonPending(file);
        return false;
    }
    return true;
}

std::vector<int16_t> decodedMusic()
{
    std::vector<int16_t> music;
    int errorCode = 0;
    if (!decodeMusicFile(musicFilePath, soundTrackRate, &music, &errorCode)) {
        std::fprintf(stderr,
                     "glasswind-render: %s did not decode (audio error %d); the sound track is "
                     "silent\n",
                     musicFilePath, errorCode);
        music.clear();
    }
    return music;
}

// The sound under the frames of the range, placed where a steady run starts the music.
std::vector<int16_t> soundForRange(const RenderOptions& options, int64_t frames)
{
    // With motion blur the run goes at the sub-frame rate, and so does the music's start.
    const MusicStart musicStart = findMusicStart(options.toMs, options.fps * options.motionBlur);
    return placeSoundTrack(decodedMusic(), musicStart, firstIdleCallFrom(options.fromMs, options.fps), frames,
                           options.fps, soundTrackRate);
}

// The sound track alone, as long as a video of the same range and rate; no picture
// is drawn, so no display is needed.
void renderSound(const RenderOptions& options)
{
    std::string error;
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    installToolPlatform(nullptr);
    const FrameSchedule schedule = scheduleRange(options.fromMs, options.toMs, options.fps);
    const std::vector<int16_t> track = soundForRange(options, static_cast<int64_t>(schedule.outputMs.size()));
    if (!writeSoundFile(track, &output, &error) || !commitPending(&output, &error)) {
        fail(exitFailure, error);
    }
}

// ffmpeg's messages name the temporary file; the user knows the final name.
std::string namingFinal(std::string message, const PendingFile& output)
{
    for (size_t at = message.find(output.tempPath); at != std::string::npos;
         at = message.find(output.tempPath, at + output.finalPath.size())) {
        message.replace(at, output.tempPath.size(), output.finalPath);
    }
    return message;
}

void renderVideo(const RenderOptions& options)
{
    std::string error;
    VideoJob job;
    const char* searchPath = std::getenv("PATH");
    if (!findOnPath("ffmpeg", searchPath != nullptr ? searchPath : fallbackPath, &job.ffmpegPath)) {
        fail(exitFailure, std::string("ffmpeg was not found on the PATH; install the Debian "
                                      "package ") +
                              ffmpegPackage + " (apt-get install " + ffmpegPackage + ")");
    }
    PendingFile output;
    if (!openPending(options.output, &output, &error)) {
        fail(exitFailure, error);
    }
    std::fclose(output.stream); // ffmpeg writes it
    output.stream = nullptr;

    startDemo(options);
    const FrameSchedule schedule = scheduleRange(options.fromMs, options.toMs, options.fps, options.motionBlur);
    const int64_t total = outputFrameCount(schedule);
    const std::vector<int16_t> track = soundForRange(options, total);
    PendingFile sound;
    if (!writeSoundTrack(track, &sound, &error)) {
        fail(exitFailure, error);
    }

    job.outputPath = output.tempPath;
    job.audioPath = sound.tempPath;
    job.width = options.width;
    job.height = options.height;
    job.fps = options.fps;
    job.format = options.video;
    if (!startVideoPipe(job, &error)) {
        fail(exitFailure, error);
    }

    replayBefore(schedule);
    std::vector<uint8_t> rgb;
    startProgress();
    for (int64_t k = 0; k < total; ++k) {
        drawOutputFrame(schedule, k, &rgb);
        if (!sendVideoFrame(rgb, &error)) {
            fail(exitFailure, namingFinal(error, output));
        }
        showProgress(k + 1, total);
    }
    if (!finishVideoPipe(&error)) {
        fail(exitFailure, namingFinal(error, output));
    }
    abandonPending(&sound);
    if (!commitPending(&output, &error)) {
        fail(exitFailure, error);
    }
}

void runBench(const RenderOptions& options)
{
    startDemo(options);
    std::vector<BenchRow> rows;
    const int64_t total = static_cast<int64_t>(sceneCount) * options.benchFrames;
    int64_t done = 0;
    startProgress();
    for (int scene = 0; scene < sceneCount; ++scene) {
        std::vector<double> frameMs;
        for (int32_t timeMs : spreadFrameTimes(sceneSpan(scene), options.benchFrames)) {
            const Clock::time_point start = Clock::now();
            drawFrameAt(timeMs);
            waitForPicture();
            frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            showProgress(++done, total);
        }
        rows.push_back(summariseScene(scene, frameMs));
    }
    std::fputs(formatBenchTable(rows, options.width, options.height).c_str(), stdout);
}

// One line a row of the demo's own shot table; the last row has no end.
void printShotTable()
{
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow r = shotTableRow(row);
        const long from = row == 0 ? 0L : static_cast<long>(r.fromMs);
        const long to = row == shotTableRows - 1 ? static_cast<long>(lastShownMs) : static_cast<long>(r.toMs);
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
        std::fputs(renderUsage, stdout);
        return 0;
    }
    if (options.mode == RenderMode::shotTable) {
        printShotTable();
        return 0;
    }

    // The demo reads its images and music from data/ in the working directory.
    struct stat info;
    if (stat(dataFolder, &info) != 0 || !S_ISDIR(info.st_mode)) {
        fail(exitFailure, "no data/ folder here; run it from the repository root, where the demo "
                          "finds its images and music");
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
    case RenderMode::shotTable: break;
    }
    return 0;
}
