// Splits a range into contiguous chunks, one for each job.
#include "render_jobs.h"

#include <algorithm>

std::vector<FrameChunk> splitFrames(int64_t first, int64_t end, int jobs)
{
    std::vector<FrameChunk> chunks;
    const int64_t frames = std::max<int64_t>(0, end - first);
    const int64_t count = std::min<int64_t>(std::max(jobs, 1), frames);
    int64_t at = first;
    for (int64_t i = 0; i < count; ++i) {
        const int64_t size = frames / count + (i < frames % count ? 1 : 0);
        chunks.push_back({at, at + size});
        at += size;
    }
    return chunks;
}

int jobCount(int asked, int cores, int64_t frames)
{
    const int64_t wanted = asked == jobsAuto ? std::max(cores, 1) : asked;
    return static_cast<int>(std::max<int64_t>(1, std::min(wanted, frames)));
}

int threadsPerJob(int cores, int jobs) { return std::max(1, cores / std::max(jobs, 1)); }
