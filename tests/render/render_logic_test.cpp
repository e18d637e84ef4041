// The render tool's pure parts: steady schedule, sound placement, progress text,
// bench figures and the ffmpeg command.
#include "bench_stats.h"
#include "ffmpeg_command.h"
#include "app/steady_clock.h"
#include "progress.h"
#include "render_jobs.h"
#include "render_modes.h"
#include "render_options.h"
#include "sample_counts.h"
#include "sound_track.h"
#include "video_codecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(SteadySchedule, IdleTimesAreWholeMillisecondsOfA60HzRun)
{
    EXPECT_EQ(steadyIdleTimeMs(1, 60), 16);
    EXPECT_EQ(steadyIdleTimeMs(2, 60), 33);
    EXPECT_EQ(steadyIdleTimeMs(300, 60), 5000);
    EXPECT_EQ(steadyIdleTimeMs(301, 60), 5016);
    EXPECT_EQ(steadyIdleTimeMs(11760, 60), 196000);
    EXPECT_EQ(firstIdleCallFrom(5000, 60), 300);
    EXPECT_EQ(firstIdleCallFrom(5001, 60), 301);
    EXPECT_EQ(firstIdleCallFrom(0, 60), 0);
}

TEST(SteadySchedule, AtReplaysEveryTimeBelowThenDrawsTheTimeItself)
{
    const FrameSchedule onGrid = scheduleAt(5000, 60);
    ASSERT_EQ(onGrid.replayMs.size(), 300u);
    EXPECT_EQ(onGrid.replayMs.front(), 0);
    EXPECT_EQ(onGrid.replayMs.back(), 4983);
    EXPECT_EQ(onGrid.outputMs, std::vector<int32_t>{5000});

    const FrameSchedule offGrid = scheduleAt(61880, 60);
    EXPECT_EQ(offGrid.replayMs.back(), 61866);
    EXPECT_EQ(offGrid.outputMs, std::vector<int32_t>{61880});

    const FrameSchedule start = scheduleAt(0, 60);
    EXPECT_TRUE(start.replayMs.empty());
    EXPECT_EQ(start.outputMs, std::vector<int32_t>{0});
}

TEST(SteadySchedule, MotionBlurRunsAtTheSubFrameRateAndGroupsItsCalls)
{
    // 1000 to 1033 ms at 60 fps is two frames (1000, 1016); with 4 sub-frames the run goes at 240 fps:
    // calls 240 to 247, at floor(n x 1000 / 240) ms, after the 240 calls below 1000 ms.
    const FrameSchedule range = scheduleRange(1000, 1033, 60, 4);
    EXPECT_EQ(outputFrameCount(range), 2);
    EXPECT_EQ(range.outputMs, (std::vector<int32_t>{1000, 1004, 1008, 1012, 1016, 1020, 1025, 1029}));
    ASSERT_EQ(range.replayMs.size(), 240u);
    EXPECT_EQ(range.replayMs.back(), 995);

    // Off the grid, --at starts its sub-frames at the time itself: 61880 + 0, 4, 8, 12,
    // after the 240 fps calls below it (ceil(61880 x 0.24) = 14852 of them).
    const FrameSchedule at = scheduleAt(61880, 60, 4);
    EXPECT_EQ(outputFrameCount(at), 1);
    EXPECT_EQ(at.outputMs, (std::vector<int32_t>{61880, 61884, 61888, 61892}));
    ASSERT_EQ(at.replayMs.size(), 14852u);
    EXPECT_EQ(at.replayMs.back(), 61879);

    // Without motion blur, the schedules are those of a plain 60 fps run.
    EXPECT_EQ(scheduleRange(1000, 1033, 60).outputMs, (std::vector<int32_t>{1000, 1016}));
    EXPECT_EQ(outputFrameCount(scheduleRange(0, 196000, 30, 16)), 5880);
}

