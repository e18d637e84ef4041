// The credit cards of the block-field scene: their times, images and places.
#include "scenes/credits.h"

#include "assets/texture_slots.h"

namespace {

constexpr double creditCentreX = 0.7;  // of the left or right edge
constexpr double creditCentreY = 0.65; // of the bottom or top edge
constexpr double creditHalfHeight = 12.5;
constexpr bool onRight = true;
constexpr bool onLeft = false;
constexpr bool onTop = true;
constexpr bool onBottom = false;
constexpr CreditCard creditCards[creditCount] = {
    {122330, slotG1 + 0, onRight, onBottom, 26.394}, {125880, slotG1 + 1, onLeft, onTop, 32.175},
    {129440, slotG1 + 2, onRight, onBottom, 27.091}, {133000, slotG1 + 3, onRight, onTop, 22.478},
    {136550, slotG1 + 4, onLeft, onBottom, 15.576},  {140110, slotG1 + 5, onLeft, onTop, 24.757},
    {143660, slotG1 + 6, onRight, onTop, 25.283},    {147220, slotG1 + 7, onRight, onBottom, 21.656},
};

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
