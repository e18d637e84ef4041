// Temporary-then-rename output, and the removal of leftovers when the tool is interrupted.
#include "atomic_file.h"

#include "helper_process.h"
#include "tool_system.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

// Pending temporary paths, kept in fixed buffers so the signal handler may read them.
constexpr int maxPending = 8;
constexpr size_t maxPathBytes = 4096;
char pendingPaths[maxPending][maxPathBytes];
const char* const tempMarker = ".part-XXXXXX";

// The stop handler may run beside the PNG writer's thread (on Windows it always does).
// Once stopping is set no file is made; the handler waits, a little at most, for one
// being made to be noted before it removes them.
std::atomic<bool> stopping{false};
std::atomic<int> filesBeingMade{0};
constexpr int madeFileWaits = 100;
constexpr auto madeFileWait = std::chrono::milliseconds(1);

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
            removeFileNow(slot);
            slot[0] = '\0';
        }
    }
}

// A stopped tool leaves no ffmpeg writing and no temporary file behind.
void onStop()
{
    stopping.store(true);
    for (int wait = 0; wait < madeFileWaits && filesBeingMade.load() > 0; ++wait) {
        std::this_thread::sleep_for(madeFileWait);
    }
    stopHelperNow();
    unlinkPending();
}

std::string describe(const std::string& path) { return "cannot write '" + path + "': " + std::strerror(errno); }

// Creates a file from a template whose X's come right before a suffix of suffixLength.
bool createFromTemplate(std::string pattern, int suffixLength, const std::string& finalPath, PendingFile* file,
                        std::string* error)
{
    filesBeingMade.fetch_add(1);
    std::FILE* stream = stopping.load() ? nullptr : createUniqueFile(&pattern, suffixLength);
    if (stream == nullptr) {
        filesBeingMade.fetch_sub(1);
        *error = describe(finalPath);
        return false;
    }
    file->finalPath = finalPath;
    file->tempPath = pattern;
    file->stream = stream;
    notePending(file->tempPath);
    filesBeingMade.fetch_sub(1);
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
    std::error_code ignored;
    if (std::filesystem::is_directory(finalPath, ignored)) {
        *error = "cannot write '" + finalPath + "': it is a folder";
        return false;
    }
    return createFromTemplate(dir + "." + base + tempMarker + extension, static_cast<int>(extension.size()), finalPath,
                              file, error);
}

bool commitPending(PendingFile* file, std::string* error)
{
    if (file->stream != nullptr) {
        const bool written = std::fflush(file->stream) == 0 && syncToDisk(file->stream);
        const bool closed = std::fclose(file->stream) == 0;
        file->stream = nullptr;
        if (!written || !closed) {
            *error = describe(file->finalPath);
            abandonPending(file);
            return false;
        }
    }
    if (!replaceFile(file->tempPath, file->finalPath)) {
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
        removeFileNow(file->tempPath.c_str());
        forgetPending(file->tempPath);
        file->tempPath.clear();
    }
}

bool openScratch(const std::string& stem, PendingFile* file, std::string* error)
{
    const std::string dir = scratchFolder();
    return createFromTemplate(dir + "/" + stem + "-XXXXXX", 0, dir + "/" + stem, file, error);
}

bool ensureFolder(const std::string& path, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code failure;
    if (fs::exists(path, failure)) {
        if (!fs::is_directory(path, failure)) {
            *error = "cannot write frames into '" + path + "': it is not a folder";
            return false;
        }
        return true;
    }
    if (!fs::create_directory(path, failure)) {
        *error = "cannot make the folder '" + path + "': " + failure.message();
        return false;
    }
    return true;
}

void removeAllPending() { unlinkPending(); }

void removePendingOnSignals() { onStopRequests(onStop); }
