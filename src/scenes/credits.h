// The credit cards of the block-field scene: which one shows when, and where. The
// card generator draws each image to its card's shape.
#pragma once

#include "assets/texture_slots.h"

#include <cstdint>

constexpr int creditCount = 8;
constexpr double creditHalfHeight = 12.5; // overlay units, the same for every card

struct CreditCard {
    int32_t lastMs;   // shown while t is at most this (after the previous card)
    int slot;         // texture slot of its image
    bool right;       // centre x on the right edge's side, else the left
    bool top;         // centre y on the top edge's side, else the bottom
    double halfWidth; // overlay units
};

constexpr bool onRight = true;
constexpr bool onLeft = false;
constexpr bool onTop = true;
constexpr bool onBottom = false;
inline constexpr CreditCard creditCards[creditCount] = {
    {122330, slotG1 + 0, onRight, onBottom, 26.394}, {125880, slotG1 + 1, onLeft, onTop, 32.175},
    {129440, slotG1 + 2, onRight, onBottom, 27.091}, {133000, slotG1 + 3, onRight, onTop, 22.478},
    {136550, slotG1 + 4, onLeft, onBottom, 15.576},  {140110, slotG1 + 5, onLeft, onTop, 24.757},
    {143660, slotG1 + 6, onRight, onTop, 25.283},    {147220, slotG1 + 7, onRight, onBottom, 21.656},
};

struct CardRect {
    float left;
    float right;
    float bottom;
    float top;
};

// The first card whose last time is at least t, or nullptr after the last one.
const CreditCard* creditForTime(int32_t t);
// Where the card lies for the given overlay box edges.
CardRect creditRect(const CreditCard& card, float boxLeft, float boxRight, float boxBottom, float boxTop);
