// Videos written by glasswind-render --video in each codec, read back with ffprobe and
// decoded as a player would: streams, sizes, frame counts, sound, and colours.
#include "png_read.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string colourKeys = "color_range,color_space,color_primaries,color_transfer";

std::string runAndRead(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, got);
    }
    pclose(pipe);
    return out;
}

// ffprobe's "key=value" lines, key by key.
std::map<std::string, std::string> probeEntries(const std::string& path, const std::string& options)
{
    std::istringstream lines(runAndRead("ffprobe -v error " + options + " -of default=nw=1 '" + path + "'"));
    std::map<std::string, std::string> entries;
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            entries[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return entries;
}

// What ffprobe says of a file's first stream of a type ("v" or "a"), key by key. A colour
// tag the stream leaves unknown is read off the first frame, as a player reads it:
// ffmpeg 7 keeps a ProRes stream's range only in its frames.
std::map<std::string, std::string> probe(const std::string& path, const char* type)
{
    const std::string stream = std::string("-select_streams ") + type + ":0 ";
    std::map<std::string, std::string> entries = probeEntries(path, stream + "-count_frames -show_entries stream");
    if (std::string(type) != "v") {
        return entries;
    }
    const std::map<std::string, std::string> frame =
        probeEntries(path, stream + "-read_intervals %+#1 -show_entries frame=" + colourKeys);
    for (const auto& [key, value] : frame) {
        if (entries[key].empty() || entries[key] == "unknown") {
            entries[key] = value;
        }
    }
    return entries;
}

// A file decoded by ffmpeg with the output options given, the bytes it writes.
std::string decode(const std::string& path, const std::string& output)
{
    return runAndRead("ffmpeg -v error -i '" + path + "' " + output + " -");
}

std::vector<int16_t> samplesOf(const std::string& bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2); // s16le on a little-endian machine
    return samples;
}

class VideoExport : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0) {
            GTEST_SKIP() << "ffmpeg and ffprobe (Debian package ffmpeg) are needed";
        }
        work = fs::temp_directory_path() / ("glasswind-video-" + std::to_string(getpid()));
        fs::create_directories(work);
    }
    void TearDown() override { fs::remove_all(work); }

    // Runs the tool from the repository root; true when it succeeded.
    bool render(const std::string& arguments, std::string* said = nullptr)
    {
        const std::string command = "cd '" GLASSWIND_SOURCE_DIR "' && '" RENDER_BIN "' " + arguments + " 2>&1";
        const std::string out = runAndRead(command + "; echo \"exit=$?\"");
        if (said != nullptr) {
            *said = out;
        }
        return out.find("exit=0") != std::string::npos;
    }
    fs::path work;
};

