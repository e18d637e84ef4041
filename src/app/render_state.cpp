// The fixed render state: material, light 0, enables, blend function and hints.
#include "app/render_state.h"

#include "assets/texture_set.h"
#include "direction/light.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>

#ifndef GL_MULTISAMPLE_FILTER_HINT_NV
#define GL_MULTISAMPLE_FILTER_HINT_NV 0x8534
#endif

int sampleBufferCount = 0;
int samplesPerPixel = 0;

namespace {

const GLfloat frontDiffuse[] = {0.5f, 0.5f, 0.5f, 1.0f};
const GLfloat frontSpecular[] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat frontShininess = 50.0f;

} // namespace

void setupRenderState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glShadeModel(GL_SMOOTH);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, frontDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, frontSpecular);
    glMaterialfv(GL_FRONT, GL_SHININESS, &frontShininess);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    // The current colour drives the front diffuse material.
    glColorMaterial(GL_FRONT, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    // Blending itself is switched by the projection modes.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POLYGON_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_MULTISAMPLE);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_MULTISAMPLE_FILTER_HINT_NV, GL_NICEST);

    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBufferCount);
    glGetIntegerv(GL_SAMPLES, &samplesPerPixel);
    if (sampleBufferCount > 0 && samplesPerPixel > 1) {
        std::fputs("Multisample is active\n", stdout);
        std::fflush(stdout);
    }

    loadTextureSet();
}
