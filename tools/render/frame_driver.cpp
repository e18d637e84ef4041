// The demo's idle and display callbacks, driven by the tool in place of the event loop.
#include "frame_driver.h"

#include "app/render_state.h"
#include "app/startup.h"
#include "offscreen.h"
#include "render_modes.h"

namespace {

// The pictures of one output frame's sub-frames, summed as each is drawn, then averaged.
struct PictureMean {
    std::vector<uint32_t> sums;
    std::vector<uint8_t> sub;
    uint32_t count = 0;

    void add()
    {
        captureFrame(&sub);
        sums.resize(sub.size(), 0);
        for (size_t b = 0; b < sub.size(); ++b) {
            sums[b] += sub[b];
        }
        ++count;
    }
    void take(std::vector<uint8_t>* rgb) const
    {
        rgb->resize(sums.size());
        for (size_t b = 0; b < sums.size(); ++b) {
            (*rgb)[b] = static_cast<uint8_t>((sums[b] + count / 2) / count);
        }
    }
};

} // namespace

bool startDemoOffscreen(int width, int height, int samples, std::string* error)
{
    useSteadyClock(resolveOffscreen);
    if (!openOffscreen(width, height, samples, error)) {
        return false;
    }
    onReshape(width, height);
    setupRenderState();
    return true;
}

void captureFrame(std::vector<uint8_t>* rgb) { readOffscreenRgb(rgb); }

void drawMomentPicture(int32_t atMs, int subFrames, std::vector<uint8_t>* rgb)
{
    PictureMean mean;
    drawMoment(atMs, subFrames, [&mean] { mean.add(); });
    mean.take(rgb);
}

void drawOutputFrames(const FrameSchedule& schedule, const KeepPicture& keep)
{
    const int64_t total = outputFrameCount(schedule);
    std::vector<uint8_t> rgb;
    if (schedule.subFrames > 1) {
        for (int64_t k = 0; k < total; ++k) {
            PictureMean mean;
            drawOutputSubFrames(schedule, k, [&mean] { mean.add(); });
            mean.take(&rgb);
            keep(k, rgb);
        }
        return;
    }
    // Frame k's copy is started before frame k-1 is taken, so the GL finishes drawing
    // and copying k while k-1 is written out.
    for (int64_t k = 0; k < total; ++k) {
        drawFrameAt(schedule.outputMs[static_cast<size_t>(k)]);
        queuePictureRead();
        if (k > 0) {
            takePictureRead(&rgb);
            keep(k - 1, rgb);
        }
    }
    if (total > 0) {
        takePictureRead(&rgb);
        keep(total - 1, rgb);
    }
}
