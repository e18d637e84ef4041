// The fixed render state and the multisample notice on a real GL context.
#include "app/render_state.h"
#include "gl_context.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
// After gtest: Xlib's None and Bool macros would break its declarations.
#include <GL/glx.h>

#include <string>

namespace {

constexpr unsigned int plainMode = GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH;
constexpr unsigned int multisampleMode = plainMode | GLUT_MULTISAMPLE;

std::string stdoutOfSetup()
{
    testing::internal::CaptureStdout();
    setupRenderState();
    return testing::internal::GetCapturedStdout();
}

// Whether the X display offers a double-buffered RGBA configuration with 4 samples:
// Debian 12's Xvfb does, Debian 13's (Mesa 25) offers none with samples at all.
bool displayOffersFourSamples()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const int wanted[] = {GLX_RENDER_TYPE,
                          GLX_RGBA_BIT,
                          GLX_DOUBLEBUFFER,
                          True,
                          GLX_DEPTH_SIZE,
                          1,
                          GLX_SAMPLE_BUFFERS,
                          1,
                          GLX_SAMPLES,
                          4,
                          None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), wanted, &count);
    if (configs != nullptr) {
        XFree(configs);
    }
    XCloseDisplay(display);
    return count > 0;
}

TEST(RenderState, MultisampleNoticeOnceWithFourSamples)
{
    const bool offered = displayOffersFourSamples();
    ensureGlContext(multisampleMode);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (!offered) {
        // The window falls back to no multisampling, and the demo says nothing of it.
        EXPECT_EQ(samples, 0);
        EXPECT_EQ(stdoutOfSetup(), "");
        GTEST_SKIP() << "this display offers no multisampled GLX configuration";
    }
    ASSERT_EQ(samples, 4) << "the display offers a 4-sample configuration";
    EXPECT_EQ(stdoutOfSetup(), "Multisample is active\n");
    EXPECT_EQ(sampleBufferCount, 1);
    EXPECT_EQ(samplesPerPixel, 4);
}

TEST(RenderState, FixedStateForTheWholeRunAndNoNoticeWithoutSampleBuffers)
{
    ensureGlContext(plainMode);
    EXPECT_EQ(stdoutOfSetup(), "");
    EXPECT_EQ(sampleBufferCount, 0);

    for (GLenum on : {GL_LIGHTING, GL_LIGHT0, GL_DEPTH_TEST, GL_COLOR_MATERIAL, GL_POLYGON_SMOOTH, GL_POINT_SMOOTH,
                      GL_MULTISAMPLE}) {
        EXPECT_TRUE(glIsEnabled(on)) << std::hex << on;
    }
    for (GLenum off : {GL_BLEND, GL_TEXTURE_2D, GL_LIGHT1}) {
        EXPECT_FALSE(glIsEnabled(off)) << std::hex << off;
    }

    const struct {
        GLenum name;
        GLint expected;
    } settings[] = {
        {GL_SHADE_MODEL, GL_SMOOTH},
        {GL_BLEND_SRC, GL_SRC_ALPHA},
        {GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA},
        {GL_COLOR_MATERIAL_FACE, GL_FRONT},
        {GL_COLOR_MATERIAL_PARAMETER, GL_DIFFUSE},
        {GL_POLYGON_SMOOTH_HINT, GL_NICEST},
        {GL_POINT_SMOOTH_HINT, GL_NICEST},
    };
    for (const auto& setting : settings) {
        GLint value = 0;
        glGetIntegerv(setting.name, &value);
        EXPECT_EQ(value, setting.expected) << std::hex << setting.name;
    }

    GLfloat v[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, v);
    EXPECT_EQ(v[0] + v[1] + v[2] + v[3], 0.0f);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, v);
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[3], 1.0f);
    glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
    EXPECT_EQ(v[0], 50.0f);
    // The back face keeps OpenGL's default material.
    glGetMaterialfv(GL_BACK, GL_SHININESS, v);
    EXPECT_EQ(v[0], 0.0f);
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    EXPECT_EQ(v[0] + v[1] + v[2] + v[3], 0.0f);
}

} // namespace
