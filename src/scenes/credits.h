// The credit cards of the block-field scene: which one shows when, and where.
#pragma once

#include <cstdint>

constexpr int creditCount = 8;

struct CreditCard {
    int32_t lastMs;   // shown while t is at most this (after the previous card)
    int slot;         // texture slot of its image
    bool right;       // centre x on the right edge's side, else the left
    bool top;         // centre y on the top edge's side, else the bottom
    double halfWidth; // overlay units; every card is 25 units high
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
