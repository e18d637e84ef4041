// Scenes 0 to 4: the loading card, the forest with its captions, the sphere rows,
// the forest under the beating sky and the forest with the cube lattice.
#include "scenes/scenes.h"

#include "app/clock.h"
#include "assets/texture_set.h"
#include "scenes/captions.h"
#include "scenes/flash_cues.h"
#include "scenes/props.h"
#include "scenes/square_cards.h"
#include "view/overlays.h"
#include "view/projection.h"

#include <GL/gl.h>

namespace {

// Loading card: the frame around the bar, and the bar that grows from the centre.
constexpr double loadingDurationMs = 5000.0;
constexpr GLfloat frameHalfWidth = 142.0f;
constexpr GLfloat frameLine = 1.0f;
struct FrameQuad {
    GLfloat x[4];
    GLfloat y[4];
};
constexpr FrameQuad loadingFrameLines[] = {
    {{frameHalfWidth, -frameHalfWidth, -frameHalfWidth, frameHalfWidth},
     {loadingFrameTop, loadingFrameTop, loadingFrameTop - frameLine, loadingFrameTop - frameLine}}, // upper
    {{frameHalfWidth, -frameHalfWidth, -frameHalfWidth, frameHalfWidth},
     {loadingFrameBottom + frameLine, loadingFrameBottom + frameLine, loadingFrameBottom, loadingFrameBottom}}, // lower
    {{-frameHalfWidth, -frameHalfWidth + frameLine, -frameHalfWidth + frameLine, -frameHalfWidth},
     {loadingFrameTop, loadingFrameTop, loadingFrameBottom, loadingFrameBottom}}, // left
    {{frameHalfWidth, frameHalfWidth - frameLine, frameHalfWidth - frameLine, frameHalfWidth},
     {loadingFrameTop, loadingFrameTop, loadingFrameBottom, loadingFrameBottom}}, // right
};
constexpr GLfloat loadingBarHalfLength = 140.0f;
constexpr GLfloat loadingBarBottom = -72.0f;
constexpr GLfloat loadingBarTop = -62.0f;

// Scene 1: the forest on dark blue, its fades and captions.
constexpr float groundHalfSize = 500.0f;
constexpr int32_t forestFadeOutStartMs = 32550;
constexpr double forestFadeOutRate = 0.001;
constexpr int32_t forestFadeInStartMs = 5000;
constexpr double forestFadeInRate = 0.00032;
constexpr int32_t firstCaptionLastMs = 19220;
constexpr int32_t secondCaptionLastMs = 21880;
constexpr double captionFadeInRate = 0.00016;
constexpr double firstCaptionCentreX = 0.45;  // of overlayRight
constexpr double firstCaptionCentreY = 0.65;  // of overlayBottom
constexpr double secondCaptionCentreX = 0.5;  // of overlayLeft
constexpr double secondCaptionCentreY = 0.65; // of overlayTop

// Scene 2: the sphere group sinking, and the third caption.
constexpr int32_t sphereSceneStartMs = 34750;
constexpr int32_t sphereSceneEndMs = 47220;
constexpr double sphereDepthAtEnd = -200.0;
constexpr double sphereSinkRate = 0.0225;
constexpr double thirdCaptionCentreX = 0.5; // of overlayLeft

// Scenes 3 and 4: the beating sky.
constexpr double beatSkyRate = 0.0064;
constexpr double fastSkyRate = 0.0192;
constexpr int32_t fastSkyFromMs = 58330;
constexpr int32_t whiteVeilUntilMs = 47660;
constexpr double whiteVeilRate = 0.0032;

void drawWhiteQuad(const GLfloat x[4], const GLfloat y[4])
{
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int corner = 0; corner < 4; ++corner) {
        glVertex2f(x[corner], y[corner]);
    }
    glEnd();
}

// The forest on its ground, each in a save and restore of its own (scenes 1 and 3).
void drawForestOnGround()
{
    glPushMatrix();
    drawGround(groundHalfSize);
    glPopMatrix();
    glPushMatrix();
    drawForest();
    glPopMatrix();
}

} // namespace

