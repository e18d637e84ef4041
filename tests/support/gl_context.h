// A real GL context for tests: one hidden-away GLUT window per test process.
#pragma once

// Creates the context on first use (800x450 window unless told otherwise) and
// makes it current; later calls reuse it. displayMode is the GLUT mode bits.
void ensureGlContext(unsigned int displayMode = 0x92);
