// Runs ffmpeg as a child process fed through a pipe.
#include "video_pipe.h"

#include "atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

pid_t ffmpegPid = -1;
int framePipe = -1;
PendingFile ffmpegLog;

// ffmpeg names the cause first and its consequences after.
std::string firstLogLine()
{
    std::ifstream log(ffmpegLog.tempPath);
    std::string line;
    while (std::getline(log, line)) {
        if (!line.empty()) {
            return line;
        }
    }
    return "";
}

bool waitForFfmpeg(std::string* error)
{
    int status = 0;
    pid_t waited = -1;
    do {
        waited = waitpid(ffmpegPid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    endWithTheTool(0);
    ffmpegPid = -1;
    const bool ok = waited > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    // A closed pipe must show up as a failed write, not end the tool.
    std::signal(SIGPIPE, SIG_IGN);
    if (!openScratch("glasswind-render-ffmpeg.log", &ffmpegLog, error)) {
        return false;
    }
    std::fclose(ffmpegLog.stream);
    ffmpegLog.stream = nullptr;

    int ends[2];
    if (pipe(ends) != 0) {
        *error = std::string("cannot start ffmpeg: ") + std::strerror(errno);
        abandonPending(&ffmpegLog);
        return false;
    }
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, ffmpegLog.tempPath.c_str(), O_WRONLY | O_TRUNC, 0);

    const std::vector<std::string> args = ffmpegArguments(job);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    const int spawned = posix_spawn(&ffmpegPid, job.ffmpegPath.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (spawned != 0) {
        close(ends[1]);
        ffmpegPid = -1;
        *error = "cannot start " + job.ffmpegPath + ": " + std::strerror(spawned);
        abandonPending(&ffmpegLog);
        return false;
    }
    framePipe = ends[1];
    endWithTheTool(ffmpegPid);
    return true;
}

bool sendVideoFrame(const std::vector<uint8_t>& rgb, std::string* error)
{
    size_t sent = 0;
    while (sent < rgb.size()) {
        const ssize_t wrote = write(framePipe, rgb.data() + sent, rgb.size() - sent);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            // ffmpeg has gone; its own message says why.
            close(framePipe);
            framePipe = -1;
            waitForFfmpeg(error);
            return false;
        }
        sent += static_cast<size_t>(wrote);
    }
    return true;
}

bool finishVideoPipe(std::string* error)
{
    close(framePipe);
    framePipe = -1;
    return waitForFfmpeg(error);
}

void abortVideoPipe()
{
    if (framePipe >= 0) {
        close(framePipe);
        framePipe = -1;
    }
    if (ffmpegPid > 0) {
        kill(ffmpegPid, SIGTERM);
        std::string ignored;
        waitForFfmpeg(&ignored);
    }
}
