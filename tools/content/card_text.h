// Text on the cards: DejaVu faces through FreeType, lines laid out as a block,
// fitted to an area and painted with a halo.
#pragma once

#include "card_canvas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

struct Font {
    FT_Face face = nullptr;
};

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

// Starts FreeType; false if it cannot.
bool startFonts();
// A face from the committed DejaVu fonts; face is null (and a message printed) if missing.
Font loadFont(const char* file);
// The brightest of the masks at each pixel.
Mask merged(const std::vector<Mask>& masks);
// The text block, as large as fits inside the area (with its margins), its ink
// centred on (centreX, centreY). Returns one mask per line, in canvas coordinates.
std::vector<Mask> fitText(const std::vector<TextLine>& lines, int width, int height, int areaWidth, int areaHeight,
                          int centreX, int centreY);
// Text for a card that floats over the scene: a soft dark halo under light letters.
void paintFloatingText(Canvas* canvas, const std::vector<TextLine>& lines, const std::vector<Mask>& masks,
                       int haloRadius, float haloOpacity);
