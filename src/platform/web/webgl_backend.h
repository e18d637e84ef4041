// The thin WebGL 2 side of the web layer: one shader that draws the fixed-function
// batches, a multisampled picture resolved onto the canvas, and the texture calls.
#pragma once

#include "platform/web/fixed_pipeline.h"

#include <array>

// Makes a WebGL 2 context on the page's canvas, of the canvas's size, drawing into
// a picture of up to samples samples a pixel. false without WebGL 2. samplePicture
// draws 4 samples exactly where llvmpipe puts them (slower: for stills, and only
// where 16 times the canvas fits the GL's largest picture).
bool openWebGl(const char* canvasSelector, int samples, bool keepPictures, bool samplePicture);
// The canvas took a new size: the multisampled picture follows it.
void resizeWebGl(int width, int height);
// Samples a pixel that the picture got (0 for none).
int webGlSamples();

void clearWebGl(unsigned mask, bool multisample);
void setWebGlClearColour(float red, float green, float blue, float alpha);
// The clear colour last set (GL's start: transparent black).
std::array<float, 4> webGlClearColour();
void setWebGlViewport(int x, int y, int width, int height);
void setWebGlBlendFunction(unsigned source, unsigned destination);

void generateWebGlTextures(int count, unsigned* names);
void bindWebGlTexture(unsigned name);
void setWebGlTextureImage(int internalFormat, int width, int height, unsigned format, unsigned type,
                          const void* pixels);
void setWebGlTextureParameter(unsigned parameter, int value);
void setWebGlPixelStore(unsigned parameter, int value);
int webGlInteger(unsigned parameter);

// The end of a frame: a picture still in the multisampled buffer goes onto the canvas.
void presentWebGl();
