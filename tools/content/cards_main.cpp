// Renders the demo's thirteen card images (loading card, captions, credits, end card)
// with FreeType and DejaVu fonts, and writes them as PNG with libpng.
// Usage: content_cards <output directory>
#include "card_canvas.h"
#include "card_text.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* boldFont = "DejaVuSans-Bold.ttf";
constexpr const char* bookFont = "DejaVuSans.ttf";

struct Fonts {
    Font bold;
    Font book;
};

// Pixel size of a card drawn over a w x h rectangle: `fixed` pixels along one side,
// the other side in proportion so the letters keep their shape on screen.
int pixelsFor(double side, double otherSide, int fixed)
{
    return static_cast<int>(std::lround(fixed * side / otherSide));
}

// The halo's blur reaches three radii out; the margin keeps it inside the image, so
// the card's own edge never shows on screen.
constexpr int haloMargin(int haloRadius) { return 3 * haloRadius + 1; }

bool writeCaption(const std::string& dir, const char* name, const std::vector<TextLine>& lines, double cardWidth,
                  double cardHeight, int pixelWidth, int haloRadius)
{
    constexpr float haloOpacity = 0.55f;
    const int height = pixelsFor(cardHeight, cardWidth, pixelWidth);
    Canvas canvas = makeCanvas(pixelWidth, height);
    const int margin = haloMargin(haloRadius);
    const std::vector<Mask> masks =
        fitText(lines, pixelWidth, height, pixelWidth - 2 * margin, height - 2 * margin, pixelWidth / 2, height / 2);
    paintFloatingText(&canvas, lines, masks, haloRadius, haloOpacity);
    return writePng(dir + "/" + name, canvas, true);
}

bool writeCredit(const std::string& dir, int index, double cardWidth, const char* role,
                 const std::vector<std::string>& what, const Fonts& fonts)
{
    constexpr double cardHeight = 25.0;
    constexpr int pixelHeight = 128;
    constexpr int haloRadius = 4;
    constexpr int margin = haloMargin(haloRadius);
    constexpr float haloOpacity = 0.6f;
    const int width = pixelsFor(cardWidth, cardHeight, pixelHeight);
    std::vector<TextLine> lines;
    if (role[0] != '\0') lines.push_back({role, &fonts.bold, 0.55f, 0.22f, ice, 0.0f});
    for (size_t i = 0; i < what.size(); ++i) {
        const bool roleAbove = i == 0 && role[0] != '\0';
        lines.push_back(
            {what[i], role[0] != '\0' ? &fonts.book : &fonts.bold, 1.0f, 0.01f, white, roleAbove ? 0.35f : 0.0f});
    }
    Canvas canvas = makeCanvas(width, pixelHeight);
    const std::vector<Mask> masks =
        fitText(lines, width, pixelHeight, width - 2 * margin, pixelHeight - 2 * margin, width / 2, pixelHeight / 2);
    paintFloatingText(&canvas, lines, masks, haloRadius, haloOpacity);
    return writePng(dir + "/g" + std::to_string(index) + ".png", canvas, true);
}

// Positions on the square cards are in the demo's overlay units: the square spans
// -90..90 both ways, y up.
constexpr double squareUnits = 180.0;
constexpr int squarePixels = 1024;

int unitsToRow(double unitsY) { return static_cast<int>(std::lround((90.0 - unitsY) * squarePixels / squareUnits)); }
int unitsToPixels(double units) { return static_cast<int>(std::lround(units * squarePixels / squareUnits)); }

// A block of lines on a square card, fitted into the area and centred on centreUnits,
// over a soft glow of its own shape when glowRadius is above 0.
void paintOnSquare(Canvas* canvas, const std::vector<TextLine>& lines, double areaWidthUnits, double areaHeightUnits,
                   double centreUnits, float opacity, int glowRadius = 0, float glowOpacity = 0.0f)
{
    const std::vector<Mask> masks = fitText(lines, squarePixels, squarePixels, unitsToPixels(areaWidthUnits),
                                            unitsToPixels(areaHeightUnits), squarePixels / 2, unitsToRow(centreUnits));
    if (glowRadius > 0) paint(canvas, blurred(merged(masks), glowRadius), ice, glowOpacity);
    for (size_t i = 0; i < masks.size(); ++i) paint(canvas, masks[i], lines[i].colour, opacity);
}

