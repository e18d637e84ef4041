// Drawing every scene once while the loading card shows, so that a driver which
// builds its shaders on first use (Mesa's llvmpipe takes about 150 ms) has each
// scene's state ready before that scene's first frame is due.
#pragma once

#include <cstdint>

// Warming stops this long before the music starts, and a scene is warmed only
// while twice the longest warm-up so far still fits before that, so that on a
// slow or busy machine no warm-up holds back the frame the music starts on.
constexpr int32_t warmUpEndsBeforeMusicMs = 500;
constexpr int32_t warmUpRoomFactor = 2;

// Draws scene's first moment into the back buffer, never shown, then puts back
// everything a frame changes: the clock, the pulses, the shot, the light, the
// clear colour and the rest of the GL state.
void warmUpScene(int scene);

// The live demo's display callback: the frame, then, while the loading card
// holds, one scene of the warm-up (the card itself is drawn first, so it
// appears as soon as it did without one).
void displayLiveFrame();
