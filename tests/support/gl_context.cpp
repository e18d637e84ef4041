// One GLUT window per test process, created on first use.
#include "gl_context.h"

#include "app/startup.h"

#include <GL/freeglut.h>

namespace {
bool contextReady = false;
}

void ensureGlContext(unsigned int displayMode)
{
    if (contextReady) {
        return;
    }
    int argc = 1;
    char name[] = "gl_tests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(displayMode);
    glutInitWindowSize(demoWindowWidth, demoWindowHeight);
    glutInitWindowPosition(0, 0);
    glutCreateWindow("gl_tests");
    onReshape(demoWindowWidth, demoWindowHeight);
    contextReady = true;
}