bool writeLoading(const std::string& dir, const Fonts& fonts)
{
    // The demo draws its progress bar and frame 60 to 74 units below the centre;
    // nothing but the quiet background lies in that band, and the glass facets
    // fade out a little above it.
    constexpr double barTopUnits = -60.0;
    constexpr double facetClearanceUnits = 12.0;
    constexpr uint32_t facetSeed = 4004;
    constexpr Colour skyTop{0.05f, 0.10f, 0.23f};
    constexpr Colour skyBottom{0.01f, 0.02f, 0.06f};
    constexpr float glowHeight = 0.4f;
    const float facetFloor = static_cast<float>(unitsToRow(barTopUnits + facetClearanceUnits)) / squarePixels;
    Canvas canvas = nightGlass(squarePixels, facetSeed, skyTop, skyBottom, glowHeight, facetFloor);
    paintOnSquare(
        &canvas,
        {{"NQL-004", &fonts.bold, 0.3f, 0.45f, ice, 0.0f}, {"\"Glasswind\"", &fonts.bold, 1.0f, 0.02f, white, 0.25f}},
        150.0, 48.0, 14.0, 1.0f, 14, 0.35f);
    paintOnSquare(&canvas, {{"a real-time piece in ten scenes", &fonts.book, 1.0f, 0.04f, mist, 0.0f}}, 110.0, 6.0,
                  -22.0, 0.9f);
    paintOnSquare(&canvas, {{"LOADING", &fonts.bold, 1.0f, 0.6f, ice, 0.0f}}, 60.0, 4.0, -47.0, 0.75f);
    return writePng(dir + "/Loading.png", canvas, false);
}

bool writeEnd(const std::string& dir, const Fonts& fonts)
{
    constexpr double ruleUnits = -8.0;
    constexpr double ruleHalfUnits = 45.0;
    constexpr int ruleThickness = 3;
    constexpr uint32_t facetSeed = 9135;
    constexpr Colour skyTop{0.03f, 0.05f, 0.12f};
    constexpr Colour skyBottom{0.0f, 0.01f, 0.03f};
    constexpr float glowHeight = 0.48f;
    constexpr float facetsEverywhere = 1.2f;
    Canvas canvas = nightGlass(squarePixels, facetSeed, skyTop, skyBottom, glowHeight, facetsEverywhere);
    paintOnSquare(
        &canvas,
        {{"NQL-004", &fonts.bold, 0.32f, 0.45f, ice, 0.0f}, {"GLASSWIND", &fonts.bold, 1.0f, 0.12f, white, 0.3f}},
        130.0, 30.0, 10.0, 1.0f, 16, 0.3f);
    paint(&canvas,
          rule(squarePixels, squarePixels, squarePixels / 2, unitsToRow(ruleUnits), unitsToPixels(ruleHalfUnits),
               ruleThickness),
          ice, 0.8f);
    paintOnSquare(&canvas, {{"the end", &fonts.book, 1.0f, 0.25f, mist, 0.0f}}, 60.0, 8.0, -22.0, 1.0f);
    return writePng(dir + "/end.png", canvas, false);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    if (!startFonts()) return 1;
    const Fonts fonts{loadFont(boldFont), loadFont(bookFont)};
    if (!fonts.bold.face || !fonts.book.face) return 1;

    bool ok = true;
    // Captions: card rectangles 150 x 24.525, 100 x 10.76 and 100 x 29.23 units.
    ok &= writeCaption(
        dir, "s1.png",
        {{"NQL-004", &fonts.bold, 0.32f, 0.45f, white, 0.0f}, {"GLASSWIND", &fonts.bold, 1.0f, 0.18f, white, 0.12f}},
        150.0, 24.525, 1024, 4);
    ok &= writeCaption(dir, "s2.png", {{"where the wind turns to glass", &fonts.book, 1.0f, 0.03f, white, 0.0f}}, 100.0,
                       10.76, 512, 2);
    ok &= writeCaption(dir, "s3.png",
                       {{"and the light falls,", &fonts.book, 1.0f, 0.02f, white, 0.0f},
                        {"bead by bead", &fonts.book, 1.0f, 0.02f, white, 0.0f}},
                       100.0, 29.23, 512, 3);
    // Credits: rectangles 25 units high, widths from the credit table.
    ok &= writeCredit(dir, 1, 52.79, "DIRECTION", {"ten scenes", "on one clock"}, fonts);
    ok &= writeCredit(dir, 2, 64.35, "CAMERA", {"thirty-seven shots"}, fonts);
    ok &= writeCredit(dir, 3, 54.18, "LIGHT", {"one sun,", "five placements"}, fonts);
    ok &= writeCredit(dir, 4, 44.96, "GEOMETRY", {"cubes, cones", "and spheres"}, fonts);
    ok &= writeCredit(dir, 5, 31.15, "CODE", {"C++ and", "OpenGL 1.x"}, fonts);
    ok &= writeCredit(dir, 6, 49.51, "MUSIC", {"synthesised", "at 135 BPM"}, fonts);
    ok &= writeCredit(dir, 7, 50.57, "IMAGES", {"FreeType and", "DejaVu Sans"}, fonts);
    ok &= writeCredit(dir, 8, 43.31, "", {"thanks for", "watching"}, fonts);
    ok &= writeEnd(dir, fonts);
    ok &= writeLoading(dir, fonts);
    return ok ? 0 : 1;
}
