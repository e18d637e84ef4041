// Forks one process a chunk and waits for them, counting their frames from a pipe.
#include "render_jobs.h"

#include "progress.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int jobFailed = 1;
constexpr size_t progressReadSize = 256;
constexpr int pollMs = 100;

// Ends the jobs that still run.
void stopJobs(const std::vector<pid_t>& jobs)
{
    for (pid_t pid : jobs) {
        if (pid > 0) {
            kill(pid, SIGTERM);
        }
    }
}

// In the child: dies with the parent, renders, and ends without the parent's exit work.
[[noreturn]] void runJob(const std::function<int(const FrameChunk&, size_t)>& work, const FrameChunk& chunk,
                         size_t number, pid_t parent, int progressFd, int threads)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
        _exit(jobFailed);
    }
    setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 1);
    reportProgressTo(progressFd);
    const int code = work(chunk, number);
    _exit(code);
}

// Counts the jobs' frames from the pipe and reaps each job as it ends: the first failure
// stops the others at once. The pipe's read end is closed on return.
bool waitForJobs(std::vector<pid_t>* jobsRunning, int progressFd, int64_t total, std::string* error)
{
    std::vector<pid_t>& jobs = *jobsRunning;
    startProgress();
    int64_t done = 0;
    bool ok = true;
    size_t running = jobs.size();
    char counts[progressReadSize];
    while (running > 0) {
        pollfd ready = {progressFd, POLLIN, 0};
        if (poll(&ready, 1, pollMs) > 0) {
            const ssize_t got = read(progressFd, counts, sizeof counts);
            if (got > 0) {
                done += got;
                showProgress(std::min(done, total - 1), total);
            }
        }
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(-1, &status, WNOHANG)) > 0) {
            const auto job = std::find(jobs.begin(), jobs.end(), ended);
            if (job == jobs.end()) {
                continue;
            }
            *job = 0;
            --running;
            if (ok && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
                ok = false;
                stopJobs(jobs);
                *error =
                    "job " + std::to_string(job - jobs.begin() + 1) + " of " + std::to_string(jobs.size()) + " failed";
            }
        }
    }
    close(progressFd);
    return ok;
}

} // namespace

bool runJobs(const std::vector<FrameChunk>& chunks, int64_t total,
             const std::function<int(const FrameChunk&, size_t)>& work, std::string* error)
{
    int progress[2];
    if (pipe(progress) != 0) {
        *error = "cannot start the jobs: no pipe";
        return false;
    }
    const int cores = static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    const int threads = threadsPerJob(cores, static_cast<int>(chunks.size()));
    const pid_t parent = getpid();
    std::vector<pid_t> jobs;
    for (size_t i = 0; i < chunks.size(); ++i) {
        std::fflush(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            close(progress[0]);
            runJob(work, chunks[i], i, parent, progress[1], threads);
        }
        if (pid < 0) {
            stopJobs(jobs);
            *error = "cannot start job " + std::to_string(i + 1);
            return false;
        }
        jobs.push_back(pid);
    }
    close(progress[1]);

    const bool ok = waitForJobs(&jobs, progress[0], total, error);
    if (ok) {
        showProgress(total, total);
    }
    return ok;
}
