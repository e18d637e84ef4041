// Where the overlays lie and how strongly they show: the overlay box of a window,
// a flash's fade, the letterbox's inner edge and the rows of the scanlines.
#include "view/overlays.h"
#include "view/projection.h"

namespace {

constexpr double overlayHalfSpan = 90.0;
constexpr double letterboxInnerSpan = 75.0;
// Two pixel rows per step: the overlay box is 180 units over the window height.
constexpr double scanlineSpanPerHeight = 360.0;

// Moves y up by one step, rounded to single precision; false (y unchanged) once the
// next line would lie above top, or the step no longer moves y.
bool nextScanline(float* y, float step, float top)
{
    const float next = *y + step;
    // A step too small to move y in single precision would never reach the top.
    if (!(step > 0.0f) || next == *y || !(next <= top)) {
        return false;
    }
    *y = next;
    return true;
}

} // namespace

OverlayBox overlayBoxFor(int width, int height)
{
    const double w = static_cast<float>(width);
    const double h = static_cast<float>(height);
    if (width > height) {
        return {static_cast<float>(-overlayHalfSpan * w / h), static_cast<float>(overlayHalfSpan * w / h),
                static_cast<float>(-overlayHalfSpan), static_cast<float>(overlayHalfSpan)};
    }
    return {static_cast<float>(-overlayHalfSpan), static_cast<float>(overlayHalfSpan),
            static_cast<float>(-overlayHalfSpan * h / w), static_cast<float>(overlayHalfSpan * h / w)};
}

float flashAlpha(int32_t nowMs, int32_t startMs, double ratePerMs)
{
    const int32_t elapsedMs = nowMs - startMs;
    return static_cast<float>(1.0 - elapsedMs * ratePerMs);
}

float letterboxInnerEdge(float edge) { return static_cast<float>(edge / overlayHalfSpan * letterboxInnerSpan); }

float scanlineStep(int windowHeightPx) { return static_cast<float>(scanlineSpanPerHeight / windowHeightPx); }

void walkScanlines(float bottom, float top, int windowHeightPx, void (*line)(float y))
{
    // Stepped in place rather than listed: nothing is allocated in the frame path.
    const float step = scanlineStep(windowHeightPx);
    if (!(step > 0.0f) || !(bottom <= top)) {
        return;
    }
    float y = bottom;
    do {
        line(y);
    } while (nextScanline(&y, step, top));
}
