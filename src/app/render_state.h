// The OpenGL state that holds for the whole run, set once at start-up.
#pragma once

extern int sampleBufferCount;
extern int samplesPerPixel;

// The fixed render state, the multisample notice, then the texture set.
void setupRenderState();
