// The wave field's rise and the pulsing sky colour, as numbers for the props to draw.
#include "scenes/prop_curves.h"

namespace {

constexpr double waveRisePerMs = 0.007;
constexpr double waveRiseDepth = 210.0;

// Pulsing clear colour.
constexpr double pulseBlueLift = 0.1;
constexpr float pulseBlueFloor = 0.1f;

} // namespace

float waveRiseOffset(int32_t t)
{
    const int32_t sinceRise = t - waveRiseMs;
    const float offset = static_cast<float>(sinceRise * waveRisePerMs - waveRiseDepth);
    return offset >= 0.0f ? 0.0f : offset;
}

ClearColour pulseClearColour(float pulseMs, double ratePerMs)
{
    const double brightness = 1.0 - pulseMs * ratePerMs;
    float blue = static_cast<float>(brightness + pulseBlueLift);
    if (blue <= pulseBlueLift) {
        blue = pulseBlueFloor;
    }
    const float grey = static_cast<float>(brightness);
    return {grey, grey, blue};
}
