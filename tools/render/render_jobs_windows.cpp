// Windows has no fork, and each job must start before any GL: there a range is drawn
// by the one process, and --jobs is left out of the options.
#include "render_jobs.h"

bool runJobs(const std::vector<FrameChunk>&, int64_t, const std::function<int(const FrameChunk&, size_t)>&,
             std::string* error)
{
    *error = "a render split over jobs needs fork, which Windows lacks";
    return false;
}
