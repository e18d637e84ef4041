// Starts a desktop dialog tool and waits for its end on its process descriptor and
// the X display, where its window must appear in time or the tool counts as hung.
#include "platform/dialog_tool_run.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <iterator>

namespace {

using Clock = std::chrono::steady_clock;

// Window managers put a client's window in a frame of a frame or so: a mapped
// top-level window is searched this many levels down for the tool's.
constexpr int windowSearchDepth = 4;
constexpr int firstUninheritedFd = 3;   // past standard input, output and error
constexpr int execFailedExitCode = 127; // as a shell reports a command it could not run
constexpr int waitForever = -1;
constexpr long pidLength = 1; // _NET_WM_PID is one 32-bit number

std::vector<char*> pointersTo(const std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (const std::string& text : strings) pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// The child leads a process group of its own, so that it can be ended with all it
// starts, dies with the demo, and runs with no signal of the demo's blocked.
// Only async-signal-safe calls between fork and exec.
pid_t startTool(const char* path, char* const* argv, char* const* envp)
{
    const pid_t demo = getpid();
    const pid_t child = fork();
    if (child != 0) {
        if (child > 0) setpgid(child, child);
        return child;
    }
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != demo) _exit(execFailedExitCode);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close_range(firstUninheritedFd, UINT_MAX, 0);
    execve(path, argv, envp);
    _exit(execFailedExitCode);
}

// A window being destroyed while it is searched is no error of ours.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

bool ownedByTool(Display* display, Window window, Atom pidAtom, pid_t tool)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, pidAtom, 0, pidLength, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) != Success) {
        return false;
    }
    bool owned = false;
    if (data != nullptr && type == XA_CARDINAL && count == 1) {
        const auto pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        owned = pid == tool || getpgid(pid) == tool;
    }
    if (data != nullptr) XFree(data);
    return owned;
}

bool holdsToolWindow(Display* display, Window window, Atom pidAtom, pid_t tool, int depth)
{
    if (ownedByTool(display, window, pidAtom, tool)) return true;
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (depth == 0 || !XQueryTree(display, window, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        found = holdsToolWindow(display, children[i], pidAtom, tool, depth - 1);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// Reads what the display has sent; true when a window the tool owns was mapped.
bool toolWindowMapped(Display* display, Atom pidAtom, pid_t tool)
{
    bool mapped = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !mapped) {
            mapped = holdsToolWindow(display, event.xmap.window, pidAtom, tool, windowSearchDepth);
        }
    }
    return mapped;
}

// Ends whatever is left of the tool's process group and collects the tool.
ToolEnd collectTool(pid_t tool)
{
    kill(-tool, SIGKILL);
    int status = 0;
    pid_t collected = 0;
    do {
        collected = waitpid(tool, &status, 0);
    } while (collected < 0 && errno == EINTR);
    if (collected < 0) return {ToolEndKind::failed, errno};
    if (WIFSIGNALED(status)) return {ToolEndKind::killed, WTERMSIG(status)};
    return {ToolEndKind::exited, WEXITSTATUS(status)};
}

enum class Watch { windowShown, toolEnded, timedOut };

// Waits for the tool's window, its end, or the deadline, whichever comes first.
Watch watchForWindow(pid_t tool, int toolEnded, Display* display, int windowLimitMs)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(windowLimitMs);
    for (;;) {
        if (toolWindowMapped(display, pidAtom, tool)) return Watch::windowShown;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return Watch::timedOut;
        pollfd watched[] = {{toolEnded, POLLIN, 0}, {ConnectionNumber(display), POLLIN, 0}};
        if (poll(watched, std::size(watched), static_cast<int>(left)) < 0 && errno != EINTR) return Watch::toolEnded;
        if ((watched[0].revents & POLLIN) != 0) return Watch::toolEnded;
    }
}

ToolEnd superviseTool(pid_t tool, int toolEnded, Display* display, int windowLimitMs)
{
    const Watch watch = watchForWindow(tool, toolEnded, display, windowLimitMs);
    if (watch == Watch::timedOut) {
        collectTool(tool);
        return {ToolEndKind::showedNoWindow, 0};
    }
    if (watch == Watch::windowShown) {
        // The box is up: nothing more to see on the display, only its answer to wait for.
        XSelectInput(display, DefaultRootWindow(display), NoEventMask);
        XFlush(display);
        pollfd ended[] = {{toolEnded, POLLIN, 0}};
        while (poll(ended, std::size(ended), waitForever) < 0 && errno == EINTR) {
        }
    }
    return collectTool(tool);
}

} // namespace

ToolEnd runDialogTool(const std::string& path, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, int windowLimitMs)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return {ToolEndKind::failed, ECONNREFUSED};
    // Top-level windows are watched from before the tool starts.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    XErrorHandler previousHandler = XSetErrorHandler(ignoreXError);

    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);
    const pid_t tool = startTool(path.c_str(), argv.data(), envp.data());
    const int startError = errno;
    ToolEnd end = {ToolEndKind::failed, startError};
    if (tool > 0) {
        // Called directly: glibc 2.36's header declares pidfd_open without C linkage.
        const int toolEnded = static_cast<int>(syscall(SYS_pidfd_open, tool, 0));
        if (toolEnded >= 0) {
            end = superviseTool(tool, toolEnded, display, windowLimitMs);
            close(toolEnded);
        } else {
            end = {ToolEndKind::failed, errno};
            collectTool(tool);
        }
    }
    XSetErrorHandler(previousHandler);
    XCloseDisplay(display);
    return end;
}
