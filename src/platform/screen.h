// The desktop's size in pixels, read before the windowing library starts.
#pragma once

struct ScreenApi {
    // Width and height of the default screen; 0 and 0 when there is no display.
    void (*readScreenSize)(int* width, int* height);
};

extern ScreenApi screen;
extern const ScreenApi xlibScreen;
