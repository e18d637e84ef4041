// The camera on the GL side: the current shot put on the current matrix as one look-at.
#include "direction/camera.h"

#include "app/clock.h"
#include "direction/timeline.h"

#include <GL/glu.h>

void applyCameraShot()
{
    ShotView view;
    if (!shotView(shotIndex, demoTimeMs, &view)) {
        return;
    }
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.centre[0], view.centre[1], view.centre[2], view.up[0],
              view.up[1], view.up[2]);
}
