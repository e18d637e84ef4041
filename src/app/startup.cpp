// The program's shell: asks the question, opens the display and registers the callbacks.
#include "app/startup.h"

#include "app/clock.h"
#include "app/music.h"
#include "app/render_state.h"
#include "direction/timeline.h"
#include "platform/dialog.h"
#include "platform/screen.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>
#include <cstdio>

const char* const demoTitle = "NQL-004 \"Glasswind\"";
const char* const fullscreenQuestion = "Run in fullscreen mode?";

int windowWidth = 0;
int windowHeight = 0;
char gameModeText[gameModeTextSize];

void (*setupRenderStateStep)() = setupRenderState;

namespace {

// Double-buffered RGBA with depth and multisampling: 0x92.
constexpr unsigned int demoDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
constexpr int gameModeBitsPerPixel = 32;
constexpr int gameModeRefreshHz = 60;
constexpr unsigned char escapeKey = 27;
constexpr double halfWindowWidth = demoWindowWidth / 2.0;
constexpr double halfWindowHeight = demoWindowHeight / 2.0;

} // namespace

WindowPosition centredWindowPosition(const MonitorRect& monitor)
{
    // Computed in double and truncated toward zero: -0.5 becomes 0, not -1. The
    // monitor's origin is added after, so a monitor at x 0 centres as a single screen does.
    const double x = monitor.width * 0.5 - halfWindowWidth;
    const double y = monitor.height * 0.5 - halfWindowHeight;
    return {monitor.x + static_cast<int>(x), monitor.y + static_cast<int>(y)};
}

void formatGameModeText(char* text, int size, int screenWidth, int screenHeight)
{
    std::snprintf(text, static_cast<size_t>(size), "%dx%d:%d@%d", screenWidth, screenHeight, gameModeBitsPerPixel,
                  gameModeRefreshHz);
}

void openDisplay(int argc, char** argv)
{
    // The display keeps a client of ours from before the question box until the
    // windowing library has connected, so a server that resets when its last
    // client leaves never does so in between.
    screen.hold();
    const bool fullScreen = dialogs.askYesNo(fullscreenQuestion, demoTitle) == dialogAnswerYes;

    // On a desktop of several monitors the demo plays on the primary one.
    MonitorRect monitor = {0, 0, 0, 0};
    screen.readPlayMonitor(&monitor);

    startAudio();

    // The demo clock starts here, after the question and the audio.
    int argCount = argc;
    windowing.init(&argCount, argv);
    screen.release();
    windowing.initDisplayMode(demoDisplayMode);

    if (fullScreen) {
        formatGameModeText(gameModeText, gameModeTextSize, monitor.width, monitor.height);
        windowing.gameModeString(gameModeText);
        if (!windowing.enterGameMode()) {
            // The display refused the mode (a refresh rate other than 60 Hz, say):
            // a borderless window over the monitor looks the same.
            windowing.initWindowSize(monitor.width, monitor.height);
            windowing.initWindowPosition(monitor.x, monitor.y);
            windowing.createWindow(demoTitle);
            windowing.fullScreen();
        }
        windowing.setCursor(GLUT_CURSOR_NONE);
    } else {
        const WindowPosition position = centredWindowPosition(monitor);
        windowing.initWindowSize(demoWindowWidth, demoWindowHeight);
        windowing.initWindowPosition(position.x, position.y);
        windowing.createWindow(demoTitle);
    }
}

void onReshape(int width, int height)
{
    windowWidth = width;
    windowHeight = height;
    glViewport(0, 0, width, height);
}

void onKey(unsigned char key, int, int)
{
    if (key == escapeKey) {
        windowing.leaveGameMode();
        windowing.exitProcess(0);
    }
}

int runDemo(int argc, char** argv)
{
    openDisplay(argc, argv);
    setupRenderStateStep();
    windowing.reshapeFunc(onReshape);
    windowing.displayFunc(displayFrame);
    windowing.idleFunc(onIdle);
    windowing.keyboardFunc(onKey);
    windowing.mainLoop();
    return 0;
}
