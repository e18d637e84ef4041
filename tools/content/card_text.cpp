// FreeType text layout and fitting for the card generator.
#include "card_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The DejaVu 2.37 faces committed beside the generator, so the cards rebuild the
// same whatever fonts the machine has.
constexpr const char* fontDir = CONTENT_FONT_DIR "/";
FT_Library fontLibrary;

} // namespace

bool startFonts() { return FT_Init_FreeType(&fontLibrary) == 0; }

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

namespace {

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

// The ink's bounding box of a mask.
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

} // namespace

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
