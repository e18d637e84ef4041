// The building blocks of the scenes: ground, forest, fields, spheres, lattice, cards, sky.
#pragma once

#include <GL/gl.h>

void drawGround(float halfSize);
void drawTree(float x, float y, float z);
void drawForest();
void drawWaveField();
void drawTunnelField();
void drawSphereRows();
void drawCubeLattice();
// A textured card in overlay units; the colour multiplies the image.
void drawImageQuad(GLuint texture, float red, float green, float blue, float alpha, float left,
                   float right, float bottom, float top);
// Clear colour from a pulse: white at its restart, fading to dark blue.
void setPulseClearColor(float pulseMs, double ratePerMs);
