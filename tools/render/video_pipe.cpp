// Runs ffmpeg as a child process fed through a pipe.
#include "video_pipe.h"

#include "atomic_file.h"
#include "helper_process.h"

#include <fstream>

namespace {

bool running = false;
PendingFile ffmpegLog;

// ffmpeg names the cause first and its consequences after.
std::string firstLogLine()
{
    std::ifstream log(ffmpegLog.tempPath);
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            return line;
        }
    }
    return "";
}

bool waitForFfmpeg(std::string* error)
{
    const bool ok = waitForHelper();
    running = false;
    if (!ok) {
        const std::string said = firstLogLine();
        *error = "ffmpeg failed" + (said.empty() ? std::string() : ": " + said);
    }
    abandonPending(&ffmpegLog);
    return ok;
}

} // namespace

bool startVideoPipe(const VideoJob& job, std::string* error)
{
    if (!openScratch("glasswind-render-ffmpeg.log", &ffmpegLog, error)) {
        return false;
    }
    std::fclose(ffmpegLog.stream);
    ffmpegLog.stream = nullptr;
    if (!startHelper(ffmpegArguments(job), ffmpegLog.tempPath, error)) {
        abandonPending(&ffmpegLog);
        return false;
    }
    running = true;
    return true;
}

bool sendVideoFrame(const std::vector<uint8_t>& rgb, std::string* error)
{
    if (writeToHelper(rgb.data(), rgb.size())) {
        return true;
    }
    // ffmpeg has gone; its own message says why.
    closeHelperInput();
    waitForFfmpeg(error);
    return false;
}

bool finishVideoPipe(std::string* error)
{
    closeHelperInput();
    return waitForFfmpeg(error);
}

void abortVideoPipe()
{
    closeHelperInput();
    if (running) {
        stopHelperNow();
        std::string ignored;
        waitForFfmpeg(&ignored);
    }
}
