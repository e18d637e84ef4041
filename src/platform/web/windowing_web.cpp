// The windowing table in the browser: the page's canvas is the window, the clock is
// performance.now() since init, and each animation frame hands over the keys pressed
// since the last one, then makes one idle call and one display. Ending leaves the
// canvas to the page's end state.
#include "platform/web/web_page.h"
#include "platform/web/webgl_backend.h"
#include "platform/windowing.h"

#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>
#include <string_view>

namespace {

constexpr int demoSamples = 4;
constexpr unsigned char escapeKeyByte = 27;
constexpr int keyQueueSize = 16;
const char* const canvasSelector = "#canvas";

struct WebWindow {
    double originMs = 0.0;
    bool redisplay = false;
    int width = 0;
    int height = 0;
    void (*reshape)(int, int) = nullptr;
    void (*display)() = nullptr;
    void (*idle)() = nullptr;
    void (*keyboard)(unsigned char, int, int) = nullptr;
    unsigned char keys[keyQueueSize] = {};
    int keyCount = 0;
};

WebWindow window;

void init(int*, char**) { window.originMs = emscripten_performance_now(); }
void initDisplayMode(unsigned int) {}
void gameModeString(const char*) {}
// No game modes in a page: the start-up falls back to a window over the screen made full screen.
int enterGameMode() { return 0; }
void leaveGameMode() { emscripten_exit_fullscreen(); }
void setCursor(int) { hideCanvasCursor(); }
void initWindowSize(int width, int height) { setCanvasSize(width, height); }
void initWindowPosition(int, int) {}

// Like freeglut's, a window that cannot have its GL ends the program, here with the
// page's message saying what the browser lacks.
int createWindow(const char* title)
{
    setPageTitle(title);
    if (!openWebGl(canvasSelector, demoSamples, keepCanvasPictures(), false)) {
        showNoWebGlMessage();
        std::exit(EXIT_FAILURE);
    }
    return 1;
}

void fullScreen() { askForFullScreen(); }
void reshapeFunc(void (*callback)(int, int)) { window.reshape = callback; }
void displayFunc(void (*callback)()) { window.display = callback; }
void idleFunc(void (*callback)()) { window.idle = callback; }

void queueKey(unsigned char key)
{
    if (window.keyCount < keyQueueSize) {
        window.keys[window.keyCount++] = key;
    }
}

// Keys wait for the next animation frame, as GLUT hands its events over from its own
// loop: an exit they cause then leaves through the main loop, which the runtime ends
// quietly, and never out of the browser's event handler as an uncaught exception.
EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void*)
{
    if (window.keyboard == nullptr) {
        return EM_FALSE;
    }
    const std::string_view key = event->key;
    if (key == "Escape") {
        queueKey(escapeKeyByte);
    } else if (key.size() == 1) {
        queueKey(static_cast<unsigned char>(key[0]));
    }
    return EM_FALSE;
}

void deliverKeys()
{
    const int count = window.keyCount;
    window.keyCount = 0;
    for (int i = 0; i < count; ++i) {
        window.keyboard(window.keys[i], 0, 0);
    }
}

void keyboardFunc(void (*callback)(unsigned char, int, int))
{
    window.keyboard = callback;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKeyDown);
}

// GLUT reshapes before the first display and whenever the window's size changes.
void reshapeIfResized()
{
    int width = 0;
    int height = 0;
    canvasSize(&width, &height);
    if (width == window.width && height == window.height) {
        return;
    }
    window.width = width;
    window.height = height;
    resizeWebGl(width, height);
    if (window.reshape != nullptr) {
        window.reshape(width, height);
    }
}

void animationFrame()
{
    reshapeIfResized();
    deliverKeys();
    if (window.idle != nullptr) {
        window.idle();
    }
    if (window.redisplay && window.display != nullptr) {
        window.redisplay = false;
        window.display();
    }
}

void mainLoop()
{
    reshapeIfResized();
    // 0 frames a second: one call per animation frame, at the display's rate.
    emscripten_set_main_loop(animationFrame, 0, 1);
}

int get(unsigned int query)
{
    switch (query) {
    case GLUT_ELAPSED_TIME: return static_cast<int>(emscripten_performance_now() - window.originMs);
    case GLUT_SCREEN_WIDTH: return screenWidth();
    case GLUT_SCREEN_HEIGHT: return screenHeight();
    default: return 0;
    }
}

void postRedisplay() { window.redisplay = true; }
void swapBuffers() { presentWebGl(); }

// Like the desktop's exit: nothing after it runs. The page shows its end state.
void exitProcess(int code)
{
    showEndState();
    emscripten_cancel_main_loop();
    std::exit(code);
}

} // namespace

// The page's own windowing, in the same table the desktop fills with freeglut.
const WindowingApi glutWindowing = {
    init,        initDisplayMode, gameModeString,     enterGameMode, leaveGameMode,
    setCursor,   initWindowSize,  initWindowPosition, createWindow,  fullScreen,
    reshapeFunc, displayFunc,     idleFunc,           keyboardFunc,  mainLoop,
    get,         postRedisplay,   swapBuffers,        exitProcess,
};

WindowingApi windowing = glutWindowing;
