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

// The model-view stack, one rule for both modes. Each mode draws from an identity
// model-view of its own, so nothing is ever drawn through the levels below it. A
// perspective opens a level: it pushes the one current when it began (with whatever a
// scene had set there), and the next overlay closes it, popping back to that one.
// Where no perspective is open, the overlay's pop finds a single level, which GL
// refuses, changing nothing; a perspective begun inside another (drawGround's) opens
// one more, which a later overlay closes. A frame's own last overlays, the letterbox
// and the scanlines, so leave it at the single level it began at.
void openPerspectiveLevel() { glPushMatrix(); }
void closePerspectiveLevel() { glPopMatrix(); }

void setSwitch(GLenum capability, bool on)
{
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// Depth and lighting for the perspective, blending for the overlay.
void setModeSwitches(bool perspective)
{
    setSwitch(GL_DEPTH_TEST, perspective);
    setSwitch(GL_LIGHTING, perspective);
    setSwitch(GL_BLEND, !perspective);
}

// The mode's projection, then the identity model-view it draws from.
void loadModeMatrices(void (*projection)())
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    projection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void perspectiveProjection()
{
    gluPerspective(fieldOfViewDeg, static_cast<double>(viewWidth) / viewHeight, nearPlane, farPlane);
    applyCameraShot();
}

void overlayProjection()
{
    const OverlayBox box = overlayBoxFor(viewWidth, viewHeight);
    overlayLeft = box.left;
    overlayRight = box.right;
    overlayBottom = box.bottom;
    overlayTop = box.top;
    gluOrtho2D(overlayLeft, overlayRight, overlayBottom, overlayTop);
}

} // namespace

void beginPerspective()
{
    keepUsableWindowSize(windowWidth, windowHeight);
    setModeSwitches(true);
    openPerspectiveLevel();
    loadModeMatrices(perspectiveProjection);
}

void beginOverlay()
{
    keepUsableWindowSize(windowWidth, windowHeight);
    closePerspectiveLevel();
    setModeSwitches(false);
    loadModeMatrices(overlayProjection);
}
