// Pictures of known moments of the demo, drawn by glasswind-render --at and checked
// pixel by pixel: the loading bar, fades, captions, the veil, credits and the end.
#include "png_read.h"
#include "png_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Pixel {
    int r, g, b;
    int sum() const { return r + g + b; }
};

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Pixel at(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
    // The scanlines darken every second row, so a point is judged by the brighter
    // row of the pair it lies in.
    Pixel lit(int x, int y) const
    {
        const Pixel a = at(x, y);
        const Pixel b = at(x, std::min(y + 1, height - 1));
        return a.sum() >= b.sum() ? a : b;
    }
    double unitsPerPixel() const { return 180.0 / std::min(width, height); }
    // Overlay units of a pixel's centre (x right, y up, the origin at the middle).
    double unitX(int x) const { return (x + 0.5 - width / 2.0) * unitsPerPixel(); }
    double unitY(int y) const { return (height / 2.0 - y - 0.5) * unitsPerPixel(); }
    int column(double units) const { return static_cast<int>(width / 2.0 + units / unitsPerPixel()); }
    int row(double units) const { return static_cast<int>(height / 2.0 - units / unitsPerPixel()); }
};

// Renders the moment with the real tool, from workDir (where data/ is).
Frame renderAt(int ms, int width = 800, int height = 450, const std::string& workDir = GLASSWIND_SOURCE_DIR)
{
    const std::string out =
        (fs::temp_directory_path() / ("glasswind-moment-" + std::to_string(getpid()) + ".png")).string();
    const std::string command = "cd '" + workDir + "' && '" RENDER_BIN "' --at " + std::to_string(ms) + " --size " +
                                std::to_string(width) + "x" + std::to_string(height) + " -o '" + out +
                                "' >/dev/null 2>&1";
    Frame frame;
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "glasswind-render failed: " << command;
        return frame;
    }
    frame.rgb = readPngRgb(out, &frame.width, &frame.height);
    std::remove(out.c_str());
    EXPECT_EQ(frame.width, width);
    EXPECT_EQ(frame.height, height);
    return frame;
}

// Counts the pixels between the bands (rows, lit) that match.
template <typename Match> int countBetweenBands(const Frame& f, Match match)
{
    int count = 0;
    for (int y = f.height / 12; y < f.height - f.height / 12; y += 2) {
        for (int x = 0; x < f.width; ++x) {
            count += match(f.lit(x, y)) ? 1 : 0;
        }
    }
    return count;
}

int brightest(const Frame& f) { return f.rgb.empty() ? -1 : *std::max_element(f.rgb.begin(), f.rgb.end()); }

double meanBetweenBands(const Frame& f)
{
    double total = 0;
    int count = 0;
    for (int y = f.height / 12; y < f.height - f.height / 12; ++y) {
        for (int x = 0; x < f.width; ++x) {
            total += f.at(x, y).sum() / 3.0;
            ++count;
        }
    }
    return total / count;
}

bool isBlueText(const Pixel& p) { return p.b > 120 && p.r < 50 && p.g < 50; }
bool isWhite(const Pixel& p) { return p.r > 180 && p.g > 180 && p.b > 180; }
bool isGreenCard(const Pixel& p) { return p.g > 2 * p.r + 40 && p.g > 2 * p.b + 40; }

TEST(Moments, TheLoadingBarNearlyReachesItsFrameJustBeforeFiveSeconds)
{
    const Frame f = renderAt(4999);
    const int barRow = f.row(-67.0);
    // Its ends lie at +-139.97 units, just inside the frame lines at 141 to 142.
    EXPECT_GT(f.lit(f.column(-139.0), barRow).sum(), 600);
    EXPECT_GT(f.lit(f.column(139.0), barRow).sum(), 600);
    EXPECT_LT(f.lit(f.column(140.4), barRow).sum(), 240);
    EXPECT_LT(f.lit(f.column(-140.4), barRow).sum(), 240);
    EXPECT_GT(f.lit(f.column(141.5), barRow).sum(), 600) << "the right frame line";

    const Frame half = renderAt(2500);
    EXPECT_GT(half.lit(half.column(65.0), barRow).sum(), 600);
    EXPECT_LT(half.lit(half.column(75.0), barRow).sum(), 240) << "half way, the bar ends at 70";
}