void renderScene0()
{
    const int32_t t = demoTimeMs;
    beginOverlay();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    drawImageQuad(textureSlots[slotLoading], 1.0f, 1.0f, 1.0f, 1.0f, -fullCardHalf, fullCardHalf, -fullCardHalf,
                  fullCardHalf);

    for (const FrameQuad& line : loadingFrameLines) {
        glPushMatrix();
        drawWhiteQuad(line.x, line.y);
        glPopMatrix();
    }

    float progress = static_cast<float>(t / loadingDurationMs);
    if (!(progress < 1.0f)) {
        progress = 1.0f;
    }
    const GLfloat barX[4] = {-loadingBarHalfLength, loadingBarHalfLength, loadingBarHalfLength, -loadingBarHalfLength};
    const GLfloat barY[4] = {loadingBarBottom, loadingBarBottom, loadingBarTop, loadingBarTop};
    glPushMatrix();
    glScalef(progress, 1.0f, 1.0f);
    drawWhiteQuad(barX, barY);
    glPopMatrix();
}

void renderScene1()
{
    const int32_t t = demoTimeMs;
    beginPerspective();
    glClearColor(0.0f, 0.0f, 0.1f, 1.0f);
    drawForestOnGround();

    // The fade to black lies under the fade from black; both lie under the caption.
    if (t > forestFadeOutStartMs) {
        beginOverlay();
        fillOverlay(0.0f, 0.0f, 0.0f, static_cast<float>((t - forestFadeOutStartMs) * forestFadeOutRate));
    }
    if (t > forestFadeInStartMs) {
        beginOverlay();
        fillOverlay(0.0f, 0.0f, 0.0f, static_cast<float>(1.0 - (t - forestFadeInStartMs) * forestFadeInRate));
    }

    if (t <= firstCaptionLastMs) {
        beginOverlay();
        const float cx = static_cast<float>(overlayRight * firstCaptionCentreX);
        const float cy = static_cast<float>(overlayBottom * firstCaptionCentreY);
        const float alpha = static_cast<float>((t - forestFadeInStartMs) * captionFadeInRate);
        drawImageQuad(textureSlots[slotS1], 0.0f, 0.0f, 1.0f, alpha, static_cast<float>(cx - firstCaptionLeft),
                      static_cast<float>(cx + firstCaptionRight), static_cast<float>(cy - firstCaptionHalfHeight),
                      static_cast<float>(cy + firstCaptionHalfHeight));
    } else if (t <= secondCaptionLastMs) {
        beginOverlay();
        const float cx = static_cast<float>(overlayLeft * secondCaptionCentreX);
        const float cy = static_cast<float>(overlayTop * secondCaptionCentreY);
        drawImageQuad(textureSlots[slotS2], 1.0f, 1.0f, 1.0f, 1.0f, static_cast<float>(cx - secondCaptionHalfWidth),
                      static_cast<float>(cx + secondCaptionHalfWidth), static_cast<float>(cy - secondCaptionHalfHeight),
                      static_cast<float>(cy + secondCaptionHalfHeight));
    }

    for (int32_t start : forestFlashTimesMs) {
        drawFlash(start, fastFlashRate);
    }
}

void renderScene2()
{
    const int32_t t = demoTimeMs;
    glPushMatrix();
    beginPerspective();
    // The rows are painted in order over each other, translucent and unlit.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, static_cast<float>(sphereDepthAtEnd - (t - sphereSceneEndMs) * sphereSinkRate), 0.0f);
    drawSphereRows();
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);

    beginOverlay();
    const float cx = static_cast<float>(overlayLeft * thirdCaptionCentreX);
    drawImageQuad(textureSlots[slotS3], 1.0f, 1.0f, 1.0f,
                  static_cast<float>((t - sphereSceneStartMs) * captionFadeInRate),
                  static_cast<float>(cx - thirdCaptionHalfWidth), static_cast<float>(cx + thirdCaptionHalfWidth),
                  -thirdCaptionHalfHeight, thirdCaptionHalfHeight);
}

void renderScene3()
{
    const int32_t t = demoTimeMs;
    beginPerspective();
    if (t < fastSkyFromMs) {
        setPulseClearColor(beatPulseMs, beatSkyRate);
    } else {
        setPulseClearColor(fastPulseMs, fastSkyRate);
    }
    drawForestOnGround();

    if (t < whiteVeilUntilMs) {
        beginOverlay();
        fillOverlay(1.0f, 1.0f, 1.0f, static_cast<float>(1.0 - fastPulseMs * whiteVeilRate));
    }
}

void renderScene4()
{
    glPushMatrix();
    setPulseClearColor(beatPulseMs, beatSkyRate);
    beginPerspective();
    drawGround(groundHalfSize);
    // The lattice's tilt stays on the matrix until the restore below, so the forest is upright.
    drawCubeLattice();
    glPopMatrix();
    glPushMatrix();
    drawForest();
    glPopMatrix();

    drawFlash(latticeSceneStartMs, slowFlashRate);
    for (int32_t start : latticeFlashTimesMs) {
        drawFlash(start, mediumFlashRate);
    }
}
