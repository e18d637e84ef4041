// The picture the tool draws into: a framebuffer object of any size, multisampled
// where the driver offers it; a small hidden GLUT window only holds the GL context.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Opens the display, the hidden window and the framebuffers, and binds them for drawing,
// with the samples per pixel asked for (samplesAsTheDemoAsks: 4, or the most below).
bool openOffscreen(int width, int height, int wantedSamples, std::string* error);
// Resolves the multisampled picture into the one that is read back.
void resolveOffscreen();
// Waits until the GL has finished drawing.
void waitForPicture();
// Starts copying the resolved picture out without waiting for it; at most two copies
// may wait to be taken.
void queuePictureRead();
// The oldest copy started, as 8-bit RGB, top row first; waits for it if need be.
void takePictureRead(std::vector<uint8_t>* rgb);
// The resolved picture as 8-bit RGB, top row first, read at once; no copy may be waiting.
void readOffscreenRgb(std::vector<uint8_t>* rgb);
