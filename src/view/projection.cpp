// Projection modes. The camera lives on the projection matrix so lighting stays in world space.
#include "view/projection.h"

#include "direction/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

int windowWidth = 0;
int windowHeight = 0;

float overlayLeft = 0.0f;
float overlayRight = 0.0f;
float overlayBottom = 0.0f;
float overlayTop = 0.0f;

namespace {

constexpr double fieldOfViewDeg = 45.0;
constexpr double nearPlane = 0.1;
constexpr double farPlane = 5000.0;

// The last window size with both sides above 0. A minimised window reports a side
// of 0, which would make the aspect and the box infinite or NaN; until the window
// comes back, both modes keep the view they last had.
int viewWidth = demoWindowWidth;
int viewHeight = demoWindowHeight;

void keepUsableWindowSize(int width, int height)
{
    if (width > 0 && height > 0) {
        viewWidth = width;
        viewHeight = height;
    }
}

} // namespace

void beginPerspective()
{
    keepUsableWindowSize(windowWidth, windowHeight);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfViewDeg, static_cast<double>(viewWidth) / viewHeight, nearPlane, farPlane);
    applyCameraShot();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void beginOverlay()
{
    keepUsableWindowSize(windowWidth, windowHeight);
    // At a single model-view level OpenGL refuses this pop and changes nothing.
    glPopMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const OverlayBox box = overlayBoxFor(viewWidth, viewHeight);
    overlayLeft = box.left;
    overlayRight = box.right;
    overlayBottom = box.bottom;
    overlayTop = box.top;
    gluOrtho2D(overlayLeft, overlayRight, overlayBottom, overlayTop);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
