// The helper program on POSIX: posix_spawn with a pipe on its standard input.
#include "helper_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Read by the stop handler.
volatile sig_atomic_t helperPid = 0;
int inputPipe = -1;

} // namespace

bool startHelper(const std::vector<std::string>& args, const std::string& errorLogPath, std::string* error)
{
    // A closed pipe must show up as a failed write, not end the tool.
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    if (pipe(ends) != 0) {
        *error = "cannot start " + args[0] + ": " + std::strerror(errno);
        return false;
    }
    fcntl(ends[1], F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLogPath.c_str(), O_WRONLY | O_TRUNC, 0);

    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (spawned != 0) {
        close(ends[1]);
        *error = "cannot start " + args[0] + ": " + std::strerror(spawned);
        return false;
    }
    inputPipe = ends[1];
    helperPid = pid;
    return true;
}

bool writeToHelper(const uint8_t* bytes, size_t count)
{
    size_t sent = 0;
    while (sent < count) {
        const ssize_t wrote = write(inputPipe, bytes + sent, count - sent);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        sent += static_cast<size_t>(wrote);
    }
    return true;
}

void closeHelperInput()
{
    if (inputPipe >= 0) {
        close(inputPipe);
        inputPipe = -1;
    }
}

bool waitForHelper()
{
    int status = 0;
    pid_t waited = -1;
    do {
        waited = waitpid(static_cast<pid_t>(helperPid), &status, 0);
    } while (waited < 0 && errno == EINTR);
    helperPid = 0;
    return waited > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void stopHelperNow()
{
    if (helperPid > 0) {
        kill(static_cast<pid_t>(helperPid), SIGKILL);
    }
}
