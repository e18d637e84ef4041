// Light presets (placeholder: light 0 shines along +z).
#include "direction/light.h"

#include "app/clock.h"

#include <GL/gl.h>

float lightPosition[4] = {0.0f, 0.0f, 0.0f, 0.0f};

int lightPresetForTime(int32_t) { return 0; }

void lightPositionFor(int, int32_t, float position[4])
{
    position[0] = 0.0f;
    position[1] = 0.0f;
    position[2] = 10.0f;
    position[3] = 0.0f;
}

void applyLightPreset(int lightPreset)
{
    lightPositionFor(lightPreset, demoTimeMs, lightPosition);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
}

void selectLightPreset()
{
    applyLightPreset(lightPresetForTime(demoTimeMs));
}
