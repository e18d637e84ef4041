// The windowing-library calls the shell makes, gathered in one table so tests
// and the render tool can stand in for GLUT (and for process exit).
#pragma once

struct WindowingApi {
    void (*init)(int* argc, char** argv);
    void (*initDisplayMode)(unsigned int mode);
    void (*gameModeString)(const char* text);
    int (*enterGameMode)();
    void (*leaveGameMode)();
    void (*setCursor)(int cursor);
    void (*initWindowSize)(int width, int height);
    void (*initWindowPosition)(int x, int y);
    int (*createWindow)(const char* title);
    void (*fullScreen)();
    void (*reshapeFunc)(void (*callback)(int width, int height));
    void (*displayFunc)(void (*callback)());
    void (*idleFunc)(void (*callback)());
    void (*keyboardFunc)(void (*callback)(unsigned char key, int x, int y));
    void (*mainLoop)();
    int (*get)(unsigned int query);
    void (*postRedisplay)();
    void (*swapBuffers)();
    void (*exitProcess)(int code);
};

// Starts out as the real freeglut calls and the C library's exit.
extern WindowingApi windowing;

// The real table, for restoring after a stand-in.
extern const WindowingApi glutWindowing;
