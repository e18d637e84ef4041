// The loading and end cards fill a square in the middle of the overlay box, and the
// loading bar's frame lies over the first; the card generator keeps that band clear.
#pragma once

constexpr float fullCardHalf = 90.0f; // overlay units, both ways from the centre
// The loading bar's frame, top and bottom edges in overlay units, y up.
constexpr float loadingFrameTop = -60.0f;
constexpr float loadingFrameBottom = -74.0f;
