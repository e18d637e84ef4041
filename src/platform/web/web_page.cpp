// The page calls of the web layer, passed to the hooks that web/page.js puts on Module.
#include "platform/web/web_page.h"

#include <emscripten.h>

namespace {

bool keepPictures = false;

} // namespace

EM_JS(void, jsSetPageTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, jsSetCanvasSize, (int width, int height), { Module.glasswindPage.setCanvasSize(width, height); });

EM_JS(int, jsCanvasWidth, (), { return Module.canvas.width; });
EM_JS(int, jsCanvasHeight, (), { return Module.canvas.height; });
EM_JS(void, jsHideCursor, (), { Module.canvas.style.cursor = 'none'; });
EM_JS(void, jsAskForFullScreen, (), { Module.glasswindPage.askForFullScreen(); });
EM_JS(int, jsScreenWidth, (), { return Math.round(window.screen.width * (window.devicePixelRatio || 1)); });
EM_JS(int, jsScreenHeight, (), { return Math.round(window.screen.height * (window.devicePixelRatio || 1)); });

EM_JS(void, jsShowMessage, (const char* text, const char* title),
      { Module.glasswindPage.showMessage(UTF8ToString(text), UTF8ToString(title)); });

EM_JS(void, jsShowNoWebGl, (), { Module.glasswindPage.showNoWebGl(); });
EM_JS(void, jsShowEndState, (), { Module.glasswindPage.showEndState(); });
EM_JS(void, jsMarkFrameReady, (int atMs), { Module.glasswindPage.markFrameReady(atMs); });

void setPageTitle(const char* title) { jsSetPageTitle(title); }
void setCanvasSize(int width, int height) { jsSetCanvasSize(width, height); }

void canvasSize(int* width, int* height)
{
    *width = jsCanvasWidth();
    *height = jsCanvasHeight();
}

void hideCanvasCursor() { jsHideCursor(); }
void askForFullScreen() { jsAskForFullScreen(); }
int screenWidth() { return jsScreenWidth(); }
int screenHeight() { return jsScreenHeight(); }
bool keepCanvasPictures() { return keepPictures; }
void setKeepCanvasPictures(bool keep) { keepPictures = keep; }
void showPageMessage(const char* text, const char* title) { jsShowMessage(text, title); }
void showNoWebGlMessage() { jsShowNoWebGl(); }
void showEndState() { jsShowEndState(); }
void markFrameReady(int atMs) { jsMarkFrameReady(atMs); }
