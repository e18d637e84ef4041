// Splitting a range into contiguous chunks of frames, each drawn by a process of its
// own, with one progress line for all of them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int jobsAuto = 0; // --jobs auto: one a core
constexpr int maxJobs = 64;

// Output frames [first, end) of the steady run.
struct FrameChunk {
    int64_t first;
    int64_t end;
};

// Up to jobs contiguous chunks that cover [first, end) in order, sizes differing by at
// most one frame; never an empty one.
std::vector<FrameChunk> splitFrames(int64_t first, int64_t end, int jobs);
// How many jobs --jobs N (or auto) means for this many frames on this many cores.
int jobCount(int asked, int cores, int64_t frames);
// How many threads llvmpipe gives each of jobs processes on cores cores (at least 1).
int threadsPerJob(int cores, int jobs);

// Runs work(chunk, its number) in one child process a chunk, started before any of them
// touches the display or GL; each child's llvmpipe gets its share of the cores. Children
// count frames through showProgress, which the parent shows as one line of total frames.
// work returns 0 on success. When a job fails the others are stopped, and the first
// failure is returned as false with a one-line error; when the tool is stopped, so are
// the jobs.
bool runJobs(const std::vector<FrameChunk>& chunks, int64_t total,
             const std::function<int(const FrameChunk&, size_t)>& work, std::string* error);
