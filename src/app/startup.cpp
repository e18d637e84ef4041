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

WindowPosition centredWindowPosition(int screenWidth, int screenHeight)
{
    // Computed in double and truncated toward zero: -0.5 becomes 0, not -1.
    const double x = screenWidth * 0.5 - halfWindowWidth;
    const double y = screenHeight * 0.5 - halfWindowHeight;
    return {static_cast<int>(x), static_cast<int>(y)};
}

void formatGameModeText(char* text, int size, int screenWidth, int screenHeight)
{
    std::snprintf(text, static_cast<size_t>(size), "%dx%d:%d@%d", screenWidth, screenHeight,
                  gameModeBitsPerPixel, gameModeRefreshHz);
}

void openDisplay(int argc, char** argv)
{
    const bool fullScreen = dialogs.askYesNo(fullscreenQuestion, demoTitle) == dialogAnswerYes;

    int screenWidth = 0;
    int screenHeight = 0;
    screen.readScreenSize(&screenWidth, &screenHeight);

    startAudio();

    // The demo clock starts here, after the question and the audio.
    int argCount = argc;
    windowing.init(&argCount, argv);
    windowing.initDisplayMode(demoDisplayMode);

    if (fullScreen) {
        formatGameModeText(gameModeText, gameModeTextSize, screenWidth, screenHeight);
        windowing.gameModeString(gameModeText);
        if (!windowing.enterGameMode()) {
            // The display refused the mode (a refresh rate other than 60 Hz, say):
            // a borderless window over the whole screen looks the same.
            windowing.initWindowSize(screenWidth, screenHeight);
            windowing.initWindowPosition(0, 0);
            windowing.createWindow(demoTitle);
            windowing.fullScreen();
        }
        windowing.setCursor(GLUT_CURSOR_NONE);
    } else {
        const WindowPosition position = centredWindowPosition(screenWidth, screenHeight);
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
