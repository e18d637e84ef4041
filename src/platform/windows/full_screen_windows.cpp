// Full screen on Windows: freeglut makes the window cover the monitor it stands on.
#include "platform/full_screen.h"

#include <GL/freeglut.h>

void fullScreenOnItsMonitor() { glutFullScreen(); }
