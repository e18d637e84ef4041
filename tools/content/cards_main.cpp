// Renders the demo's thirteen card images (loading card, captions, credits, end card)
// with FreeType and DejaVu fonts, and writes them as PNG with libpng.
// Usage: content_cards <output directory>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include "xorshift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* fontDir = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* boldFont = "DejaVuSans-Bold.ttf";
constexpr const char* bookFont = "DejaVuSans.ttf";

// ---- pixels ----

struct Colour {
    float r, g, b;
};

constexpr Colour white{1.0f, 1.0f, 1.0f};
constexpr Colour ice{0.66f, 0.85f, 1.0f}; // the pale blue of labels and rules
constexpr Colour mist{0.72f, 0.78f, 0.88f};
constexpr Colour black{0.0f, 0.0f, 0.0f};

// Premultiplied RGBA, row 0 at the top.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;
};

// Coverage 0..1 per pixel.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> value;
};

Canvas makeCanvas(int width, int height)
{
    return {width, height, std::vector<float>(static_cast<size_t>(width) * height * 4, 0.0f)};
}

Mask makeMask(int width, int height)
{
    return {width, height, std::vector<float>(static_cast<size_t>(width) * height, 0.0f)};
}

// Paints colour through the mask, "over" what is there, with the given opacity.
void paint(Canvas* canvas, const Mask& mask, Colour colour, float opacity, int dx = 0, int dy = 0)
{
    for (int y = 0; y < canvas->height; ++y) {
        const int my = y - dy;
        if (my < 0 || my >= mask.height) continue;
        for (int x = 0; x < canvas->width; ++x) {
            const int mx = x - dx;
            if (mx < 0 || mx >= mask.width) continue;
            const float a = std::min(1.0f, mask.value[static_cast<size_t>(my) * mask.width + mx] * opacity);
            if (a <= 0.0f) continue;
            float* p = &canvas->rgba[(static_cast<size_t>(y) * canvas->width + x) * 4];
            p[0] = colour.r * a + p[0] * (1.0f - a);
            p[1] = colour.g * a + p[1] * (1.0f - a);
            p[2] = colour.b * a + p[2] * (1.0f - a);
            p[3] = a + p[3] * (1.0f - a);
        }
    }
}

// Three box passes approximate a Gaussian blur of about the given radius.
Mask blurred(const Mask& mask, int radius)
{
    constexpr int passes = 3;
    Mask out = mask;
    std::vector<float> line;
    for (int pass = 0; pass < passes; ++pass) {
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            const int count = horizontal ? out.height : out.width;
            const int length = horizontal ? out.width : out.height;
            for (int c = 0; c < count; ++c) {
                line.assign(length, 0.0f);
                auto at = [&](int i) -> float& {
                    return horizontal ? out.value[static_cast<size_t>(c) * out.width + i]
                                      : out.value[static_cast<size_t>(i) * out.width + c];
                };
                double sum = 0.0;
                for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < length) ? at(i) : 0.0f;
                for (int i = 0; i < length; ++i) {
                    line[i] = static_cast<float>(sum / (2 * radius + 1));
                    const int leaving = i - radius;
                    const int entering = i + radius + 1;
                    if (leaving >= 0) sum -= at(leaving);
                    if (entering < length) sum += at(entering);
                }
                for (int i = 0; i < length; ++i) at(i) = line[i];
            }
        }
    }
    return out;
}

// ---- text ----

FT_Library fontLibrary;

struct Font {
    FT_Face face = nullptr;
};

Font loadFont(const char* file)
{
    Font font;
    const std::string path = std::string(fontDir) + file;
    if (FT_New_Face(fontLibrary, path.c_str(), 0, &font.face) != 0) {
        std::fprintf(stderr, "cannot load font %s\n", path.c_str());
        font.face = nullptr;
    }
    return font;
}

std::vector<uint32_t> codepoints(const std::string& utf8)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
        out.push_back(cp);
        i += 1 + extra;
    }
    return out;
}

