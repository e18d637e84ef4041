// The browser build's freeglut header: the standard GLUT names, which is all the demo takes from it.
#pragma once

#include <GL/freeglut_std.h>
