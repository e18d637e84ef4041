// The camera: the formula of the shot that frames a moment, put on the current
// matrix as one look-at.
#include "direction/camera.h"

#include "app/clock.h"
#include "direction/shot_formulas.h"
#include "direction/timeline.h"

#include <GL/glu.h>

static_assert(openingShotCount + closingShotCount == shotCount, "every shot has one formula");

bool shotView(int shot, int32_t t, ShotView* view)
{
    if (shot < 0 || shot >= shotCount) {
        return false;
    }
    *view = shot < openingShotCount ? openingShots[shot](t) : closingShots[shot - openingShotCount](t);
    return true;
}

void applyCameraShot()
{
    ShotView view;
    if (!shotView(shotIndex, demoTimeMs, &view)) {
        return;
    }
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.centre[0], view.centre[1], view.centre[2], view.up[0],
              view.up[1], view.up[2]);
}
