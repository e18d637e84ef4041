// The demo's idle and display callbacks, driven by the tool in place of the event loop.
#include "frame_driver.h"

#include "app/render_state.h"
#include "app/startup.h"
#include "offscreen.h"
#include "tool_platform.h"

bool startDemoOffscreen(int width, int height, int samples, std::string* error)
{
    installToolPlatform(resolveOffscreen);
    if (!openOffscreen(width, height, samples, error)) {
        return false;
    }
    onReshape(width, height);
    setupRenderState();
    return true;
}

void captureFrame(std::vector<uint8_t>* rgb) { readOffscreenRgb(rgb); }

void drawOutputFrame(const FrameSchedule& schedule, int64_t k, std::vector<uint8_t>* rgb)
{
    const size_t first = static_cast<size_t>(k) * schedule.subFrames;
    if (schedule.subFrames == 1) {
        drawFrameAt(schedule.outputMs[first]);
        captureFrame(rgb);
        return;
    }
    std::vector<uint32_t> sums;
    std::vector<uint8_t> sub;
    for (int i = 0; i < schedule.subFrames; ++i) {
        drawFrameAt(schedule.outputMs[first + i]);
        captureFrame(&sub);
        sums.resize(sub.size(), 0);
        for (size_t b = 0; b < sub.size(); ++b) {
            sums[b] += sub[b];
        }
    }
    const uint32_t count = static_cast<uint32_t>(schedule.subFrames);
    rgb->resize(sums.size());
    for (size_t b = 0; b < sums.size(); ++b) {
        (*rgb)[b] = static_cast<uint8_t>((sums[b] + count / 2) / count);
    }
}

void drawOutputFrames(const FrameSchedule& schedule, const KeepPicture& keep)
{
    const int64_t total = outputFrameCount(schedule);
    std::vector<uint8_t> rgb;
    if (schedule.subFrames > 1) {
        for (int64_t k = 0; k < total; ++k) {
            drawOutputFrame(schedule, k, &rgb);
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
