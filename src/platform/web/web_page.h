// What the wasm side asks of the page around the canvas (web/page.js answers).
#pragma once

void setPageTitle(const char* title);
void setCanvasSize(int width, int height);
void canvasSize(int* width, int* height);
void hideCanvasCursor();
void askForFullScreen();
int screenWidth();
int screenHeight();
// True in the still mode (?at=), where each frame must stay readable after it is drawn.
bool keepCanvasPictures();
void setKeepCanvasPictures(bool keep);
// A message in the page in place of a message box.
void showPageMessage(const char* text, const char* title);
// The page's own message that this browser has no WebGL 2, in place of the canvas.
void showNoWebGlMessage();
// The demo ended (Escape, its last moment or a failed start): the quiet end state.
void showEndState();
// The still is drawn: the page marks itself ready.
void markFrameReady(int atMs);
