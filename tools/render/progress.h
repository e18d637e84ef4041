// Progress lines for long work: frames done of total, rate and time left.
#pragma once

#include <cstdint>
#include <string>

// "1:05", "12:00", "1:02:03": whole seconds, rounded up so "0:00 left" means done.
std::string formatDuration(double seconds);
// "frame 120/11760 (1%), 42.0 fps, 4:37 left"; before any frame is done there is no estimate.
std::string formatProgress(int64_t done, int64_t total, double elapsedSeconds);

// Progress on standard error: rewritten in place on a terminal, a line at a time
// otherwise, at most twice a second and always at the end.
void startProgress();
void showProgress(int64_t done, int64_t total);
// In a job of a split render: each showProgress call writes one byte to fd instead,
// for the parent to count.
void reportProgressTo(int fd);
