// The render tool's system calls on POSIX (Linux): X11's display, mkstemps, signals.
#include "tool_system.h"

#include <X11/Xlib.h>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

const char pathListSeparator = ':';
const char* const ffmpegProgram = "ffmpeg";
const char* const searchPathWithoutPath = "/usr/local/bin:/usr/bin:/bin";
const char* const ffmpegMissingAdvice = "install the Debian package ffmpeg (apt-get install ffmpeg)";
const char* const notOnThisSystem = "";

namespace {

constexpr int interruptedExit = 128;
// What open asks for before the umask.
constexpr mode_t newFileMode = 0666;

Display* heldDisplay = nullptr;
void (*stopCleanup)() = nullptr;

void onSignal(int signalNumber)
{
    stopCleanup();
    _exit(interruptedExit + signalNumber);
}

} // namespace

bool holdDisplay(std::string* error)
{
    heldDisplay = XOpenDisplay(nullptr);
    if (heldDisplay == nullptr) {
        const char* name = std::getenv("DISPLAY");
        *error = std::string("cannot open the X display '") + (name != nullptr ? name : "") +
                 "'; run it on an X desktop or under xvfb-run";
        return false;
    }
    return true;
}

// Closed only once GLUT has its own connection: a server that resets when its last
// client leaves would otherwise refuse GLUT's.
void releaseDisplay()
{
    XCloseDisplay(heldDisplay);
    heldDisplay = nullptr;
}

std::FILE* createUniqueFile(std::string* pattern, int suffixLength)
{
    const int fd = mkstemps(&(*pattern)[0], suffixLength);
    if (fd < 0) {
        return nullptr;
    }
    // mkstemps makes the file private; the result gets the mode any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, newFileMode & ~mask);
    return fdopen(fd, "wb");
}

bool syncToDisk(std::FILE* stream) { return fsync(fileno(stream)) == 0; }

bool replaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void removeFileNow(const char* path) { unlink(path); }

std::string scratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
}

bool isRunnableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool progressRewritesInPlace() { return isatty(STDERR_FILENO) != 0; }

void onStopRequests(void (*cleanup)())
{
    stopCleanup = cleanup;
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signalNumber, onSignal);
    }
}
