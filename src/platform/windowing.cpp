// The real windowing table: freeglut and the C library's exit.
#include "platform/windowing.h"

#include "platform/full_screen.h"

#include <GL/freeglut.h>

#include <cstdlib>

namespace {

void leaveGameModeIfActive()
{
    // freeglut complains when asked to leave a game mode it never entered.
    if (glutGameModeGet(GLUT_GAME_MODE_ACTIVE)) {
        glutLeaveGameMode();
    }
}

[[noreturn]] void exitProcess(int code) { std::exit(code); }

} // namespace

const WindowingApi glutWindowing = {
    glutInit,        glutInitDisplayMode, glutGameModeString,     glutEnterGameMode, leaveGameModeIfActive,
    glutSetCursor,   glutInitWindowSize,  glutInitWindowPosition, glutCreateWindow,  fullScreenOnItsMonitor,
    glutReshapeFunc, glutDisplayFunc,     glutIdleFunc,           glutKeyboardFunc,  glutMainLoop,
    glutGet,         glutPostRedisplay,   glutSwapBuffers,        exitProcess,
};

WindowingApi windowing = glutWindowing;
