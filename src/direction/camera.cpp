// Camera shots (placeholder: every shot looks from +z at the origin).
#include "direction/camera.h"

#include "app/clock.h"
#include "direction/timeline.h"

#include <GL/glu.h>

bool shotView(int shot, int32_t, ShotView* view)
{
    if (shot < 0 || shot >= shotCount) {
        return false;
    }
    *view = ShotView{{0, 0, 10}, {0, 0, 0}, {0, 1, 0}};
    return true;
}

void applyCameraShot()
{
    ShotView view;
    if (!shotView(shotIndex, demoTimeMs, &view)) {
        return;
    }
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.centre[0], view.centre[1],
              view.centre[2], view.up[0], view.up[1], view.up[2]);
}