// One line of text: its font, its size as a share of the block's scale, letter
// spacing in ems, colour, and the gap above it in ems of its own size.
struct TextLine {
    std::string text;
    const Font* font;
    float size;
    float tracking;
    Colour colour;
    float gapAbove;
};

// Draws a line with its baseline at (x, baseline) into the mask; returns the advance.
double drawLine(Mask* mask, const TextLine& line, int pixelSize, double x, int baseline)
{
    FT_Face face = line.font->face;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const double tracking = line.tracking * pixelSize;
    double pen = x;
    FT_UInt previous = 0;
    for (uint32_t cp : codepoints(line.text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, cp);
        if (previous && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += kern.x / 64.0;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) continue;
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        const int left = static_cast<int>(std::lround(pen)) + face->glyph->bitmap_left;
        const int top = baseline - face->glyph->bitmap_top;
        for (unsigned int row = 0; row < bitmap.rows; ++row) {
            for (unsigned int col = 0; col < bitmap.width; ++col) {
                const int px = left + static_cast<int>(col);
                const int py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= mask->width || py >= mask->height) continue;
                float& v = mask->value[static_cast<size_t>(py) * mask->width + px];
                v = std::max(v, bitmap.buffer[row * bitmap.pitch + col] / 255.0f);
            }
        }
        pen += face->glyph->advance.x / 64.0 + tracking;
        previous = glyph;
    }
    return pen - x - tracking;
}

struct InkBox {
    int left, top, right, bottom; // right and bottom exclusive; empty when right <= left
};

InkBox inkOf(const Mask& mask)
{
    constexpr float inkThreshold = 0.02f;
    InkBox box{mask.width, mask.height, 0, 0};
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (mask.value[static_cast<size_t>(y) * mask.width + x] > inkThreshold) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box;
}

// Lays the lines out centred, one under the other, at `scale` pixels per size unit.
// Each line gets a mask of its own so each can keep its colour.
std::vector<Mask> layOut(const std::vector<TextLine>& lines, double scale, int width, int height)
{
    constexpr double ascentShare = 0.8;
    constexpr double lineShare = 1.2;
    std::vector<Mask> masks;
    double y = height / 4.0; // room above for accents and quotes
    for (const TextLine& line : lines) {
        const int pixelSize = std::max(1, static_cast<int>(std::lround(line.size * scale)));
        y += line.gapAbove * pixelSize;
        Mask probe = makeMask(1, 1);
        const double advance = drawLine(&probe, line, pixelSize, 0.0, 0); // measures only
        Mask mask = makeMask(width, height);
        const int baseline = static_cast<int>(std::lround(y + ascentShare * pixelSize));
        drawLine(&mask, line, pixelSize, (width - advance) / 2.0, baseline);
        masks.push_back(mask);
        y += lineShare * pixelSize;
    }
    return masks;
}

Mask merged(const std::vector<Mask>& masks)
{
    Mask all = masks.front();
    for (const Mask& m : masks) {
        for (size_t i = 0; i < all.value.size(); ++i) all.value[i] = std::max(all.value[i], m.value[i]);
    }
    return all;
}

// The text block, as large as fits inside the area (with its margins), its ink
// centred on (centreX, centreY). Returns one mask per line, in canvas coordinates.
std::vector<Mask> fitText(const std::vector<TextLine>& lines, int width, int height, int areaWidth, int areaHeight,
                          int centreX, int centreY)
{
    constexpr double probeScale = 100.0;
    constexpr double shrink = 0.98;
    // A first layout at a known scale tells roughly how far to scale; then shrink
    // step by step until hinting and rounding let it fit.
    const InkBox probe = inkOf(merged(layOut(lines, probeScale, width * 2, height * 2)));
    double scale = probeScale * std::min(static_cast<double>(areaWidth) / (probe.right - probe.left),
                                         static_cast<double>(areaHeight) / (probe.bottom - probe.top));
    for (;;) {
        std::vector<Mask> masks = layOut(lines, scale, width * 2, height * 2);
        const InkBox ink = inkOf(merged(masks));
        const int inkWidth = ink.right - ink.left;
        const int inkHeight = ink.bottom - ink.top;
        const bool touchesEdge = ink.left <= 0 || ink.top <= 0 || ink.right >= width * 2 || ink.bottom >= height * 2;
        if (!touchesEdge && inkWidth <= areaWidth && inkHeight <= areaHeight) {
            const int dx = centreX - (ink.left + ink.right) / 2;
            const int dy = centreY - (ink.top + ink.bottom) / 2;
            std::vector<Mask> placed;
            for (const Mask& m : masks) {
                Mask cropped = makeMask(width, height);
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const int sx = x - dx;
                        const int sy = y - dy;
                        if (sx < 0 || sy < 0 || sx >= m.width || sy >= m.height) continue;
                        cropped.value[static_cast<size_t>(y) * width + x] =
                            m.value[static_cast<size_t>(sy) * m.width + sx];
                    }
                }
                placed.push_back(cropped);
            }
            return placed;
        }
        scale *= shrink;
    }
}

