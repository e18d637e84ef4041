// Temporary-then-rename output, and the removal of leftovers when the tool is interrupted.
#include "atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pending temporary paths, kept in fixed buffers so the signal handler may read them.
constexpr int maxPending = 8;
constexpr size_t maxPathBytes = 4096;
char pendingPaths[maxPending][maxPathBytes];
constexpr int interruptedExit = 128;
const char* const tempMarker = ".part-XXXXXX";
// What open and mkdir ask for before the umask.
constexpr mode_t newFileMode = 0666;
constexpr mode_t newFolderMode = 0777;

void notePending(const std::string& path)
{
    for (auto& slot : pendingPaths) {
        if (slot[0] == '\0' && path.size() < maxPathBytes) {
            std::memcpy(slot, path.c_str(), path.size() + 1);
            return;
        }
    }
}

void forgetPending(const std::string& path)
{
    for (auto& slot : pendingPaths) {
        if (path == slot) {
            slot[0] = '\0';
        }
    }
}

void unlinkPending()
{
    for (auto& slot : pendingPaths) {
        if (slot[0] != '\0') {
            unlink(slot);
            slot[0] = '\0';
        }
    }
}

// A helper process to end with the tool (its ffmpeg), 0 when there is none.
volatile sig_atomic_t helperPid = 0;

void onSignal(int signalNumber)
{
    if (helperPid > 0) {
        kill(static_cast<pid_t>(helperPid), SIGKILL);
    }
    unlinkPending();
    _exit(interruptedExit + signalNumber);
}

std::string describe(const std::string& path) { return "cannot write '" + path + "': " + std::strerror(errno); }

// Creates a file from a template whose X's come right before a suffix of suffixLength.
bool createFromTemplate(std::string pattern, int suffixLength, const std::string& finalPath, PendingFile* file,
                        std::string* error)
{
    const int fd = mkstemps(&pattern[0], suffixLength);
    if (fd < 0) {
        *error = describe(finalPath);
        return false;
    }
    // mkstemps makes the file private; the result gets the mode any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, newFileMode & ~mask);
    file->finalPath = finalPath;
    file->tempPath = pattern;
    file->stream = fdopen(fd, "wb");
    notePending(file->tempPath);
    return true;
}

} // namespace

bool openPending(const std::string& finalPath, PendingFile* file, std::string* error)
{
    const size_t slash = finalPath.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : finalPath.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
    const size_t dot = base.rfind('.');
    const std::string extension = dot == std::string::npos || dot == 0 ? "" : base.substr(dot);
    if (base.empty()) {
        *error = "cannot write '" + finalPath + "': it names a folder, not a file";
        return false;
    }
    struct stat info;
    if (stat(finalPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        *error = "cannot write '" + finalPath + "': it is a folder";
        return false;
    }
    return createFromTemplate(dir + "." + base + tempMarker + extension, static_cast<int>(extension.size()), finalPath,
                              file, error);
}

bool commitPending(PendingFile* file, std::string* error)
{
    if (file->stream != nullptr) {
        const bool written = std::fflush(file->stream) == 0 && fsync(fileno(file->stream)) == 0;
        const bool closed = std::fclose(file->stream) == 0;
        file->stream = nullptr;
        if (!written || !closed) {
            *error = describe(file->finalPath);
            abandonPending(file);
            return false;
        }
    }
    if (std::rename(file->tempPath.c_str(), file->finalPath.c_str()) != 0) {
        *error = describe(file->finalPath);
        abandonPending(file);
        return false;
    }
    forgetPending(file->tempPath);
    file->tempPath.clear();
    return true;
}

void abandonPending(PendingFile* file)
{
    if (file->stream != nullptr) {
        std::fclose(file->stream);
        file->stream = nullptr;
    }
    if (!file->tempPath.empty()) {
        unlink(file->tempPath.c_str());
        forgetPending(file->tempPath);
        file->tempPath.clear();
    }
}

bool openScratch(const std::string& stem, PendingFile* file, std::string* error)
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string dir = tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp";
    return createFromTemplate(dir + "/" + stem + "-XXXXXX", 0, dir + "/" + stem, file, error);
}

bool ensureFolder(const std::string& path, std::string* error)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            *error = "cannot write frames into '" + path + "': it is not a folder";
            return false;
        }
        return true;
    }
    if (mkdir(path.c_str(), newFolderMode) != 0) {
        *error = "cannot make the folder '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}

void removeAllPending() { unlinkPending(); }

void removePendingOnSignals()
{
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(signalNumber, onSignal);
    }
}

void endWithTheTool(pid_t pid) { helperPid = pid; }
