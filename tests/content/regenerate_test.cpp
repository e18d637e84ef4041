// The generators against what they made: the cards and the music rebuilt from
// scratch must be the committed files, byte for byte with the library versions
// those were made with, and the same pictures within hinting's reach otherwise.
#include "png_read.h"

#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// What data/ was made with: FreeType lays out the cards, LAME encodes the music.
const std::string cardsMadeWithFreetype = "2.12.1";
const std::string musicMadeWithLame = "3.100";
// Another FreeType hints glyph edges a little differently.
constexpr double mostMeanLevelsOff = 2.0;

const char* const cardFiles[] = {"Loading.png", "s1.png", "s2.png", "s3.png", "g1.png", "g2.png", "g3.png",
                                 "g4.png",      "g5.png", "g6.png", "g7.png", "g8.png", "end.png"};

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Regenerate : ::testing::Test {
    std::filesystem::path work;
    void SetUp() override
    {
        work = std::filesystem::temp_directory_path() /
               ("glasswind-regenerate-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                std::to_string(getpid()));
        std::filesystem::create_directories(work);
    }
    void TearDown() override { std::filesystem::remove_all(work); }
};

TEST_F(Regenerate, TheCardsComeOutAsCommitted)
{
    const std::string command = std::string("'") + CONTENT_CARDS_BIN + "' '" + work.string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const bool sameFreetype = std::string(CONTENT_FREETYPE_VERSION) == cardsMadeWithFreetype;
    for (const char* name : cardFiles) {
        const std::string made = (work / name).string();
        const std::string committed = std::string(CONTENT_DATA_DIR) + "/" + name;
        if (sameFreetype) {
            EXPECT_TRUE(bytesOf(made) == bytesOf(committed)) << name << " differs from the committed file";
            continue;
        }
        int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        const std::vector<uint8_t> a = readPng(made, 4, &w1, &h1);
        const std::vector<uint8_t> b = readPng(committed, 4, &w2, &h2);
        ASSERT_TRUE(!a.empty() && w1 == w2 && h1 == h2 && a.size() == b.size()) << name;
        double off = 0;
        for (size_t i = 0; i < a.size(); ++i) off += std::abs(a[i] - b[i]);
        EXPECT_LE(off / a.size(), mostMeanLevelsOff) << name << " with FreeType " << CONTENT_FREETYPE_VERSION;
    }
}

TEST_F(Regenerate, TheMusicComesOutAsCommitted)
{
    if (std::string(get_lame_version()) != musicMadeWithLame) {
        GTEST_SKIP() << "LAME " << get_lame_version() << " encodes differently from " << musicMadeWithLame;
    }
    const std::string mp3 = (work / "glasswind.mp3").string();
    const std::string command =
        std::string("'") + CONTENT_MUSIC_BIN + "' '" + mp3 + "' '" + (work / "glasswind.wav").string() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(bytesOf(mp3) == bytesOf(std::string(CONTENT_DATA_DIR) + "/glasswind.mp3"));
}

} // namespace
