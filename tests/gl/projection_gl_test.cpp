// The two projection modes on a real GL context: matrices, switches and the stack.
#include "app/clock.h"
#include "app/startup.h"
#include "direction/camera.h"
#include "direction/light.h"
#include "direction/timeline.h"
#include "gl_context.h"
#include "view/projection.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Matrices {
    GLdouble projection[16];
    GLdouble modelView[16];
};

Matrices currentMatrices()
{
    Matrices m;
    glGetDoublev(GL_PROJECTION_MATRIX, m.projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, m.modelView);
    return m;
}

void expectIdentityModelView(const char* when)
{
    const Matrices m = currentMatrices();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m.modelView[i], i % 5 == 0 ? 1.0 : 0.0) << when << ", element " << i;
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW) << when;
}

void expectSwitches(bool depthAndLighting, const char* when)
{
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depthAndLighting ? GL_TRUE : GL_FALSE) << when;
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), depthAndLighting ? GL_TRUE : GL_FALSE) << when;
    EXPECT_EQ(glIsEnabled(GL_BLEND), depthAndLighting ? GL_FALSE : GL_TRUE) << when;
}

GLint modelViewDepth()
{
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

bool allFinite(const GLdouble* matrix)
{
    return std::all_of(matrix, matrix + 16, [](GLdouble v) { return std::isfinite(v); });
}

TEST(Projection, LookAtTargetLandsOnTheViewportCentre)
{
    ensureGlContext();
    onReshape(demoWindowWidth, demoWindowHeight);
    const GLint viewport[4] = {0, 0, demoWindowWidth, demoWindowHeight};
    for (int row = 0; row < shotTableRows; ++row) {
        const ShotRow shotRow = shotTableRow(row);
        const int32_t from = std::max(shotRow.fromMs, 0);
        const int32_t to = std::min(shotRow.toMs, demoEndMs);
        shotIndex = shotRow.shot;
        demoTimeMs = from + (to - from) / 2;
        beginPerspective();
        ShotView view;
        shotView(shotIndex, demoTimeMs, &view);
        const Matrices m = currentMatrices();
        GLdouble x = 0, y = 0, z = 0;
        ASSERT_EQ(
            gluProject(view.centre[0], view.centre[1], view.centre[2], m.modelView, m.projection, viewport, &x, &y, &z),
            GL_TRUE);
        EXPECT_NEAR(x, demoWindowWidth / 2.0, 0.5) << "shot " << shotIndex << " at " << demoTimeMs;
        EXPECT_NEAR(y, demoWindowHeight / 2.0, 0.5) << "shot " << shotIndex << " at " << demoTimeMs;
        expectIdentityModelView("after beginPerspective");
        beginOverlay();
    }
}

TEST(Projection, ModelViewIsIdentityAfterEitherSwitchAtAnyDepth)
{
    ensureGlContext();
    onReshape(demoWindowWidth, demoWindowHeight);
    ASSERT_EQ(modelViewDepth(), 1);

    // A pop at one level is refused; the mode still starts from the identity.
    glTranslatef(3.0f, 4.0f, 5.0f);
    beginOverlay();
    EXPECT_EQ(modelViewDepth(), 1);
    expectIdentityModelView("overlay at one level");
    expectSwitches(false, "overlay at one level");

    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    beginPerspective();
    EXPECT_EQ(modelViewDepth(), 2);
    expectIdentityModelView("perspective");
    expectSwitches(true, "perspective");

    glScalef(2.0f, 2.0f, 2.0f);
    beginPerspective();
    EXPECT_EQ(modelViewDepth(), 3);
    expectIdentityModelView("perspective twice");

    for (int i = 0; i < 3; ++i) {
        glTranslatef(1.0f, 0.0f, 0.0f);
        beginOverlay();
        expectIdentityModelView("overlay after perspective");
        expectSwitches(false, "overlay after perspective");
    }
    EXPECT_EQ(modelViewDepth(), 1);
    while (glGetError() != GL_NO_ERROR) {
    }
}

TEST(Projection, PerspectiveIs45DegreesFromNear01ToFar5000AtTheWindowsAspect)
{
    // Worked by hand: cot(22.5 degrees) = 1 + sqrt(2); with near 0.1 and far 5000,
    // (far + near) / (near - far) = -5000.1 / 4999.9 and 2 far near / (near - far) = -1000 / 4999.9.
    constexpr double focal = 2.414213562373095;
    constexpr double depthScale = -1.0000400008000160;
    constexpr double depthOffset = -0.2000040000800016;
    constexpr double floatTolerance = 1e-6;
    constexpr int noShot = -1; // no look-at: the projection is gluPerspective's alone
    struct Window {
        int width, height;
        double xScale; // focal / aspect
    };
    const Window windows[] = {
        {800, 450, focal * 450 / 800},
        {450, 800, focal * 800 / 450},
        {500, 500, focal},
        {320, 180, focal * 180 / 320},
    };
    ensureGlContext();
    shotIndex = noShot;
    for (const Window& w : windows) {
        onReshape(w.width, w.height);
        beginPerspective();
        const Matrices m = currentMatrices();
        // Column-major: only these five elements of the perspective matrix are not 0.
        const double expected[16] = {w.xScale, 0, 0, 0, 0, focal, 0, 0, 0, 0, depthScale, -1, 0, 0, depthOffset, 0};
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(m.projection[i], expected[i], floatTolerance)
                << w.width << "x" << w.height << ", element " << i;
        }
        beginOverlay();
    }
    shotIndex = 0;
    onReshape(demoWindowWidth, demoWindowHeight);
}

