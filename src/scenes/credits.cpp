// The credit cards of the block-field scene: their times, images and places.
#include "scenes/credits.h"

namespace {

constexpr double creditCentreX = 0.7;  // of the left or right edge
constexpr double creditCentreY = 0.65; // of the bottom or top edge

} // namespace

const CreditCard* creditForTime(int32_t t)
{
    for (const CreditCard& card : creditCards) {
        if (t <= card.lastMs) {
            return &card;
        }
    }
    return nullptr;
}

CardRect creditRect(const CreditCard& card, float boxLeft, float boxRight, float boxBottom, float boxTop)
{
    const float cx = static_cast<float>((card.right ? boxRight : boxLeft) * creditCentreX);
    const float cy = static_cast<float>((card.top ? boxTop : boxBottom) * creditCentreY);
    return {static_cast<float>(cx - card.halfWidth), static_cast<float>(cx + card.halfWidth),
            static_cast<float>(cy - creditHalfHeight), static_cast<float>(cy + creditHalfHeight)};
}
