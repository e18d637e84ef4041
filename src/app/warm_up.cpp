// The warm-up: each scene drawn once, unseen, while the loading card shows.
#include "app/warm_up.h"

#include "app/clock.h"
#include "app/frame.h"
#include "direction/light.h"
#include "direction/timeline.h"
#include "platform/windowing.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>
#include <iterator>

namespace {

// The next scene to warm (the card, scene 0, warms itself by being shown) and
// the longest a warm-up has taken so far.
int nextSceneToWarm = 1;
int32_t longestWarmUpMs = 0;

// Everything the demo's own state holds from one frame to the next.
struct CarriedState {
    int32_t timeMs;
    float beatPulse;
    float beatOrigin;
    float fastPulse;
    float fastOrigin;
    int32_t shot;
    float light[4];
};

CarriedState carriedState()
{
    CarriedState state = {demoTimeMs, beatPulseMs, beatOriginMs, fastPulseMs, fastOriginMs, shotIndex, {}};
    std::copy(std::begin(lightPosition), std::end(lightPosition), state.light);
    return state;
}

void restore(const CarriedState& state)
{
    demoTimeMs = state.timeMs;
    beatPulseMs = state.beatPulse;
    beatOriginMs = state.beatOrigin;
    fastPulseMs = state.fastPulse;
    fastOriginMs = state.fastOrigin;
    shotIndex = state.shot;
    std::copy(std::begin(state.light), std::end(state.light), lightPosition);
}

} // namespace

void warmUpScene(int scene)
{
    const CarriedState carried = carriedState();
    // The light's position, the clear colour, the enables and the current colour.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    // The scene's first moment, framed by its first shot, with both pulses
    // fresh so that its flashes draw too.
    demoTimeMs = sceneStartMs(scene);
    shotIndex = shotForTime(demoTimeMs);
    beatPulseMs = 0.0f;
    fastPulseMs = 0.0f;
    // Every step of a frame but the last: the picture stays in the back buffer,
    // which the next frame clears.
    for (int step = 0; step < frameStepCount - 1; ++step) {
        frameSteps[step]();
    }
    glPopAttrib();
    restore(carried);
}

void displayLiveFrame()
{
    displayFrame();
    if (nextSceneToWarm >= sceneCount) return;
    const int32_t startMs = windowing.get(GLUT_ELAPSED_TIME);
    if (startMs + warmUpRoomFactor * longestWarmUpMs >= musicStartMs - warmUpEndsBeforeMusicMs) return;
    warmUpScene(nextSceneToWarm);
    ++nextSceneToWarm;
    longestWarmUpMs = std::max(longestWarmUpMs, windowing.get(GLUT_ELAPSED_TIME) - startMs);
}
