// The pieces every drawing mode uses, and the split of a range over jobs.
#include "render_modes.h"

#include "app/steady_clock.h"
#include "atomic_file.h"
#include "frame_driver.h"
#include "progress.h"
#include "video_pipe.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

void fail(int code, const std::string& message)
{
    abortVideoPipe();
    removeAllPending();
    std::fprintf(stderr, "glasswind-render: %s\n", message.c_str());
    std::exit(code);
}

namespace {

// Every schedule stops at the demo's last moment, so the demo never ends here.
void demoEnded(int) { fail(exitFailure, "the demo ended at " + std::to_string(steadyClockMs) + " ms"); }

} // namespace

void useSteadyClock(void (*onSwap)()) { installSteadyClock(onSwap, demoEnded); }

void startDemo(const RenderOptions& options)
{
    std::string error;
    if (!startDemoOffscreen(options.width, options.height, options.samples, &error)) {
        fail(exitFailure, error);
    }
}

FrameChunk rangeFrames(const RenderOptions& options)
{
    return {firstIdleCallFrom(options.fromMs, options.fps), firstIdleCallFrom(options.toMs, options.fps)};
}

std::vector<FrameChunk> rangeChunks(const RenderOptions& options)
{
    const FrameChunk range = rangeFrames(options);
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return splitFrames(range.first, range.end, jobCount(options.jobs, cores, range.end - range.first));
}

void drawChunk(const RenderOptions& options, const FrameChunk& chunk, const KeepFrame& keep)
{
    startDemo(options);
    // Idle call n of the run is at floor(n x 1000 / fps), whose first call at or after
    // is n again: the chunk's own times give exactly its frames.
    const FrameSchedule schedule =
        scheduleRange(steadyIdleTimeMs(chunk.first, options.fps), steadyIdleTimeMs(chunk.end, options.fps), options.fps,
                      options.motionBlur);
    replayBefore(schedule);
    const int64_t total = outputFrameCount(schedule);
    startProgress();
    drawOutputFrames(schedule, [&](int64_t k, const std::vector<uint8_t>& rgb) {
        keep(chunk.first + k, rgb);
        showProgress(k + 1, total);
    });
}

void drawInJobs(const std::vector<FrameChunk>& chunks, int64_t total,
                const std::function<void(const FrameChunk&, size_t)>& work)
{
    std::string error;
    const auto job = [&work](const FrameChunk& chunk, size_t number) {
        work(chunk, number);
        return 0; // a failing job ends itself through fail()
    };
    if (!runJobs(chunks, total, job, &error)) {
        fail(exitFailure, error);
    }
}
