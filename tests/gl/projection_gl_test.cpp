// The two projection modes on a real GL context: matrices, switches and the stack.
#include "app/clock.h"
#include "app/startup.h"
#include "direction/camera.h"
#include "direction/timeline.h"
#include "gl_context.h"
#include "view/projection.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

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
    // Each switch comes after a stray transform. The perspective pushes a level and the
    // overlay pops one; a pop at one level is refused, and the mode still starts from the identity.
    const struct {
        bool perspective;
        GLint depth;
    } switches[] = {{false, 1}, {true, 2}, {true, 3}, {false, 2}, {false, 1}, {false, 1}};
    for (const auto& step : switches) {
        glTranslatef(3.0f, 4.0f, 5.0f);
        glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
        step.perspective ? beginPerspective() : beginOverlay();
        const char* when = step.perspective ? "perspective" : "overlay";
        EXPECT_EQ(modelViewDepth(), step.depth) << when;
        expectIdentityModelView(when);
        expectSwitches(step.perspective, when);
    }
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

void expectBox(const OverlayBox& box, const char* when)
{
    EXPECT_EQ(overlayLeft, box.left) << when;
    EXPECT_EQ(overlayRight, box.right) << when;
    EXPECT_EQ(overlayBottom, box.bottom) << when;
    EXPECT_EQ(overlayTop, box.top) << when;
}

TEST(Projection, OverlayProjectsTheBoxOntoTheWindow)
{
    ensureGlContext();
    onReshape(demoWindowWidth, demoWindowHeight);
    beginOverlay();
    expectBox({-160, 160, -90, 90}, "800x450");
    // Column-major: x and y scaled to the box, z flipped, nothing moved.
    const double expected[16] = {2.0 / 320.0, 0, 0, 0, 0, 2.0 / 180.0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    const Matrices m = currentMatrices();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m.projection[i], expected[i], 1e-9) << "element " << i;
    }
    // A reshape alone leaves the box; the next overlay recomputes it.
    onReshape(450, 800);
    expectBox({-160, 160, -90, 90}, "reshaped, before the overlay");
    beginOverlay();
    expectBox({-90, 90, -160, 160}, "450x800");
}

TEST(Projection, MinimisedWindowKeepsTheLastView)
{
    ensureGlContext();
    shotIndex = 18;
    demoTimeMs = 100000;
    onReshape(1024, 768);
    beginPerspective();
    const Matrices whole = currentMatrices();
    beginOverlay();
    for (const auto& size : {std::pair<int, int>{0, 768}, {1024, 0}, {0, 0}}) {
        onReshape(size.first, size.second);
        beginPerspective();
        const Matrices perspective = currentMatrices();
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(perspective.projection[i], whole.projection[i]) << size.first << "x" << size.second << " " << i;
        }
        beginOverlay();
        EXPECT_TRUE(allFinite(currentMatrices().projection)) << size.first << "x" << size.second;
        expectBox({-120, 120, -90, 90}, "minimised");
    }
    // Restored: the new size counts again.
    onReshape(800, 450);
    beginOverlay();
    EXPECT_EQ(overlayLeft, -160.0f);
}

} // namespace