TEST(Moments, AtFiveSecondsTheForestShowsUnveiledThenTheFadeFromBlackBegins)
{
    const Frame first = renderAt(5000);
    const int green = countBetweenBands(first, [](const Pixel& p) { return p.g > 2 * p.r + 30 && p.g > 60; });
    EXPECT_GT(green, 1000) << "no fade at exactly 5000 ms";
    const Frame next = renderAt(5001);
    EXPECT_LE(brightest(next), 2) << "the fade from black starts opaque";
}

TEST(Moments, TheFirstCaptionGivesWayToTheSecondUnderTheFlashAt19220)
{
    // The captions' boxes in overlay units: left, top, right, bottom.
    const auto countIn = [](const Frame& f, double left, double top, double right, double bottom, auto match) {
        int count = 0;
        for (int y = f.row(top); y <= f.row(bottom); ++y) {
            for (int x = f.column(left); x <= f.column(right); ++x) {
                count += match(f.lit(x, y)) ? 1 : 0;
            }
        }
        return count;
    };
    const auto blueInFirstCaption = [&](const Frame& f) { return countIn(f, -8.0, -46.24, 142.0, -70.76, isBlueText); };
    const auto whiteInSecondCaption = [&](const Frame& f) { return countIn(f, -130.0, 63.88, -30.0, 53.12, isWhite); };
    const Frame before = renderAt(19219);
    EXPECT_GT(blueInFirstCaption(before), 300);

    // The fast flash that starts with the change covers the whole frame for its first
    // milliseconds, so the change itself is hidden.
    const Frame atCut = renderAt(19220);
    EXPECT_GT(countBetweenBands(atCut, isWhite), 0.95 * atCut.width * (atCut.height * 5 / 12));

    const Frame after = renderAt(19300);
    EXPECT_EQ(blueInFirstCaption(after), 0);
    EXPECT_GT(whiteInSecondCaption(after), 100);
}

TEST(Moments, TheForestFadesFullyToBlackBy33550)
{
    EXPECT_LE(brightest(renderAt(33550)), 2);
    EXPECT_GT(brightest(renderAt(32550)), 100);
}

TEST(Moments, TheWhiteVeilEndsAt47660)
{
    const auto darkestRed = [](const Frame& f) {
        int least = 255;
        for (int y = f.height / 6; y < f.height - f.height / 6; y += 2) {
            for (int x = 0; x < f.width; x += 4) {
                least = std::min(least, f.lit(x, y).r);
            }
        }
        return least;
    };
    EXPECT_GE(darkestRed(renderAt(47659)), 100) << "everything seen through the veil";
    EXPECT_LE(darkestRed(renderAt(47660)), 40) << "green crowns without the veil";
}

// Scene 2 holds shot 9 throughout: the eye at (0, 10, 150) looking along -z at (0, 10, 0),
// so a point of the plane z = 0 lands where a 45-degree view puts it, 150 units away.
struct ScreenPoint {
    int column, row;
};
ScreenPoint seenByShot9(const Frame& f, double x, double y)
{
    const double halfHeight = 150.0 * std::tan(22.5 * 3.14159265358979323846 / 180.0);
    const double halfWidth = halfHeight * f.width / f.height;
    return {static_cast<int>((x / halfWidth + 1.0) / 2.0 * f.width),
            static_cast<int>((1.0 - (y - 10.0) / halfHeight) / 2.0 * f.height)};
}

