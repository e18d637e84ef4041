// Scenes 5 to 9: the rising wave field, the block field with the credits, the wave
// field at rest, the wide ground fading to black, and the end card.
#include "scenes/scenes.h"

#include "app/clock.h"
#include "assets/texture_set.h"
#include "scenes/credits.h"
#include "scenes/flash_cues.h"
#include "scenes/props.h"
#include "scenes/square_cards.h"
#include "view/overlays.h"
#include "view/projection.h"

#include <GL/gl.h>

namespace {

constexpr float groundHalfSize = 500.0f;
constexpr float wideGroundHalfSize = 5000.0f;
constexpr double beatSkyRate = 0.0064;

constexpr int32_t wideGroundFadeStartMs = 186330;
constexpr double wideGroundFadeRate = 0.00032;
constexpr int32_t endCardFadeStartMs = 195000;
constexpr double endCardFadeRate = 0.0025;

// The wave field under the beating sky; scenes 5 and 7 differ only in their flashes.
void drawWaveFieldScene()
{
    beginPerspective();
    setPulseClearColor(beatPulseMs, beatSkyRate);
    glPushMatrix();
    drawGround(groundHalfSize);
    glPopMatrix();
    drawWaveField();
}

} // namespace

void renderScene5()
{
    drawWaveFieldScene();
    drawFlash(risingFieldStartMs, slowFlashRate);
}

void renderScene6()
{
    beginPerspective();
    // The blocks show their own colours, unshaded.
    glDisable(GL_LIGHTING);
    setPulseClearColor(beatPulseMs, beatSkyRate);
    drawTunnelField();

    if (const CreditCard* card = creditForTime(demoTimeMs)) {
        beginOverlay();
        const CardRect rect = creditRect(*card, overlayLeft, overlayRight, overlayBottom, overlayTop);
        drawImageQuad(textureSlots[card->slot], 1.0f, 1.0f, 1.0f, 1.0f, rect.left, rect.right, rect.bottom, rect.top);
    }

    drawFlash(blockFieldStartMs, slowFlashRate);
    for (int32_t start : blockFieldFlashTimesMs) {
        drawFlash(start, mediumFlashRate);
    }
}

void renderScene7()
{
    drawWaveFieldScene();
    drawFlash(restingFieldStartMs, slowFlashRate);
    for (int32_t start : restingFieldFlashTimesMs) {
        drawFlash(start, mediumFlashRate);
    }
}

void renderScene8()
{
    const int32_t t = demoTimeMs;
    beginPerspective();
    glClearColor(0.0f, 0.0f, 0.1f, 1.0f);
    glPushMatrix();
    drawGround(wideGroundHalfSize);
    glPopMatrix();
    drawWaveField();
    if (t >= wideGroundFadeStartMs) {
        beginOverlay();
        fillOverlay(0.0f, 0.0f, 0.0f, static_cast<float>((t - wideGroundFadeStartMs) * wideGroundFadeRate));
    }
    drawFlash(wideGroundStartMs, slowFlashRate);
}

void renderScene9()
{
    const int32_t t = demoTimeMs;
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    beginOverlay();
    drawImageQuad(textureSlots[slotEnd], 1.0f, 1.0f, 1.0f, 1.0f, -fullCardHalf, fullCardHalf, -fullCardHalf,
                  fullCardHalf);
    if (t > endCardFadeStartMs) {
        beginOverlay();
        fillOverlay(0.0f, 0.0f, 0.0f, static_cast<float>((t - endCardFadeStartMs) * endCardFadeRate));
    }
    drawFlash(endCardStartMs, slowFlashRate);
}
