// The display callback: the steps of one frame in their fixed order, ending with the swap.
#include "app/frame.h"

#include "direction/light.h"
#include "direction/timeline.h"
#include "platform/windowing.h"
#include "view/overlays.h"

void presentFrame() { windowing.swapBuffers(); }

void (*frameSteps[frameStepCount])() = {
    clearFrame, drawCurrentScene, selectLightPreset, selectShot, drawLetterbox, drawScanlines, presentFrame,
};

void displayFrame()
{
    for (void (*step)() : frameSteps) {
        step();
    }
}
