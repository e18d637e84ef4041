// The generators' random numbers: xorshift32, small and the same on every machine,
// so a fixed seed always gives the same images and the same sound.
#pragma once

#include <cstdint>

inline uint32_t nextRandom(uint32_t* state)
{
    uint32_t x = *state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    *state = x;
    return x;
}
