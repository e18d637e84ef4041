// Formats the progress line and the time left from the rate so far.
#include "progress.h"

#include "tool_system.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int64_t secondsPerMinute = 60;
constexpr int64_t secondsPerHour = 3600;
constexpr int percentScale = 100;
constexpr size_t lineSize = 128;
constexpr double progressIntervalSeconds = 0.5;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

Clock::time_point progressStart;
Clock::time_point lastProgress;

// A job of a split render reports each frame here instead of printing.
int reportFd = -1;

} // namespace

std::string formatDuration(double seconds)
{
    const int64_t whole = seconds > 0.0 ? static_cast<int64_t>(std::ceil(seconds)) : 0;
    char text[lineSize];
    if (whole >= secondsPerHour) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(whole / secondsPerHour),
                      static_cast<long long>(whole % secondsPerHour / secondsPerMinute),
                      static_cast<long long>(whole % secondsPerMinute));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(whole / secondsPerMinute),
                      static_cast<long long>(whole % secondsPerMinute));
    }
    return text;
}

std::string formatProgress(int64_t done, int64_t total, double elapsedSeconds)
{
    const long long percent = total > 0 ? done * percentScale / total : percentScale;
    char text[lineSize];
    if (done <= 0 || elapsedSeconds <= 0.0) {
        std::snprintf(text, sizeof text, "frame %lld/%lld (%lld%%)", static_cast<long long>(done),
                      static_cast<long long>(total), percent);
        return text;
    }
    const double rate = static_cast<double>(done) / elapsedSeconds;
    const double left = static_cast<double>(total - done) / rate;
    std::snprintf(text, sizeof text, "frame %lld/%lld (%lld%%), %.1f fps, %s left", static_cast<long long>(done),
                  static_cast<long long>(total), percent, rate, formatDuration(left).c_str());
    return text;
}

void startProgress()
{
    progressStart = Clock::now();
    lastProgress = progressStart;
}

void showProgress(int64_t done, int64_t total)
{
    if (reportFd >= 0) {
        const char frameDone = 1;
        ssize_t written = 0;
        do {
            written = write(reportFd, &frameDone, 1);
        } while (written < 0 && errno == EINTR);
        return;
    }
    const bool finished = done == total;
    if (!finished && std::chrono::duration<double>(Clock::now() - lastProgress).count() < progressIntervalSeconds) {
        return;
    }
    lastProgress = Clock::now();
    const std::string line = formatProgress(done, total, secondsSince(progressStart));
    if (progressRewritesInPlace()) {
        std::fprintf(stderr, "\r%s\033[K%s", line.c_str(), finished ? "\n" : "");
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void reportProgressTo(int fd) { reportFd = fd; }
