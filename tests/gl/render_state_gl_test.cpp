// The fixed render state and the multisample notice on a real GL context.
#include "app/render_state.h"
#include "gl_context.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

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

TEST(RenderState, MultisampleNoticeOnceWithFourSamples)
{
    ensureGlContext(multisampleMode);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    ASSERT_EQ(samples, 4) << "the test display should offer a 4-sample visual";
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
