// The program's shell: asks the question, opens the display and registers the callbacks.
#include "app/startup.h"

#include "app/clock.h"
#include "app/frame.h"
#include "app/idle.h"
#include "app/music.h"
#include "app/render_state.h"
#include "app/warm_up.h"
#include "platform/dialog.h"
#include "platform/screen.h"
#include "platform/windowing.h"
#include "view/projection.h"

#include <GL/freeglut.h>

const char* const demoTitle = "NQL-004 \"Glasswind\"";
const char* const fullscreenQuestion = "Run in fullscreen mode?";

char gameModeText[gameModeTextSize];

void (*setupRenderStateStep)() = setupRenderState;

namespace {

// Double-buffered RGBA with depth and multisampling: 0x92.
constexpr unsigned int demoDisplayMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_MULTISAMPLE;
constexpr unsigned char escapeKey = 27;

// Question, screen size, audio, windowing start, frame-buffer format and the display.
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

} // namespace

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
    windowing.displayFunc(displayLiveFrame);
    windowing.idleFunc(onIdle);
    windowing.keyboardFunc(onKey);
    windowing.mainLoop();
    return 0;
}
