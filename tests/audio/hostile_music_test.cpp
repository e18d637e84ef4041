// Any file where the music belongs either decodes, converted to 16-bit stereo at
// 44 100 Hz, or is refused with a code that says why: never a hang, crash or abort.
#include "hostile_music_cases.h"
#include "platform/audio.h"
#include "platform/audio_decode.h"
#include "test_sounds.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <fstream>
#include <thread>

namespace {

constexpr uint32_t outputRate = 44100;
// A file refused for what it is, not for what it holds, is refused before it is read.
constexpr auto refusedAtOnce = std::chrono::seconds(1);

class HostileMusic : public ::testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override { dir = makeTempDirectory(); }
    void TearDown() override { removeDirectory(dir); }
    std::string dir;
};

TEST_P(HostileMusic, PlaysConvertedOrIsRefusedWithItsCode)
{
    const HostileCase& c = GetParam();
    const std::string path = dir + "/glasswind.mp3";
    ASSERT_TRUE(c.make(path)) << c.label;
    std::vector<int16_t> music;
    int code = audioOk;
    const auto start = std::chrono::steady_clock::now();
    const bool plays = decodeMusicFile(path.c_str(), outputRate, &music, &code);
    const auto took = std::chrono::steady_clock::now() - start;
    if (c.frames == refusedOrPlays) {
        EXPECT_TRUE(plays || code == audioErrorFileFormat) << c.label << ": code " << code;
        EXPECT_LE(music.size(), size_t{testRate} * audioOutputChannels * 2) << c.label;
        return;
    }
    EXPECT_EQ(plays, c.code == audioOk) << c.label << ": code " << code;
    if (!plays) {
        EXPECT_EQ(code, c.code) << c.label;
        EXPECT_TRUE(music.empty()) << c.label;
        if (c.code != audioErrorFileFormat) {
            EXPECT_LT(took, refusedAtOnce) << c.label;
        }
    } else if (c.frames == playsAnyLength) {
        EXPECT_GT(music.size(), 0u) << c.label;
    } else {
        EXPECT_EQ(static_cast<int64_t>(music.size() / audioOutputChannels), c.frames) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileMusic, ::testing::ValuesIn(hostileCases, hostileCases + hostileCaseCount),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.label; *c != '\0'; ++c)
                                 name += std::isalnum(*c) ? *c : '_';
                             return name;
                         });

// A file rewritten while it is read decodes as whatever it held, or is refused.
TEST(HostileMusicPaths, AFileThatChangesWhileItIsReadNeverBreaksTheDecoder)
{
    const std::string dir = makeTempDirectory();
    const std::string path = dir + "/glasswind.mp3";
    const std::string source = dir + "/source.wav";
    ASSERT_TRUE(sound(pcm16, testRate, 2, testRate)(source));
    const std::string whole = readAll(source);
    ASSERT_TRUE(writeTextFile(path, whole));
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (size_t cut = whole.size(); !done; cut = (cut * 7 + 4093) % whole.size()) {
            truncate(path.c_str(), static_cast<off_t>(cut));
            std::ofstream(path, std::ios::binary | std::ios::app).write(whole.data() + cut, whole.size() - cut);
        }
    });
    constexpr int reads = 20;
    for (int i = 0; i < reads; ++i) {
        std::vector<int16_t> music;
        int code = audioOk;
        if (!decodeMusicFile(path.c_str(), outputRate, &music, &code)) {
            EXPECT_EQ(code, audioErrorFileFormat);
        } else {
            EXPECT_LE(music.size(), size_t{testRate} * audioOutputChannels);
        }
    }
    done = true;
    writer.join();
    removeDirectory(dir);
}

} // namespace
