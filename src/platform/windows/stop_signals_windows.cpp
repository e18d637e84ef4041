// Ctrl-C, Ctrl-Break and a closed console end the demo at once on Windows. The
// system calls the handler on a thread of its own, so it works while the main
// thread sits in the question box or decodes the music.
#include "platform/stop_signals.h"

#include <SDL.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<void (*)()> stopCleanup{nullptr};
void (*exitHook)(int status) = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
        if (void (*cleanup)() = stopCleanup.load()) cleanup();
        // Straight out, with the status Windows gives a program Ctrl-C ends.
        ExitProcess(STATUS_CONTROL_C_EXIT);
    default: return FALSE;
    }
}

// The C runtime does not tell an atexit function the status: every exit() of the
// demo's is exit(0).
void runExitHook() { exitHook(0); }

} // namespace

void endOnStopSignals()
{
    // SDL would otherwise turn Ctrl-C into a quit event that nothing reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Windows gives a Windows-subsystem program no console, even one started from a
    // console: the demo joins the console it was started from, if any, so that
    // console's Ctrl-C and its closing reach it. Started from Explorer there is none;
    // a console program (glasswind-render) has its own already.
    AttachConsole(ATTACH_PARENT_PROCESS);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void setStopCleanup(void (*cleanup)()) { stopCleanup.store(cleanup); }

bool runAtExit(void (*hook)(int status))
{
    exitHook = hook;
    return std::atexit(runExitHook) == 0;
}
