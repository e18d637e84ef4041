// The picture the tool draws into: a framebuffer object of any size, multisampled
// where the driver offers it; a small hidden GLUT window only holds the GL context.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The samples per pixel the demo's window asks for.
constexpr int wantedSamples = 4;

// Opens the display, the hidden window and the framebuffers, and binds them for drawing.
bool openOffscreen(int width, int height, std::string* error);
// Samples per pixel in use; 0 when the picture is not multisampled.
int offscreenSamples();
// Resolves the multisampled picture into the one that is read back.
void resolveOffscreen();
// Waits until the GL has finished drawing.
void waitForPicture();
// The resolved picture as 8-bit RGB, top row first.
void readOffscreenRgb(std::vector<uint8_t>* rgb);
