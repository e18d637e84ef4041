// Screen overlays, drawn in the overlay box over the finished 3D picture.
#include "view/overlays.h"

#include "app/clock.h"
#include "view/projection.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

constexpr float white = 1.0f;
constexpr float black = 0.0f;
constexpr float opaque = 1.0f;
constexpr float transparent = 0.0f;
constexpr float scanlineAlpha = 0.75f;

// A band across the box, opaque black along its edge and clear along its inner edge:
// vertices (from, edge), (to, edge), then (to, inner), (from, inner).
void drawFadingBand(float fromX, float toX, float edge, float inner)
{
    glPushMatrix();
    glBegin(GL_QUADS);
    glColor4f(black, black, black, opaque);
    glVertex2f(fromX, edge);
    glVertex2f(toX, edge);
    glColor4f(black, black, black, transparent);
    glVertex2f(toX, inner);
    glVertex2f(fromX, inner);
    glEnd();
    glPopMatrix();
}

void drawScanlineAt(float y)
{
    glPushMatrix();
    glBegin(GL_LINES);
    glVertex2f(overlayLeft, y);
    glVertex2f(overlayRight, y);
    glEnd();
    glPopMatrix();
}

} // namespace

void fillOverlay(float red, float green, float blue, float alpha)
{
    glPushMatrix();
    glBegin(GL_QUADS);
    glColor4f(red, green, blue, alpha);
    glVertex2f(overlayRight, overlayTop);
    glVertex2f(overlayLeft, overlayTop);
    glVertex2f(overlayLeft, overlayBottom);
    glVertex2f(overlayRight, overlayBottom);
    glEnd();
    glPopMatrix();
}

void drawFlash(int32_t startMs, double ratePerMs)
{
    if (demoTimeMs < startMs) {
        return;
    }
    beginOverlay();
    fillOverlay(white, white, white, flashAlpha(demoTimeMs, startMs, ratePerMs));
}

void drawLetterbox()
{
    beginOverlay();
    const float top = overlayTop;
    const float bottom = overlayBottom;
    const float left = overlayLeft;
    const float right = overlayRight;
    drawFadingBand(right, left, top, letterboxInnerEdge(top));
    drawFadingBand(left, right, bottom, letterboxInnerEdge(bottom));
}

void drawScanlines()
{
    beginOverlay();
    glColor4f(black, black, black, scanlineAlpha);
    // The lines fall exactly on pixel-row boundaries. Multisampled, each would cover
    // half of two rows and every row would dim alike; aliased, each darkens one whole
    // row, so every second row shows at a quarter of its brightness.
    glDisable(GL_MULTISAMPLE);
    walkScanlines(overlayBottom, overlayTop, windowHeight, drawScanlineAt);
    glEnable(GL_MULTISAMPLE);
}
