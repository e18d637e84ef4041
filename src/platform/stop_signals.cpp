// A thread of its own takes the stop signals, so they are handled even while the
// main thread sits in a dialog or decodes the music, and nothing of SDL's or
// ours runs inside a signal handler.
#include "platform/stop_signals.h"

#include <SDL.h>
#include <dirent.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int signalExitBase = 128; // the shell's convention: killed by N exits 128 + N
constexpr int pathBytes = 300;      // "/proc/self/task/", a name of up to 255 bytes, "/children"

std::atomic<void (*)()> stopCleanup{nullptr};
void (*exitHook)(int status) = nullptr;

sigset_t stopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int number : stopSignals) sigaddset(&set, number);
    return set;
}

// Kills a child, and its whole process group where it leads one: a desktop dialog
// tool runs in a group of its own, so that nothing it started outlives it.
void killChild(pid_t child)
{
    if (getpgid(child) == child) kill(-child, SIGKILL);
    kill(child, SIGKILL);
}

// Kills the processes this one started (SDL's message box and the desktop's dialog
// tool run in children that would otherwise stay on screen after we are gone).
void killChildren()
{
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr) return;
    while (dirent* task = readdir(tasks)) {
        if (task->d_name[0] == '.') continue;
        char path[pathBytes];
        std::snprintf(path, sizeof path, "/proc/self/task/%s/children", task->d_name);
        std::FILE* children = std::fopen(path, "r");
        if (children == nullptr) continue;
        long child = 0;
        while (std::fscanf(children, "%ld", &child) == 1) killChild(static_cast<pid_t>(child));
        std::fclose(children);
    }
    closedir(tasks);
}

void* waitForStopSignal(void*)
{
    const sigset_t set = stopSignalSet();
    int number = 0;
    while (sigwait(&set, &number) != 0) {
    }
    killChildren();
    if (void (*cleanup)() = stopCleanup.load()) cleanup();
    // Straight out: the main thread may be anywhere, so nothing is torn down under it.
    _exit(signalExitBase + number);
}

void runExitHook(int status, void*) { exitHook(status); }

} // namespace

void endOnStopSignals()
{
    // The demo writes no files, so Mesa keeps no shader cache on disk for it
    // (unless the user asks for one). Its cache thread runs at the lowest
    // priority, and on a busy machine the process could not end until that
    // thread got a turn: Ctrl-C took up to 4.5 s instead of 0.2 s.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    // SDL would otherwise turn these signals into a quit event that nothing reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const sigset_t set = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    pthread_t watcher;
    if (pthread_create(&watcher, nullptr, waitForStopSignal, nullptr) == 0) {
        pthread_detach(watcher);
    } else {
        // Without the watcher the default actions must stay in force.
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    }
}

void setStopCleanup(void (*cleanup)()) { stopCleanup.store(cleanup); }

bool runAtExit(void (*hook)(int status))
{
    exitHook = hook;
    return on_exit(runExitHook, nullptr) == 0;
}
