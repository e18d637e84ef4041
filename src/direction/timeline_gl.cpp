// The drawing steps of a frame: clearing, and the scene renderer the scene table picks.
#include "direction/timeline.h"

#include "app/clock.h"
#include "scenes/scenes.h"

#include <GL/gl.h>

namespace {

void (*const sceneRenderers[sceneCount])() = {
    renderScene0, renderScene1, renderScene2, renderScene3, renderScene4,
    renderScene5, renderScene6, renderScene7, renderScene8, renderScene9,
};

} // namespace

void drawScene(int sceneIndex) { sceneRenderers[sceneIndex](); }

void clearFrame() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

void drawCurrentScene() { drawScene(sceneForTime(demoTimeMs)); }
