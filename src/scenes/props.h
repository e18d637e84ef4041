// The building blocks of the scenes: ground, forest, fields, spheres, lattice, cards, sky.
#pragma once

#include <GL/gl.h>

#include <cstdint>

// The time at which the wave field is furthest below its rest height.
constexpr int32_t waveRiseMs = 90330;

// A white square of the given half-size on y = 0, unlit; enters the perspective mode itself.
void drawGround(float halfSize);
// A trunk and a four-sided crown standing on (x, y, z).
void drawTree(float x, float y, float z);
// 29 x 29 trees, 30 units apart.
void drawForest();
// 26 x 26 columns on a fixed wave surface, rising into place after waveRiseMs.
void drawWaveField();
// 51 x 51 stretched cubes far down the -z axis, coloured by position.
void drawTunnelField();
// Five rows of translucent spheres swaying sideways.
void drawSphereRows();
// 172 small cubes in a tilted lattice; leaves its tilt on the model-view matrix.
void drawCubeLattice();
// A textured card in overlay units; the colour multiplies the image.
void drawImageQuad(GLuint texture, float red, float green, float blue, float alpha, float left, float right,
                   float bottom, float top);
// Clear colour from a pulse: white at its restart, fading to dark blue.
void setPulseClearColor(float pulseMs, double ratePerMs);

// How far below its rest height the wave field stands at time t (0 from rest on).
float waveRiseOffset(int32_t t);

struct ClearColour {
    float red;
    float green;
    float blue;
};

// The clear colour for a pulse value and rate, before OpenGL clamps it.
ClearColour pulseClearColour(float pulseMs, double ratePerMs);
