// The render tool's system calls on Windows: the C runtime's file calls, the demo's own
// console handler for Ctrl-C, and no display to hold.
#include "tool_system.h"

#include "platform/stop_signals.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>

const char pathListSeparator = ';';
const char* const ffmpegProgram = "ffmpeg.exe";
const char* const searchPathWithoutPath = "";
const char* const ffmpegMissingAdvice = "put a Windows build of ffmpeg in a folder of the PATH";
const char* const notOnThisSystem =
    "\nOn Windows: no --jobs (a split render forks), --audio writes .wav only (no FLAC\n"
    "in this build), and --video needs ffmpeg.exe in a folder of the PATH.\n";

namespace {

constexpr int uniqueNameTries = 100;
constexpr int markerLength = 6;
const char* const nameLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr int nameLetterCount = 36;

} // namespace

bool holdDisplay(std::string*) { return true; }

void releaseDisplay() {}

// Opened with FILE_SHARE_DELETE, so the stop handler can remove a file another thread
// still writes: Windows removes it once the ending process has closed it.
std::FILE* createUniqueFile(std::string* pattern, int suffixLength)
{
    const size_t marker = pattern->size() - static_cast<size_t>(suffixLength) - markerLength;
    std::random_device seed;
    std::minstd_rand pick(seed());
    for (int attempt = 0; attempt < uniqueNameTries; ++attempt) {
        for (int i = 0; i < markerLength; ++i) {
            (*pattern)[marker + static_cast<size_t>(i)] = nameLetters[pick() % nameLetterCount];
        }
        const HANDLE file =
            CreateFileA(pattern->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
            return fd >= 0 ? _fdopen(fd, "wb") : nullptr;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            errno = EACCES;
            return nullptr;
        }
    }
    errno = EEXIST;
    return nullptr;
}

bool syncToDisk(std::FILE* stream) { return _commit(_fileno(stream)) == 0; }

bool replaceFile(const std::string& from, const std::string& to)
{
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
        return true;
    }
    errno = EACCES;
    return false;
}

void removeFileNow(const char* path) { DeleteFileA(path); }

std::string scratchFolder()
{
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > sizeof folder) {
        return ".";
    }
    std::string path(folder, length);
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    return path;
}

bool isRunnableFile(const std::string& path)
{
    struct _stat64 info;
    return _stat64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
}

// Windows 10's console takes "\033[K" once asked to.
bool progressRewritesInPlace()
{
    const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(console, &mode) != 0 &&
           SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

// Ctrl-C, Ctrl-Break and a closed console, as they end the demo.
void onStopRequests(void (*cleanup)())
{
    setStopCleanup(cleanup);
    endOnStopSignals();
}