TEST(Moments, SphereRowsAreTranslucentPaintedTwiceAndRow2IsFlat)
{
    // At 40000 ms the group stands at -200 + 7220 x 0.0225 = -37.55, rows 0, 30, 58 and 92
    // above that; each row sways by its own sine of the time (row 5 is above the frame).
    struct Row {
        double height;
        std::vector<double> xs;
        bool seen;
    };
    const Row rows[] = {
        {-37.55, {-6.08, 17.92, 41.92, 65.92, 89.92}, true},
        {-7.55, {6.39, 46.39, 86.39}, false}, // one stack: every vertex on the axis
        {20.45, {6.71, 36.71, 66.71, 96.71}, true},
        {54.45, {-9.94, 45.06}, true},
    };
    const Frame f = renderAt(40000);
    for (const Row& row : rows) {
        for (double x : row.xs) {
            const ScreenPoint at = seenByShot9(f, x, row.height);
            const Pixel p = f.lit(at.column, at.row);
            if (row.seen) {
                // Unlit (0.75, 0.75, 0.8) at 0.7 over black, the back half painted and then
                // the front over it, with no depth test: 0.91 of the colour, (174, 174, 186).
                EXPECT_NEAR(p.r, 174, 2) << x << "," << row.height;
                EXPECT_NEAR(p.g, 174, 2) << x << "," << row.height;
                EXPECT_NEAR(p.b, 186, 2) << x << "," << row.height;
            } else {
                EXPECT_EQ(p.sum(), 0) << "row 2 draws nothing at " << x;
            }
        }
    }
    // Half a second later the group is 11.25 units lower, at -48.8, and row 3 has swayed
    // from 6.71 to 9 sin(40.5) = 3.01: its first sphere has left where it was.
    const Frame later = renderAt(40500);
    const ScreenPoint was = seenByShot9(later, 6.71, 20.45);
    const ScreenPoint now = seenByShot9(later, 3.01, -48.8 + 58.0);
    EXPECT_EQ(later.lit(was.column, was.row).sum(), 0);
    EXPECT_NEAR(later.lit(now.column, now.row).r, 174, 2);
}

// The share of the lit rows between the bands whose pixels match.
template <typename Match> double shareBetweenBands(const Frame& f, Match match)
{
    const int all = countBetweenBands(f, [](const Pixel&) { return true; });
    return static_cast<double>(countBetweenBands(f, match)) / all;
}

bool isGroundWhite(const Pixel& p) { return p.sum() == 3 * 255; }
// The sky once its pulse has run out: (0, 0, 0.1).
bool isRestingSky(const Pixel& p) { return p.r == 0 && p.g == 0 && p.b == 26; }
bool isGrey(const Pixel& p) { return p.r == p.g && p.g == p.b; }

TEST(Moments, TheWaveFieldRisesThroughTheGroundInScene5AndStandsInScene7)
{
    // Both scenes open under a slow flash that starts opaque white.
    for (int opening : {90330, 147220}) {
        EXPECT_GT(shareBetweenBands(renderAt(opening), isWhite), 0.99) << opening;
    }
    // Shot 18 follows the field up: at first only a few column tops break the white ground,
    // 18 seconds later the columns cover much of it.
    const Frame early = renderAt(92000);
    const Frame risen = renderAt(110000);
    EXPECT_GT(shareBetweenBands(early, isGroundWhite), 0.85);
    EXPECT_LT(shareBetweenBands(risen, isGroundWhite), 0.3);
    // The field is white and lit, the ground white, the sky blue: nothing else has a hue.
    for (const Frame* f : {&early, &risen}) {
        EXPECT_GT(shareBetweenBands(*f, [](const Pixel& p) { return isGrey(p) || isRestingSky(p) || p.r == 0; }),
                  0.995);
    }
    const Frame resting = renderAt(160000);
    EXPECT_GT(shareBetweenBands(resting, isRestingSky), 0.05) << "the sky between beats";
    EXPECT_GT(shareBetweenBands(resting, [](const Pixel& p) { return isGrey(p) && p.r > 60; }), 0.2) << "lit columns";
}

