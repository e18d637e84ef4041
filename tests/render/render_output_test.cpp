// What the render tool leaves behind: PNGs that appear whole or not at all, and the
// music start it learns from the demo's own idle callback.
#include "app/clock.h"
#include "app/steady_clock.h"
#include "atomic_file.h"
#include "platform/audio.h"
#include "platform/windowing.h"
#include "png_output.h"
#include "png_read.h"
#include "sound_track.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Folder {
    const std::string path =
        (fs::temp_directory_path() / ("glasswind-render-test-" + std::to_string(getpid()))).string();
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(path), {})); }
};

std::string readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(PngOutput, PixelsComeBackTopRowFirstAndTheSameBytesEachTime)
{
    Folder folder;
    const int width = 3;
    const int height = 2;
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, // top row
                                      1,   2, 3, 4, 5,   6, 7, 8, 9};
    std::string error;
    ASSERT_TRUE(savePng(folder.path + "/a.png", width, height, rgb, &error)) << error;
    ASSERT_TRUE(savePng(folder.path + "/b.png", width, height, rgb, &error)) << error;
    int readWidth = 0;
    int readHeight = 0;
    EXPECT_EQ(readPngRgb(folder.path + "/a.png", &readWidth, &readHeight), rgb);
    EXPECT_EQ(readWidth, width);
    EXPECT_EQ(readHeight, height);
    EXPECT_EQ(readBytes(folder.path + "/a.png"), readBytes(folder.path + "/b.png"));
    EXPECT_EQ(folder.entries(), 2u) << "no temporary file is left behind";

    // Every compression level keeps the pixels; stored (0) is the largest file.
    std::vector<uint8_t> gradient;
    for (int i = 0; i < 64 * 64 * 3; ++i) {
        gradient.push_back(static_cast<uint8_t>(i / 7));
    }
    size_t stored = 0;
    for (int level : {0, 1, 6, 9}) {
        const std::string path = folder.path + "/level" + std::to_string(level) + ".png";
        ASSERT_TRUE(savePng(path, 64, 64, gradient, &error, level)) << error;
        EXPECT_EQ(readPngRgb(path, &readWidth, &readHeight), gradient) << level;
        const size_t size = readBytes(path).size();
        stored = level == 0 ? size : stored;
        EXPECT_LE(size, stored) << level;
    }
    EXPECT_LT(readBytes(folder.path + "/level9.png").size(), stored / 4);
}

TEST(PngOutput, NothingAppearsWhenTheFileCannotBeWritten)
{
    Folder folder;
    std::string error;
    const std::vector<uint8_t> rgb(3, 0);
    EXPECT_FALSE(savePng(folder.path + "/missing/a.png", 1, 1, rgb, &error));
    EXPECT_NE(error.find(folder.path + "/missing/a.png"), std::string::npos) << error;
    EXPECT_FALSE(savePng(folder.path, 1, 1, rgb, &error)) << "a folder is not a file";

    // A pending file that is given up leaves nothing; one that is kept keeps its name.
    PendingFile pending;
    ASSERT_TRUE(openPending(folder.path + "/clip.mp4", &pending, &error)) << error;
    EXPECT_EQ(pending.tempPath.substr(pending.tempPath.size() - 4), ".mp4");
    abandonPending(&pending);
    EXPECT_EQ(folder.entries(), 0u);

    EXPECT_TRUE(ensureFolder(folder.path + "/frames", &error)) << error;
    EXPECT_TRUE(ensureFolder(folder.path + "/frames", &error)) << "an existing folder will do";
    ASSERT_TRUE(savePng(folder.path + "/file.png", 1, 1, rgb, &error));
    EXPECT_FALSE(ensureFolder(folder.path + "/file.png", &error));
}

class ToolClock : public ::testing::Test {
protected:
    void SetUp() override { installSteadyClock(nullptr, glutWindowing.exitProcess); }
    void TearDown() override
    {
        windowing = glutWindowing;
        audio = systemAudio;
        resetClock();
    }
};

TEST_F(ToolClock, ASteadyRunStartsTheMusicAtTheFirstIdleCallPastFiveSeconds)
{
    const MusicStart at60 = findMusicStart(196000, 60);
    EXPECT_TRUE(at60.started);
    EXPECT_EQ(at60.atMs, 5016);
    // The music started at 5000 is 16 ms in: 705 frames (705.6 whole), 2820 bytes.
    EXPECT_EQ(at60.bytePosition, 2820);

    const MusicStart at24 = findMusicStart(196000, 24);
    EXPECT_EQ(at24.atMs, 5041);
    // 41 ms in: 1808 frames (1808.1 whole), 7232 bytes.
    EXPECT_EQ(at24.bytePosition, 7232);

    EXPECT_FALSE(findMusicStart(5016, 60).started) << "5016 itself is past the range";
    EXPECT_TRUE(findMusicStart(5017, 60).started);

    // The frames that follow start from the clock of a fresh process.
    EXPECT_EQ(demoTimeMs, 0);
    EXPECT_FALSE(musicStarted);
    EXPECT_EQ(beatOriginMs, 0.0f);
}

} // namespace