// Text for a card that floats over the scene: a soft dark halo under light letters.
void paintFloatingText(Canvas* canvas, const std::vector<TextLine>& lines, const std::vector<Mask>& masks,
                       int haloRadius, float haloOpacity)
{
    constexpr float haloGain = 2.5f;
    const Mask halo = blurred(merged(masks), haloRadius);
    paint(canvas, halo, black, haloOpacity * haloGain);
    for (size_t i = 0; i < masks.size(); ++i) paint(canvas, masks[i], lines[i].colour, 1.0f);
}

// ---- backgrounds ----

float randomUnit(uint32_t* state) { return static_cast<float>(nextRandom(state) / 4294967296.0); }

float smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

struct Point {
    float x, y;
};

float cross(Point a, Point b, Point c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }

float distanceToSegment(Point p, Point a, Point b)
{
    const float vx = b.x - a.x, vy = b.y - a.y;
    const float t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
    const float dx = a.x + t * vx - p.x, dy = a.y + t * vy - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

// A deep blue night with faint glass facets, a glow behind the title and edges that
// fall to black so the square sits quietly on the black screen around it. Facets
// fade out below `facetFloor` (a share of the height), keeping that part plain.
Canvas nightGlass(int size, uint32_t seed, Colour top, Colour bottom, float glowY, float facetFloor)
{
    constexpr int cells = 7;
    constexpr float jitter = 0.38f;
    constexpr float facetShade = 0.05f;
    constexpr float edgeLight = 0.11f;
    constexpr float edgeWidth = 1.3f;
    constexpr float glowRadius = 0.42f;
    constexpr Colour glowColour{0.16f, 0.32f, 0.62f};
    constexpr float glowStrength = 0.55f;
    constexpr float vignetteStart = 0.3f;
    constexpr float vignetteEnd = 0.6f; // black at the middle of each edge
    Canvas canvas = makeCanvas(size, size);
    const float cell = static_cast<float>(size) / cells;
    uint32_t rng = seed;
    std::vector<Point> grid((cells + 1) * (cells + 1));
    for (int j = 0; j <= cells; ++j) {
        for (int i = 0; i <= cells; ++i) {
            const bool border = i == 0 || j == 0 || i == cells || j == cells;
            const float jx = border ? 0.0f : (randomUnit(&rng) - 0.5f) * 2.0f * jitter;
            const float jy = border ? 0.0f : (randomUnit(&rng) - 0.5f) * 2.0f * jitter;
            grid[j * (cells + 1) + i] = {(i + jx) * cell, (j + jy) * cell};
        }
    }
    std::vector<float> shade(cells * cells * 2);
    for (float& s : shade) s = (randomUnit(&rng) - 0.5f) * 2.0f * facetShade;
    for (int y = 0; y < size; ++y) {
        const float fy = static_cast<float>(y) / (size - 1);
        const Colour base{top.r + (bottom.r - top.r) * fy, top.g + (bottom.g - top.g) * fy,
                          top.b + (bottom.b - top.b) * fy};
        const float facetFade = 1.0f - smoothstep(facetFloor - 0.1f, facetFloor, fy);
        for (int x = 0; x < size; ++x) {
            const Point p{x + 0.5f, y + 0.5f};
            float facet = 0.0f;
            float edge = 1e9f;
            const int ci = std::min(cells - 1, static_cast<int>(p.x / cell));
            const int cj = std::min(cells - 1, static_cast<int>(p.y / cell));
            for (int j = std::max(0, cj - 1); j <= std::min(cells - 1, cj + 1); ++j) {
                for (int i = std::max(0, ci - 1); i <= std::min(cells - 1, ci + 1); ++i) {
                    const Point a = grid[j * (cells + 1) + i], b = grid[j * (cells + 1) + i + 1];
                    const Point c = grid[(j + 1) * (cells + 1) + i + 1], d = grid[(j + 1) * (cells + 1) + i];
                    const Point tris[2][3] = {{a, b, c}, {a, c, d}};
                    for (int t = 0; t < 2; ++t) {
                        const Point* q = tris[t];
                        if (cross(q[0], q[1], p) >= 0 && cross(q[1], q[2], p) >= 0 && cross(q[2], q[0], p) >= 0) {
                            facet = shade[(j * cells + i) * 2 + t];
                            for (int e = 0; e < 3; ++e)
                                edge = std::min(edge, distanceToSegment(p, q[e], q[(e + 1) % 3]));
                        }
                    }
                }
            }
            const float edgeGlow = edgeLight * (1.0f - smoothstep(0.0f, edgeWidth, edge));
            const float dx = (x - size * 0.5f) / size, dy = (y - size * glowY) / size;
            const float glow = glowStrength * std::exp(-(dx * dx + dy * dy) / (glowRadius * glowRadius * 0.5f));
            const float cx = std::fabs(x - size * 0.5f) / size;
            const float cy = std::fabs(y - size * 0.5f) / size;
            const float vignette = 1.0f - smoothstep(vignetteStart, vignetteEnd, std::sqrt(cx * cx + cy * cy) * 1.2f);
            const float lift = (facet + edgeGlow) * facetFade;
            float* px = &canvas.rgba[(static_cast<size_t>(y) * size + x) * 4];
            px[0] = std::max(0.0f, (base.r + glow * glowColour.r + lift * 0.7f) * vignette);
            px[1] = std::max(0.0f, (base.g + glow * glowColour.g + lift * 0.85f) * vignette);
            px[2] = std::max(0.0f, (base.b + glow * glowColour.b + lift) * vignette);
            px[3] = 1.0f;
        }
    }
    return canvas;
}

// A thin horizontal rule that fades out at both ends.
Mask rule(int width, int height, int centreX, int y, int halfLength, int thickness)
{
    Mask mask = makeMask(width, height);
    for (int row = y; row < y + thickness; ++row) {
        for (int x = centreX - halfLength; x <= centreX + halfLength; ++x) {
            const float t = std::fabs(static_cast<float>(x - centreX)) / halfLength;
            mask.value[static_cast<size_t>(row) * width + x] = 1.0f - smoothstep(0.4f, 1.0f, t);
        }
    }
    return mask;
}

// ---- files ----

bool writePng(const std::string& path, const Canvas& canvas, bool withAlpha)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    const int channels = withAlpha ? 4 : 3;
    png_set_IHDR(png, info, canvas.width, canvas.height, 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(canvas.width) * channels);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const float* p = &canvas.rgba[(static_cast<size_t>(y) * canvas.width + x) * 4];
            const float a = withAlpha ? p[3] : 1.0f;
            for (int c = 0; c < 3; ++c) {
                // Stored straight (not premultiplied), as the overlay's source-alpha blend expects.
                const float v = a > 0.0f ? p[c] / a : 0.0f;
                row[x * channels + c] = static_cast<png_byte>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
            }
            if (withAlpha)
                row[x * channels + 3] = static_cast<png_byte>(std::lround(std::clamp(a, 0.0f, 1.0f) * 255.0f));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// ---- the cards ----

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
    if (FT_Init_FreeType(&fontLibrary) != 0) return 1;
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