TEST(Jobs, ARangeSplitsIntoContiguousChunksOfNearlyEqualSize)
{
    struct Case {
        int64_t first, end;
        int jobs;
        std::vector<std::pair<int64_t, int64_t>> chunks;
    };
    const Case cases[] = {
        {0, 120, 2, {{0, 60}, {60, 120}}},
        {1140, 1200, 4, {{1140, 1155}, {1155, 1170}, {1170, 1185}, {1185, 1200}}},
        {10, 17, 3, {{10, 13}, {13, 15}, {15, 17}}},
        {5, 7, 4, {{5, 6}, {6, 7}}}, // never an empty chunk
        {0, 11760, 1, {{0, 11760}}},
        {3, 3, 2, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int64_t, int64_t>> got;
        for (const FrameChunk& chunk : splitFrames(c.first, c.end, c.jobs)) {
            got.push_back({chunk.first, chunk.end});
        }
        EXPECT_EQ(got, c.chunks) << c.first << ".." << c.end << " in " << c.jobs;
    }
    // auto is a job a core, never more jobs than frames; llvmpipe's threads are shared out.
    EXPECT_EQ(jobCount(jobsAuto, 2, 1000), 2);
    EXPECT_EQ(jobCount(jobsAuto, 8, 3), 3);
    EXPECT_EQ(jobCount(4, 2, 1000), 4);
    EXPECT_EQ(jobCount(4, 2, 0), 1);
    EXPECT_EQ(threadsPerJob(2, 2), 1);
    EXPECT_EQ(threadsPerJob(8, 3), 2);
    EXPECT_EQ(threadsPerJob(2, 4), 1);
}

// The frames an export of [fromMs, toMs) draws, as the tool counts them.
int64_t framesInRange(int32_t fromMs, int32_t toMs, int fps)
{
    RenderOptions options;
    options.fromMs = fromMs;
    options.toMs = toMs;
    options.fps = fps;
    const FrameChunk range = rangeFrames(options);
    return range.end - range.first;
}

TEST(SteadySchedule, RangesCountTheFramesOfTheRateAndSplitWithoutGapOrOverlap)
{
    EXPECT_EQ(framesInRange(0, 2000, 60), 120);
    EXPECT_EQ(framesInRange(0, 2000, 30), 60);
    EXPECT_EQ(framesInRange(4900, 5400, 30), 15);
    EXPECT_EQ(framesInRange(0, 196000, 60), 11760);
    for (int fps : {24, 25, 30, 60, 144}) {
        for (int32_t cut : {1, 17, 4999, 5000, 5017, 61880}) {
            EXPECT_EQ(framesInRange(0, cut, fps) + framesInRange(cut, 70000, fps), framesInRange(0, 70000, fps))
                << fps << " fps, cut at " << cut;
        }
    }

    const FrameSchedule range = scheduleRange(1000, 1050, 60);
    EXPECT_EQ(range.outputMs, (std::vector<int32_t>{1000, 1016, 1033}));
    EXPECT_EQ(range.replayMs.back(), 983);
    // Any kept frame has the history --at gives it: the frames of a range are a real run's.
    const FrameSchedule second = scheduleAt(1016, 60);
    std::vector<int32_t> history = range.replayMs;
    history.push_back(1000);
    EXPECT_EQ(second.replayMs, history);
}

TEST(SteadySchedule, SceneSpansComeFromTheDemosSceneTable)
{
    EXPECT_EQ(sceneSpan(0).fromMs, 0);
    EXPECT_EQ(sceneSpan(0).toMs, 5000);
    EXPECT_EQ(sceneSpan(4).fromMs, 61880);
    EXPECT_EQ(sceneSpan(4).toMs, 90330);
    EXPECT_EQ(sceneSpan(9).fromMs, 189880);
    EXPECT_EQ(sceneSpan(9).toMs, 196001);

    const std::vector<int32_t> times = spreadFrameTimes(sceneSpan(9), 120);
    ASSERT_EQ(times.size(), 120u);
    EXPECT_EQ(times.front(), 189880);
    EXPECT_LE(times.back(), 196000);
    EXPECT_GT(times.back(), 195900);
}

std::vector<int16_t> rampMusic(int frames)
{
    std::vector<int16_t> music;
    for (int i = 0; i < frames; ++i) {
        music.push_back(static_cast<int16_t>(i + 1)); // left: frame number plus one
        music.push_back(static_cast<int16_t>(-(i + 1)));
    }
    return music;
}

// The music frame (plus one) under output frame i, 0 for silence.
int heard(const std::vector<int16_t>& track, int64_t i) { return track[static_cast<size_t>(i * 2)]; }

TEST(SoundTrack, MusicStartsAtTheIdleCallWithTheByteOffsetAndLoops)
{
    // A steady 60 Hz run starts the music at 5016 ms and hands over 5016 bytes.
    const MusicStart start{true, 5016, 5016};
    const std::vector<int16_t> music = rampMusic(20000);
    const int64_t frames = 600; // 0 to 10 s
    const std::vector<int16_t> track = placeSoundTrack(music, start, 0, frames, 60, 44100);
    ASSERT_EQ(track.size(), static_cast<size_t>(10 * 44100 * 2));

    const int64_t startSample = 5016 * 44100 / 1000; // 221205
    EXPECT_EQ(heard(track, startSample - 1), 0);
    EXPECT_EQ(heard(track, startSample), 1254 + 1); // 5016 bytes of 16-bit stereo
    EXPECT_EQ(track[static_cast<size_t>(startSample * 2 + 1)], -(1254 + 1));
    // After the last music frame it starts over from its first.
    const int64_t wrap = startSample + (20000 - 1254);
    EXPECT_EQ(heard(track, wrap - 1), 20000);
    EXPECT_EQ(heard(track, wrap), 1);
}

TEST(SoundTrack, ARangeHearsWhatTheWholeRunHearsAtTheSameMoment)
{
    const MusicStart start{true, 5016, 5016};
    const std::vector<int16_t> music = rampMusic(30000);
    const std::vector<int16_t> whole = placeSoundTrack(music, start, 0, 720, 60, 44100);
    // Frames from 10 s (idle call 600) on.
    const std::vector<int16_t> part = placeSoundTrack(music, start, 600, 120, 60, 44100);
    ASSERT_EQ(part.size(), static_cast<size_t>(2 * 44100 * 2));
    for (int64_t i : {0, 1, 44099, 88199}) {
        EXPECT_EQ(heard(part, i), heard(whole, 441000 + i)) << i;
    }
}

TEST(SoundTrack, SilentWithoutMusicOrBeforeItsStart)
{
    const std::vector<int16_t> noMusic = placeSoundTrack({}, MusicStart{true, 5016, 5016}, 0, 600, 60, 44100);
    const std::vector<int16_t> notStarted = placeSoundTrack(rampMusic(10), MusicStart{}, 0, 60, 60, 44100);
    for (const auto* track : {&noMusic, &notStarted}) {
        for (int16_t sample : *track) {
            ASSERT_EQ(sample, 0);
        }
    }
    EXPECT_EQ(notStarted.size(), static_cast<size_t>(44100 * 2));
    // 25 fps: 1764 samples a frame.
    EXPECT_EQ(placeSoundTrack({}, MusicStart{}, 0, 50, 25, 44100).size(), static_cast<size_t>(88200 * 2));
}

TEST(Progress, ShowsFramesRateAndTimeLeft)
{
    EXPECT_EQ(formatDuration(0.0), "0:00");
    EXPECT_EQ(formatDuration(59.2), "1:00");
    EXPECT_EQ(formatDuration(3599.0), "59:59");
    EXPECT_EQ(formatDuration(3723.0), "1:02:03");
    EXPECT_EQ(formatProgress(0, 100, 0.0), "frame 0/100 (0%)");
    EXPECT_EQ(formatProgress(25, 100, 5.0), "frame 25/100 (25%), 5.0 fps, 0:15 left");
    EXPECT_EQ(formatProgress(100, 100, 5.0), "frame 100/100 (100%), 20.0 fps, 0:00 left");
}

TEST(Bench, MedianWorstAndRatePerSceneAndTheWorstScene)
{
    const BenchRow odd = summariseScene(3, {5.0, 1.0, 3.0});
    EXPECT_EQ(odd.frames, 3);
    EXPECT_DOUBLE_EQ(odd.medianMs, 3.0);
    EXPECT_DOUBLE_EQ(odd.worstMs, 5.0);
    EXPECT_DOUBLE_EQ(odd.fps, 3 * 1000.0 / 9.0);
    EXPECT_DOUBLE_EQ(summariseScene(0, {4.0, 1.0, 2.0, 8.0}).medianMs, 3.0);

    std::vector<BenchRow> rows;
    for (int scene = 0; scene < 10; ++scene) {
        rows.push_back(summariseScene(scene, {scene == 6 ? 40.0 : 10.0}));
    }
    EXPECT_EQ(worstScene(rows).scene, 6);
}

// The first "option value" pair of a space-separated list that args lack side by side, "" if none.
std::string missingPair(const std::vector<std::string>& args, const std::string& pairs)
{
    std::istringstream words(pairs);
    for (std::string option, value; words >> option >> value;) {
        bool found = false;
        for (size_t i = 0; i + 1 < args.size(); ++i) {
            found = found || (args[i] == option && args[i + 1] == value);
        }
        if (!found) {
            return option + " " + value;
        }
    }
    return "";
}

TEST(Ffmpeg, FramesOnStandardInputTheSoundTrackFromItsFileAndEachCodecsSettings)
{
    struct Case {
        const char* codec;
        int quality, chroma;
        const char* path;
        int width, height;
        const char* pairs; // each option with the value that must follow it
        bool faststart;
    };
    constexpr int q = qualityNotGiven, c = chromaNotGiven; // the codec's own
    const Case cases[] = {
        {"", q, c, "out/demo.mp4", 1280, 720,
         "-vf scale=out_color_matrix=bt709:out_range=tv,format=yuv420p,"
         "setparams=range=tv:color_primaries=bt709:color_trc=bt709:colorspace=bt709 "
         "-c:v libx264 -crf 18 -pix_fmt yuv420p -c:a aac -f mp4",
         true},
        {"h264", 23, 444, "demo.mkv", 640, 360,
         "-vf scale=out_color_matrix=bt601:out_range=tv,format=yuv444p,"
         "setparams=range=tv:color_primaries=smpte170m:color_trc=bt709:colorspace=smpte170m "
         "-crf 23 -pix_fmt yuv444p -f matroska",
         false},
        {"hevc", q, c, "demo", 1920, 1080, "-c:v libx265 -crf 20 -tag:v hvc1 -f mp4", true},
        {"ffv1", q, c, "demo.MKV", 1280, 720, "-c:v ffv1 -pix_fmt yuv444p -c:a flac -f matroska", false},
        {"prores", 9, c, "demo.mov", 1280, 720,
         "-c:v prores_ks -profile:v 3 -qscale:v 9 -pix_fmt yuv422p10le -c:a pcm_s16le -f mov", true},
        {"prores", q, 444, "demo.mov", 1280, 720, "-profile:v 4 -pix_fmt yuv444p10le", true},
    };
    for (const Case& k : cases) {
        VideoJob job{
            "/usr/bin/ffmpeg", "out/.demo.part-abc123", "/tmp/sound.raw", k.width, k.height, 30, {}, false, ""};
        std::string error;
        ASSERT_TRUE(chooseVideoFormat(k.codec, k.quality, k.chroma, k.path, k.width, k.height, &job.format, &error))
            << k.path << ": " << error;
        const std::vector<std::string> args = ffmpegArguments(job);
        EXPECT_EQ(args.front(), "/usr/bin/ffmpeg");
        EXPECT_EQ(args.back(), job.outputPath) << "written to the temporary name";
        const std::string size = std::to_string(k.width) + "x" + std::to_string(k.height);
        EXPECT_EQ(missingPair(args, "-pix_fmt rgb24 -video_size " + size +
                                        " -framerate 30 -i pipe:0 -ar 44100 -i /tmp/sound.raw " + k.pairs),
                  "")
            << k.codec << " " << k.path;
        EXPECT_EQ(missingPair(args, "-movflags +faststart").empty(), k.faststart) << k.path;
    }
}

TEST(VideoFormats, MismatchesAreRefusedWithOneLineNamingWhatWouldDo)
{
    struct Case {
        const char* codec;
        int quality;
        int chroma;
        const char* path;
        int width, height;
        const char* error;
    };
    const Case cases[] = {
        {"ffv1", qualityNotGiven, chromaNotGiven, "demo.mp4", 640, 360, "--codec ffv1 is written as .mkv, not .mp4"},
        {"prores", qualityNotGiven, chromaNotGiven, "a.b/demo.MKV", 640, 360,
         "--codec prores is written as .mov, not .mkv"},
        {"vp9", qualityNotGiven, chromaNotGiven, "demo.mkv", 640, 360, "--codec is one of h264, hevc, ffv1, prores"},
        {"ffv1", 3, chromaNotGiven, "demo.mkv", 640, 360, "--quality does not apply to ffv1, which is lossless"},
        {"h264", 52, chromaNotGiven, "demo.mp4", 640, 360, "--quality for h264 is 0 (best) to 51, not 52"},
        {"prores", 0, chromaNotGiven, "demo.mov", 640, 360, "--quality for prores is 1 (best) to 32, not 0"},
        {"h264", qualityNotGiven, 422, "demo.mp4", 640, 360, "--chroma for h264 is 420 or 444, not 422"},
        {"", qualityNotGiven, chromaNotGiven, "demo.mp4", 641, 360, "in 4:2:0 needs an even width and height"},
        {"prores", qualityNotGiven, chromaNotGiven, "demo.mov", 641, 360, "in 4:2:2 needs an even width"},
    };
    for (const Case& c : cases) {
        VideoFormat format;
        std::string error;
        EXPECT_FALSE(chooseVideoFormat(c.codec, c.quality, c.chroma, c.path, c.width, c.height, &format, &error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    // An odd size is fine where nothing is halved, and in 4:2:2 rows need not pair.
    VideoFormat format;
    std::string error;
    EXPECT_TRUE(chooseVideoFormat("h264", qualityNotGiven, 444, "demo.mp4", 641, 361, &format, &error)) << error;
    EXPECT_TRUE(chooseVideoFormat("prores", qualityNotGiven, chromaNotGiven, "demo.mov", 640, 361, &format, &error));
}

TEST(SampleCounts, AsTheDemoAsksOrExactlyWhatWasAskedIfTheDriverOffersIt)
{
    struct Case {
        int wanted;
        std::vector<int> offered;
        int chosen; // -1: refused
    };
    const Case cases[] = {
        {samplesAsTheDemoAsks, {8, 4, 2}, 4},
        {samplesAsTheDemoAsks, {2}, 2},
        {samplesAsTheDemoAsks, {}, 0},
        {samplesAsTheDemoAsks, {16, 8}, 0},
        {8, {8, 4, 2}, 8},
        {0, {8, 4, 2}, 0},
        {2, {2, 4}, 2},
        {3, {8, 4, 2}, -1},
        {16, {8, 4, 2}, -1},
        {4, {}, -1},
    };
    for (const Case& c : cases) {
        int chosen = -2;
        std::string error;
        const bool ok = chooseSampleCount(c.wanted, c.offered, &chosen, &error);
        EXPECT_EQ(ok, c.chosen >= 0) << c.wanted;
        if (ok) {
            EXPECT_EQ(chosen, c.chosen) << c.wanted;
        }
    }
    std::string error;
    int chosen = 0;
    EXPECT_FALSE(chooseSampleCount(3, {8, 2, 4}, &chosen, &error));
    EXPECT_EQ(error, "--samples 3 is not offered by this OpenGL driver; it offers 0, 2, 4, 8");
}

TEST(VideoFormats, HdIsBt709AndSmallerPicturesBt601)
{
    // Players assume BT.601 for untagged video up to 576 rows under 1280 wide.
    const struct {
        int width, height;
        const char* space;
    } sizes[] = {{320, 180, "smpte170m"}, {720, 576, "smpte170m"}, {1024, 576, "smpte170m"}, {720, 578, "bt709"},
                 {1280, 720, "bt709"},    {1280, 540, "bt709"},    {3840, 2160, "bt709"}};
    for (const auto& size : sizes) {
        EXPECT_STREQ(colourForSize(size.width, size.height).space, size.space) << size.width << "x" << size.height;
    }
}

TEST(Ffmpeg, FoundOnlyAsAnExecutableFileOnThePath)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("glasswind-path-" + std::to_string(getpid()));
    fs::create_directories(dir / "folder" / "ffmpeg");
    for (const char* file : {"plain", "real"}) {
        fs::create_directories(dir / file);
        std::ofstream(dir / file / "ffmpeg");
    }
    fs::permissions(dir / "real" / "ffmpeg", fs::perms::owner_all);
    const std::string folders = "/nonexistent:" + (dir / "folder").string() + ":" + (dir / "plain").string();
    std::string found;
    EXPECT_TRUE(findOnPath("ffmpeg", folders + ":" + (dir / "real").string(), &found));
    EXPECT_EQ(found, (dir / "real" / "ffmpeg").string());
    EXPECT_FALSE(findOnPath("ffmpeg", folders, &found));
    fs::remove_all(dir);
}

} // namespace
