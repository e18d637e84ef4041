// Renders the demo's thirteen card images (loading card, captions, credits, end card)
// with FreeType and DejaVu fonts, and writes them as PNG with libpng.
// Usage: content_cards <output directory>
#include "card_canvas.h"
#include "card_text.h"
#include "scenes/captions.h"
#include "scenes/credits.h"
#include "scenes/square_cards.h"

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

// What a credit card says: a role above (none on the last card) and a line or two.
struct CreditText {
    const char* role;
    std::vector<std::string> what;
};

// The credit images are sized from their cards' widths to a hundredth of a unit, as
// they were first made: the exact 49.514 units of g6 would make it a pixel wider.
double toHundredths(double units)
{
    constexpr double hundredthsPerUnit = 100.0;
    return std::round(units * hundredthsPerUnit) / hundredthsPerUnit;
}

bool writeCredit(const std::string& dir, const CreditCard& card, const CreditText& text, const Fonts& fonts)
{
    constexpr double cardHeight = 2 * creditHalfHeight;
    constexpr int pixelHeight = 128;
    constexpr int haloRadius = 4;
    constexpr int margin = haloMargin(haloRadius);
    constexpr float haloOpacity = 0.6f;
    const int width = pixelsFor(toHundredths(2 * card.halfWidth), cardHeight, pixelHeight);
    const bool hasRole = text.role[0] != '\0';
    std::vector<TextLine> lines;
    if (hasRole) lines.push_back({text.role, &fonts.bold, 0.55f, 0.22f, ice, 0.0f});
    for (size_t i = 0; i < text.what.size(); ++i) {
        const bool roleAbove = i == 0 && hasRole;
        lines.push_back(
            {text.what[i], hasRole ? &fonts.book : &fonts.bold, 1.0f, 0.01f, white, roleAbove ? 0.35f : 0.0f});
    }
    Canvas canvas = makeCanvas(width, pixelHeight);
    const std::vector<Mask> masks =
        fitText(lines, width, pixelHeight, width - 2 * margin, pixelHeight - 2 * margin, width / 2, pixelHeight / 2);
    paintFloatingText(&canvas, lines, masks, haloRadius, haloOpacity);
    const int number = card.slot - slotG1 + 1; // g1 ... g8
    return writePng(dir + "/g" + std::to_string(number) + ".png", canvas, true);
}

// Positions on the square cards are in the demo's overlay units: the square spans
// -fullCardHalf..fullCardHalf both ways, y up.
constexpr double squareUnits = 2.0 * fullCardHalf;
constexpr int squarePixels = 1024;

int unitsToRow(double unitsY)
{
    return static_cast<int>(std::lround((fullCardHalf - unitsY) * squarePixels / squareUnits));
}
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
    // The demo draws its progress bar inside a frame below the centre; nothing but
    // the quiet background lies in that band, and the glass facets fade out a
    // little above it.
    constexpr double barTopUnits = loadingFrameTop;
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
    // Captions, each to the shape of the card rectangle its scene draws it over.
    ok &= writeCaption(
        dir, "s1.png",
        {{"NQL-004", &fonts.bold, 0.32f, 0.45f, white, 0.0f}, {"GLASSWIND", &fonts.bold, 1.0f, 0.18f, white, 0.12f}},
        firstCaptionLeft + firstCaptionRight, 2 * firstCaptionHalfHeight, 1024, 4);
    ok &= writeCaption(dir, "s2.png", {{"where the wind turns to glass", &fonts.book, 1.0f, 0.03f, white, 0.0f}},
                       2 * secondCaptionHalfWidth, 2 * secondCaptionHalfHeight, 512, 2);
    ok &= writeCaption(dir, "s3.png",
                       {{"and the light falls,", &fonts.book, 1.0f, 0.02f, white, 0.0f},
                        {"bead by bead", &fonts.book, 1.0f, 0.02f, white, 0.0f}},
                       2 * thirdCaptionHalfWidth, 2.0 * thirdCaptionHalfHeight, 512, 3);
    // Credits, in the order of the credit table, each to its card's shape.
    const CreditText creditTexts[creditCount] = {
        {"DIRECTION", {"ten scenes", "on one clock"}}, {"CAMERA", {"thirty-seven shots"}},
        {"LIGHT", {"one sun,", "five placements"}},    {"GEOMETRY", {"cubes, cones", "and spheres"}},
        {"CODE", {"C++ and", "OpenGL 1.x"}},           {"MUSIC", {"synthesised", "at 135 BPM"}},
        {"IMAGES", {"FreeType and", "DejaVu Sans"}},   {"", {"thanks for", "watching"}},
    };
    for (int i = 0; i < creditCount; ++i) ok &= writeCredit(dir, creditCards[i], creditTexts[i], fonts);
    ok &= writeEnd(dir, fonts);
    ok &= writeLoading(dir, fonts);
    return ok ? 0 : 1;
}
