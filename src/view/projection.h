// The two drawing modes: perspective through the camera, and the flat overlay box.
#pragma once

// The window the demo opens, and the view's size until the window reports its own.
constexpr int demoWindowWidth = 800;
constexpr int demoWindowHeight = 450;
// The window's size in pixels as the reshape callback last gave it: the view's input.
extern int windowWidth;
extern int windowHeight;

extern float overlayLeft;
extern float overlayRight;
extern float overlayBottom;
extern float overlayTop;

struct OverlayBox {
    float left;
    float right;
    float bottom;
    float top;
};

// The box whose shorter side spans -90 to 90, centred on a window of this size
// (both sides above 0).
OverlayBox overlayBoxFor(int width, int height);

// While either window side is 0 both modes keep the aspect and box of the last
// usable size (800x450 before any). Each opens or closes a level of the model-view
// stack by the one rule written in projection.cpp.
// Depth and lighting on, blending off, camera on the projection matrix, identity model-view;
// opens a level.
void beginPerspective();
// Depth and lighting off, blending on, the overlay box on the projection, identity model-view;
// closes the open level, if any.
void beginOverlay();
