// Start-up: the full-screen question, audio, the window or game mode, the callbacks.
#pragma once

#include "platform/monitors.h"
#include "view/projection.h"

constexpr int gameModeTextSize = 128;
extern const char* const demoTitle;
extern const char* const fullscreenQuestion;

extern char gameModeText[gameModeTextSize];

struct WindowPosition {
    int x;
    int y;
};

// The top-left corner, on the X screen, that centres the demo window on this monitor.
WindowPosition centredWindowPosition(const MonitorRect& monitor);
// "WxH:32@60" for the monitor's own resolution, into a buffer of the given size.
void formatGameModeText(char* text, int size, int screenWidth, int screenHeight);

// The GLUT reshape and keyboard callbacks.
void onReshape(int width, int height);
void onKey(unsigned char key, int x, int y);

// The whole start-up sequence; enters the event loop and returns 0 only if it ever returns.
int runDemo(int argc, char** argv);

// The render-state step of start-up; tests put a recorder here.
extern void (*setupRenderStateStep)();