TEST_F(VideoExport, EachCodecWritesItsContainerSizeFramesAndSound)
{
    struct Case {
        const char* arguments;
        const char* file;
        const char* video; // "key=value" that ffprobe must report, over those of sd below
        const char* audioCodec;
    };
    // Half a second at 60 fps; 320x180 is SD, so BT.601 (smpte170m); 1280x720 is HD.
    // ffmpeg decodes ProRes 4444 as 12-bit whatever it was written from.
    const std::string sd = "width=320 height=180 r_frame_rate=60/1 nb_read_frames=30 color_space=smpte170m "
                           "color_primaries=smpte170m color_transfer=bt709 color_range=tv ";
    const Case cases[] = {
        {"--size 320x180", "clip.mp4", "codec_name=h264 pix_fmt=yuv420p", "aac"},
        {"--codec hevc --size 320x180", "clip.mkv", "codec_name=hevc pix_fmt=yuv420p", "aac"},
        {"--codec ffv1 --size 320x180", "clip.mkv", "codec_name=ffv1 pix_fmt=yuv444p", "flac"},
        {"--codec prores --size 320x180", "clip.mov", "codec_name=prores pix_fmt=yuv422p10le profile=HQ", "pcm_s16le"},
        {"--codec prores --chroma 444 --size 320x180", "clip.mov", "codec_name=prores pix_fmt=yuv444p12le profile=4444",
         "pcm_s16le"},
        {"--chroma 444 --quality 30 --size 1280x720", "hd.mkv",
         "codec_name=h264 pix_fmt=yuv444p width=1280 height=720 color_space=bt709 color_primaries=bt709", "aac"},
    };
    for (const Case& c : cases) {
        const std::string path = (work / c.file).string();
        std::string said;
        ASSERT_TRUE(render("--video '" + path + "' --from 4800 --to 5300 " + c.arguments, &said)) << said;
        std::map<std::string, std::string> wanted;
        std::istringstream words(sd + c.video);
        for (std::string word; words >> word;) {
            wanted[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
        }
        std::map<std::string, std::string> video = probe(path, "v");
        for (const auto& [key, value] : wanted) {
            EXPECT_EQ(video[key], value) << c.arguments << ": " << key;
        }
        EXPECT_EQ(probe(path, "a")["codec_name"], c.audioCodec) << c.arguments;
        // The sound decoded is the video's half second; AAC in Matroska keeps its priming
        // and padding, up to two packets (46 ms).
        const double seconds = decode(path, "-map 0:a -f s16le -ac 2 -ar 44100").size() / (44100.0 * 4);
        EXPECT_NEAR(seconds, 0.5, 0.05) << c.arguments;
        fs::remove(path);
    }
}

TEST_F(VideoExport, MismatchesAreRefusedInOneLineAndWriteNothing)
{
    // Each refusal's own words are the parser's tests'; here, one from the video format,
    // one from the size it needs and one from the option table.
    const char* refused[] = {"--codec ffv1 --video clip.mp4", "--size 321x180 --video clip.mp4",
                             "--codec hevc --at 100 -o clip.png"};
    for (const char* arguments : refused) {
        std::string command = arguments;
        const size_t clip = command.find("clip");
        if (clip != std::string::npos) {
            command.replace(clip, 4, (work / "clip").string());
        }
        std::string said;
        EXPECT_FALSE(render(command, &said)) << arguments;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << "one line and the exit: " << said;
    }
    EXPECT_TRUE(fs::is_empty(work));
}

// Saturated pixels of the reference, and how far the decoded picture is from them.
double meanErrorOverSaturated(const std::vector<uint8_t>& reference, const std::vector<uint8_t>& decoded)
{
    double total = 0;
    long count = 0;
    for (size_t i = 0; i + 2 < reference.size() && i + 2 < decoded.size(); i += 3) {
        const int most = std::max({reference[i], reference[i + 1], reference[i + 2]});
        const int least = std::min({reference[i], reference[i + 1], reference[i + 2]});
        if (most - least > 100) {
            for (int c = 0; c < 3; ++c) {
                total += std::abs(reference[i + c] - decoded[i + c]);
            }
            count += 3;
        }
    }
    return count > 0 ? total / count : 1e9;
}

TEST_F(VideoExport, PlayersShowTheColoursAsRendered)
{
    // The block field at 1280x720: saturated blues, greens and reds. A player converts
    // with the matrix the file is tagged with, and untagged HD as BT.709. Sent through
    // BT.601 untagged, as before, these came back 9.0 levels off on average.
    const std::string reference = (work / "reference.png").string();
    ASSERT_TRUE(render("--at 130000 --size 1280x720 -o '" + reference + "'"));
    int width = 0, height = 0;
    const std::vector<uint8_t> expected = readPngRgb(reference, &width, &height);
    ASSERT_EQ(width, 1280);

    struct Case {
        const char* arguments;
        const char* file;
        double within; // levels, the compression's own error
    };
    const Case cases[] = {{"--chroma 444", "h264.mp4", 7.0}, {"--codec ffv1", "ffv1.mkv", 1.5}};
    for (const Case& c : cases) {
        const std::string path = (work / c.file).string();
        ASSERT_TRUE(render("--video '" + path + "' --from 130000 --to 130050 --size 1280x720 " + c.arguments));
        const std::string space = probe(path, "v")["color_space"];
        const std::string matrix = space == "smpte170m" ? "bt601" : "bt709";
        const std::string bytes =
            decode(path, "-vf scale=in_color_matrix=" + matrix + ":in_range=tv,format=rgb24 -frames:v 1 -f rawvideo");
        const std::vector<uint8_t> got(bytes.begin(), bytes.end());
        ASSERT_EQ(got.size(), expected.size());
        EXPECT_LT(meanErrorOverSaturated(expected, got), c.within) << c.arguments;
    }
}

std::vector<int16_t> readSound(const std::string& path, SF_INFO* info)
{
    *info = SF_INFO{};
    SNDFILE* sound = sf_open(path.c_str(), SFM_READ, info);
    if (sound == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::vector<int16_t> samples(static_cast<size_t>(info->frames * info->channels));
    sf_readf_short(sound, samples.data(), info->frames);
    sf_close(sound);
    return samples;
}

TEST_F(VideoExport, TheSoundAloneIsTheVideosSoundSilentUntilTheMusicStarts)
{
    // 4800 to 5300 ms at 60 fps is 30 frames, 22050 sound frames. The music starts with
    // the idle call at 5016 ms, 216 ms in: 9525.6 sound frames of silence.
    constexpr long soundFrames = 22050;
    constexpr long silentFrames = 9525;
    constexpr long withinTenMs = 441;
    for (const char* name : {"sound.wav", "sound.flac"}) {
        const std::string path = (work / name).string();
        std::string said;
        ASSERT_TRUE(render("--audio '" + path + "' --from 4800 --to 5300", &said)) << said;
        SF_INFO info;
        const std::vector<int16_t> samples = readSound(path, &info);
        EXPECT_EQ(info.samplerate, 44100) << name;
        EXPECT_EQ(info.channels, 2) << name;
        ASSERT_EQ(info.frames, soundFrames) << name;
        const auto firstSound = std::find_if(samples.begin(), samples.end(), [](int16_t v) { return v != 0; });
        const long firstFrame = static_cast<long>(firstSound - samples.begin()) / 2;
        EXPECT_GE(firstFrame, silentFrames) << name;
        EXPECT_LT(firstFrame, silentFrames + withinTenMs) << name;
    }
    // The same samples as the PCM sound of a ProRes export of the range.
    const std::string video = (work / "clip.mov").string();
    ASSERT_TRUE(render("--video '" + video + "' --codec prores --size 64x36 --from 4800 --to 5300"));
    SF_INFO alone;
    EXPECT_EQ(readSound((work / "sound.flac").string(), &alone), samplesOf(decode(video, "-map 0:a -f s16le")));
}

// The share of a frame between the letterbox bands that is near white, each row pair
// judged by its brighter row (the scanlines darken the other).
double whiteShare(const std::vector<uint8_t>& grey, int width, int height, size_t frame)
{
    const uint8_t* f = grey.data() + frame * width * height;
    int white = 0, all = 0;
    for (int y = height / 12 + 1; y + 1 < height - height / 12; y += 2) {
        for (int x = 0; x < width; ++x) {
            white += std::max(f[y * width + x], f[(y + 1) * width + x]) > 200 ? 1 : 0;
            ++all;
        }
    }
    return static_cast<double>(white) / all;
}

// The strongest rise of the sound's energy within 60 ms of a time (ms into the file),
// stepped by 1 ms: the hit. Energy in 5 ms windows against the 30 ms before.
double hitNear(const std::vector<int16_t>& sound, double aroundMs, double* rise)
{
    constexpr int window = 220; // 5 ms at 44.1 kHz
    const auto energy = [&sound](long from) {
        double total = 0;
        for (long i = std::max(0L, from); i < from + window && i < static_cast<long>(sound.size()); ++i) {
            total += double(sound[i]) * sound[i];
        }
        return total / window;
    };
    double best = 0, bestMs = aroundMs;
    for (int d = -60; d <= 60; ++d) {
        const long at = static_cast<long>((aroundMs + d) * 44.1);
        double before = 0;
        for (int j = 2; j < 8; ++j) {
            before += energy(at - j * window) / 6;
        }
        const double ratio = energy(at) / (before + 1.0);
        if (ratio > best) {
            best = ratio;
            bestMs = aroundMs + d;
        }
    }
    *rise = best;
    return bestMs;
}

TEST_F(VideoExport, EveryFlashShowsInTheFrameOfItsHitOrTheOneBefore)
{
    // The flash train of scene 1 and the flashes that open scenes 4 to 9, in demo time.
    // The music's frame 0 lies at demo time 5000, where its beats are written; each hit
    // is found 5 to 13 ms past its beat (the drum's attack and the encoder's delay), so
    // the frame that first shows a flash is the hit's own or the one before.
    struct Range {
        int32_t fromMs, toMs;
        std::vector<int32_t> flashes;
    };
    const Range ranges[] = {
        {19000, 30000, {19220, 21880, 22770, 23660, 24550, 25440, 26330, 28110, 28550, 29000, 29440, 29880}},
        {61700, 62100, {61880}},
        {90150, 90550, {90330}},
        {118600, 119000, {118770}},
        {147050, 147450, {147220}},
        {175500, 175900, {175660}},
        {189700, 190100, {189880}},
    };
    constexpr int width = 160, height = 90;
    constexpr double frameMs = 1000.0 / 60;
    for (const Range& range : ranges) {
        const std::string video = (work / "av.mkv").string();
        ASSERT_TRUE(render("--video '" + video + "' --codec ffv1 --size 160x90 --from " + std::to_string(range.fromMs) +
                           " --to " + std::to_string(range.toMs)));
        const std::string greyBytes = decode(video, "-f rawvideo -pix_fmt gray");
        const std::vector<uint8_t> grey(greyBytes.begin(), greyBytes.end());
        const std::vector<int16_t> sound = samplesOf(decode(video, "-map 0:a -f s16le -ac 1 -ar 44100"));
        const size_t frames = grey.size() / (width * height);
        for (int32_t flash : range.flashes) {
            const double nominal = flash - range.fromMs; // ms into the file
            double rise = 0;
            const double hit = hitNear(sound, nominal, &rise);
            EXPECT_GT(rise, 3.0) << "no hit in the music near " << flash;
            // The first frame that shows the flash: white all over where the frame before was not,
            // looked for from the frame before the hit's own (a beat can whiten the sky earlier).
            long shown = -1;
            for (size_t k = 1; k < frames && shown < 0; ++k) {
                if (k * frameMs >= hit - 2 * frameMs && whiteShare(grey, width, height, k) > 0.999 &&
                    whiteShare(grey, width, height, k - 1) <= 0.999) {
                    shown = static_cast<long>(k);
                }
            }
            ASSERT_GE(shown, 0) << "no flash seen near " << flash;
            const long hitFrame = static_cast<long>(std::ceil(hit / frameMs - 1e-9));
            std::printf("flash %d: hit at %+.0f ms, shown %+.1f ms, frames after the hit's own: %ld\n", flash,
                        hit - nominal, shown * frameMs - nominal, shown - hitFrame);
            EXPECT_GE(shown - hitFrame, -1) << "the flash at " << flash << " shows early";
            EXPECT_LE(shown - hitFrame, 0) << "the flash at " << flash << " shows after its hit";
        }
    }
}

std::vector<uint8_t> readPicture(const fs::path& path)
{
    int width = 0, height = 0;
    return readPngRgb(path.string(), &width, &height);
}

TEST_F(VideoExport, MotionBlurAveragesTheFramesOfARunAtTheSubFrameRate)
{
    // 19200 to 19300 ms through the fast flash at 19220: 6 frames at 60 fps, each the
    // rounded mean of 4 frames of a real 240 fps run, drawn here frame by frame.
    const fs::path fast = work / "fast", blurred = work / "blurred", again = work / "again";
    const std::string size = " --size 160x90 ";
    ASSERT_TRUE(render("--from 19200 --to 19300 --fps 240" + size + "-o '" + fast.string() + "'"));
    ASSERT_TRUE(render("--from 19200 --to 19300 --motion-blur 4" + size + "-o '" + blurred.string() + "'"));
    ASSERT_TRUE(render("--from 19200 --to 19300 --motion-blur 4" + size + "-o '" + again.string() + "'"));
    const auto frameFile = [](const fs::path& dir, int k) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%06d.png", k);
        return dir / name;
    };
    const auto meanOfFour = [&](int first) {
        std::vector<uint8_t> mean;
        std::vector<std::vector<uint8_t>> four;
        for (int i = 0; i < 4; ++i) {
            four.push_back(readPicture(frameFile(fast, first + i)));
        }
        for (size_t b = 0; b < four[0].size(); ++b) {
            mean.push_back(static_cast<uint8_t>((four[0][b] + four[1][b] + four[2][b] + four[3][b] + 2) / 4));
        }
        return mean;
    };
    for (int k = 0; k < 6; ++k) {
        const std::vector<uint8_t> got = readPicture(frameFile(blurred, k));
        EXPECT_EQ(got, meanOfFour(4 * k)) << "frame " << k;
        EXPECT_EQ(got, readPicture(frameFile(again, k))) << "the same bytes each time, frame " << k;
        if (k == 1) {
            EXPECT_NE(got, readPicture(frameFile(fast, 4))) << "the flash's start is blurred";
        }
    }
    EXPECT_FALSE(fs::exists(frameFile(blurred, 6)));

    // --at on the 240 fps grid (19225 = call 4614) averages the same four frames.
    const fs::path still = work / "still.png";
    ASSERT_TRUE(render("--at 19225 --motion-blur 4" + size + "-o '" + still.string() + "'"));
    EXPECT_EQ(readPicture(still), meanOfFour(6));
}

TEST_F(VideoExport, JobsGiveTheSameOutputAsOneProcessAndStopTogether)
{
    // PNG frames byte for byte, and FFV1's decoded frames and sound.
    const std::string range = " --from 19000 --to 20000 --size 160x90 ";
    const fs::path one = work / "one", two = work / "two";
    ASSERT_TRUE(render(range + "-o '" + one.string() + "'"));
    ASSERT_TRUE(render(range + "--jobs 2 -o '" + two.string() + "'"));
    int frames = 0;
    for (const auto& entry : fs::directory_iterator(one)) {
        EXPECT_EQ(readPicture(entry.path()), readPicture(two / entry.path().filename())) << entry.path();
        ++frames;
    }
    EXPECT_EQ(frames, 60);
    EXPECT_EQ(std::distance(fs::directory_iterator(two), fs::directory_iterator()), 60);

    const auto decoded = [](const std::string& video) {
        return decode(video, "-f framemd5") + decode(video, "-map 0:a -f s16le");
    };
    const std::string whole = (work / "whole.mkv").string(), split = (work / "split.mkv").string();
    ASSERT_TRUE(render("--video '" + whole + "' --codec ffv1" + range));
    ASSERT_TRUE(render("--video '" + split + "' --codec ffv1 --jobs 3" + range));
    EXPECT_EQ(decoded(whole), decoded(split));
    EXPECT_EQ(probe(split, "v")["nb_read_frames"], "60");

    // Interrupted, the tool and its jobs end together, leaving no file, scratch or ffmpeg
    // (the brackets keep the pattern from finding the shell that runs it).
    const fs::path scratch = work / "scratch";
    fs::create_directories(scratch);
    const std::string stopped = (work / "stopped.mp4").string();
    const std::string said = runAndRead(
        "cd '" GLASSWIND_SOURCE_DIR "' && { TMPDIR='" + scratch.string() + "' '" RENDER_BIN "' --video '" + stopped +
        "' --from 19000 --to 90000 --size 160x90 --jobs 2 2>/dev/null & pid=$!; sleep 2; kill -INT $pid; wait $pid; "
        "echo \"exit=$?\"; sleep 0.5; pgrep -f -- '--vide[o] " +
        stopped + "|" + scratch.string() + "/glasswin[d]' | wc -l; }");
    EXPECT_NE(said.find("exit=130"), std::string::npos) << said;
    EXPECT_NE(said.find("\n0\n"), std::string::npos) << "processes left: " << said;
    EXPECT_FALSE(fs::exists(stopped));
    EXPECT_TRUE(fs::is_empty(scratch));
    for (const auto& entry : fs::directory_iterator(work)) {
        EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
    }
}

} // namespace
