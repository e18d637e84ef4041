// One whole frame through the display callback on a real GL context.
#include "app/clock.h"
#include "app/startup.h"
#include "direction/timeline.h"
#include "gl_context.h"
#include "recording_platform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

TEST(Frame, EveryFrameSelectsTheShotForTheNextAndSwaps)
{
    ensureGlContext();
    PlatformRecorder recorder;
    onReshape(demoWindowWidth, demoWindowHeight);
    for (int t : {0, 19200, 19240, 47220, 189880, 195999}) {
        demoTimeMs = t;
        displayFrame();
        EXPECT_EQ(shotIndex, shotForTime(t));
        EXPECT_EQ(recording().calls.back(), "swapBuffers");
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW) << "at " << t;
    }
}

} // namespace