TEST(Projection, OverlayProjectsTheBoxOntoTheWindow)
{
    ensureGlContext();
    onReshape(demoWindowWidth, demoWindowHeight);
    beginOverlay();
    EXPECT_EQ(overlayLeft, -160.0f);
    EXPECT_EQ(overlayRight, 160.0f);
    EXPECT_EQ(overlayBottom, -90.0f);
    EXPECT_EQ(overlayTop, 90.0f);
    const Matrices m = currentMatrices();
    EXPECT_NEAR(m.projection[0], 2.0 / 320.0, 1e-9);
    EXPECT_NEAR(m.projection[5], 2.0 / 180.0, 1e-9);
    EXPECT_NEAR(m.projection[10], -1.0, 1e-9);
    EXPECT_NEAR(m.projection[12], 0.0, 1e-9);
    EXPECT_NEAR(m.projection[13], 0.0, 1e-9);

    // A reshape alone leaves the box; the next overlay recomputes it.
    onReshape(450, 800);
    EXPECT_EQ(overlayLeft, -160.0f);
    beginOverlay();
    EXPECT_EQ(overlayLeft, -90.0f);
    EXPECT_EQ(overlayTop, 160.0f);
}

TEST(Projection, MinimisedWindowKeepsTheLastView)
{
    ensureGlContext();
    shotIndex = 18;
    demoTimeMs = 100000;
    onReshape(1024, 768);
    beginPerspective();
    const Matrices wholePerspective = currentMatrices();
    beginOverlay();
    const OverlayBox wholeBox = {overlayLeft, overlayRight, overlayBottom, overlayTop};

    for (const auto& size : {std::pair<int, int>{0, 768}, {1024, 0}, {0, 0}}) {
        onReshape(size.first, size.second);
        beginPerspective();
        const Matrices perspective = currentMatrices();
        EXPECT_TRUE(allFinite(perspective.projection)) << size.first << "x" << size.second;
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(perspective.projection[i], wholePerspective.projection[i]) << "element " << i;
        }
        beginOverlay();
        EXPECT_TRUE(allFinite(currentMatrices().projection)) << size.first << "x" << size.second;
        EXPECT_EQ(overlayLeft, wholeBox.left);
        EXPECT_EQ(overlayRight, wholeBox.right);
        EXPECT_EQ(overlayBottom, wholeBox.bottom);
        EXPECT_EQ(overlayTop, wholeBox.top);
    }

    // Restored: the new size counts again.
    onReshape(800, 450);
    beginOverlay();
    EXPECT_EQ(overlayLeft, -160.0f);
}

TEST(Projection, LightIsPlacedInWorldCoordinatesWhateverTheShot)
{
    ensureGlContext();
    onReshape(demoWindowWidth, demoWindowHeight);
    shotIndex = 18;
    demoTimeMs = 90330;
    beginPerspective();
    selectLightPreset();
    GLfloat stored[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, stored);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(stored[i], lightPosition[i]) << "component " << i;
    }
    EXPECT_NEAR(stored[0], 140.113f, 1e-3f);
    beginOverlay();
}

} // namespace
