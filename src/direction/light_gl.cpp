// Light 0 handed to GL. It is directional (w = 0) and is handed over under an
// identity model-view, so its direction stays fixed in the world whatever the shot.
#include "direction/light.h"

#include "app/clock.h"

#include <GL/gl.h>

void applyLightPreset(int lightPreset)
{
    lightPositionFor(lightPreset, demoTimeMs, lightPosition);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

void selectLightPreset() { applyLightPreset(lightPresetForTime(demoTimeMs)); }
