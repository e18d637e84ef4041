// Formats the progress line and the time left from the rate so far.
#include "progress.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t secondsPerMinute = 60;
constexpr int64_t secondsPerHour = 3600;
constexpr int percentScale = 100;
constexpr size_t lineSize = 128;

} // namespace

std::string formatDuration(double seconds)
{
    const int64_t whole = seconds > 0.0 ? static_cast<int64_t>(std::ceil(seconds)) : 0;
    char text[lineSize];
    if (whole >= secondsPerHour) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld",
                      static_cast<long long>(whole / secondsPerHour),
                      static_cast<long long>(whole % secondsPerHour / secondsPerMinute),
                      static_cast<long long>(whole % secondsPerMinute));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld",
                      static_cast<long long>(whole / secondsPerMinute),
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
    std::snprintf(text, sizeof text, "frame %lld/%lld (%lld%%), %.1f fps, %s left",
                  static_cast<long long>(done), static_cast<long long>(total), percent, rate,
                  formatDuration(left).c_str());
    return text;
}
