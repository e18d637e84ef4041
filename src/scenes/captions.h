// The three caption cards of the forest and sphere scenes: their extents around the
// centre the scene places them at, in overlay units. The card generator draws each
// image to its card's shape.
#pragma once

// Scene 1, first caption: off centre, more of it left of the centre than right.
constexpr double firstCaptionLeft = 80.0;  // left of the centre
constexpr double firstCaptionRight = 70.0; // right of the centre
constexpr double firstCaptionHalfHeight = 12.2625;
// Scene 1, second caption.
constexpr double secondCaptionHalfWidth = 50.0;
constexpr double secondCaptionHalfHeight = 5.38;
// Scene 2, third caption.
constexpr double thirdCaptionHalfWidth = 50.0;
constexpr float thirdCaptionHalfHeight = 14.615f;
