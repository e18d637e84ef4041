// The building blocks of the scenes: ground, forest, fields, spheres, lattice, cards, sky.
#pragma once

#include "scenes/prop_curves.h"

#include <GL/gl.h>

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
