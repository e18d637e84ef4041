// The camera: the formula of the shot that frames a moment, as eye, centre and up.
#include "direction/camera.h"

#include "direction/shot_formulas.h"
#include "direction/timeline.h"

static_assert(openingShotCount + closingShotCount == shotCount, "every shot has one formula");

bool shotView(int shot, int32_t t, ShotView* view)
{
    if (shot < 0 || shot >= shotCount) {
        return false;
    }
    *view = shot < openingShotCount ? openingShots[shot](t) : closingShots[shot - openingShotCount](t);
    return true;
}