// A copy of data/ whose credit images are plain green, which nothing else in the
// block-field scene is, so the cards can be found.
class GreenCredits : public testing::Test {
protected:
    void SetUp() override
    {
        work = fs::temp_directory_path() / ("glasswind-credits-" + std::to_string(getpid()));
        fs::create_directories(work / "data");
        for (const auto& entry : fs::directory_iterator(fs::path(GLASSWIND_SOURCE_DIR) / "data")) {
            fs::create_symlink(entry.path(), work / "data" / entry.path().filename());
        }
        PngPicture green;
        green.width = 64;
        green.height = 32;
        green.colourType = PNG_COLOR_TYPE_RGB;
        for (int i = 0; i < green.width * green.height; ++i) {
            green.rows.insert(green.rows.end(), {0, 255, 0});
        }
        for (int card = 1; card <= 8; ++card) {
            const fs::path path = work / "data" / ("g" + std::to_string(card) + ".png");
            fs::remove(path);
            ASSERT_TRUE(writeBytes(path.string(), encodePng(green)));
        }
    }
    void TearDown() override { fs::remove_all(work); }

    struct Card {
        double centreX, centreY, width, height;
    };
    Card findCard(int ms, int width, int height)
    {
        const Frame f = renderAt(ms, width, height, work.string());
        int left = f.width, right = -1, top = f.height, bottom = -1;
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x) {
                if (isGreenCard(f.at(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        if (right < 0) {
            ADD_FAILURE() << "no credit card at " << ms;
            return {};
        }
        return {(f.unitX(left) + f.unitX(right)) / 2, (f.unitY(top) + f.unitY(bottom)) / 2,
                (right - left + 1) * f.unitsPerPixel(), (bottom - top + 1) * f.unitsPerPixel()};
    }
    fs::path work;
};

TEST_F(GreenCredits, TheSecondTakesTheOppositeCornerAndAWiderWindowMovesThemOutward)
{
    // Credit 1 holds to 122330, but the flash that starts there hides that frame.
    const Card first = findCard(122329, 800, 450);
    EXPECT_NEAR(first.centreX, 112.0, 1.0);
    EXPECT_NEAR(first.centreY, -58.5, 1.0);
    EXPECT_NEAR(first.width, 52.79, 1.0);
    EXPECT_NEAR(first.height, 25.0, 1.0);

    // From 122331 on; the medium flash starting at 122330 hides it for 156 ms.
    const Card second = findCard(122500, 800, 450);
    EXPECT_NEAR(second.centreX, -112.0, 1.0);
    EXPECT_NEAR(second.centreY, 58.5, 1.0);
    EXPECT_NEAR(second.width, 64.35, 1.0);

    // The box is +-213.3 units across at 1280x540: the centre moves from 112 to 149.3.
    const Card wide = findCard(122329, 1280, 540);
    EXPECT_NEAR(wide.centreX, 149.33, 1.0);
    EXPECT_NEAR(wide.centreY, -58.5, 1.0);
    EXPECT_NEAR(wide.width, 52.79, 1.0);
    EXPECT_NEAR(wide.height, 25.0, 1.0);
}

TEST(Moments, TheWideGroundFadesToBlackFrom186330)
{
    const double unfaded = meanBetweenBands(renderAt(186329));
    const double zeroFade = meanBetweenBands(renderAt(186330));
    EXPECT_GT(unfaded, 40.0);
    EXPECT_NEAR(zeroFade, unfaded, unfaded * 0.02) << "alpha 0 at its start";
    const double halfway = meanBetweenBands(renderAt(187893));
    EXPECT_NEAR(halfway, unfaded * 0.5, unfaded * 0.1);
    EXPECT_LE(brightest(renderAt(189500)), 2);
}

TEST(Moments, TheEndCardFadesOutBy195400)
{
    EXPECT_GT(countBetweenBands(renderAt(195000), isWhite), 200) << "the card's title";
    EXPECT_LE(brightest(renderAt(195400)), 2);
}

} // namespace
