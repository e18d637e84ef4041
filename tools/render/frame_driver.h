// Runs the demo's own frame code on the offscreen picture from the tool's clock.
#pragma once

#include "app/steady_clock.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Installs the stand-ins, opens the offscreen picture, hands the demo its size,
// and sets the demo's fixed render state (which loads the textures from data/).
bool startDemoOffscreen(int width, int height, int samples, std::string* error);

// The last drawn frame as RGB, top row first.
void captureFrame(std::vector<uint8_t>* rgb);

// One moment as drawMoment draws it, read back; with sub-frames, their pictures
// averaged (rounded to nearest).
void drawMomentPicture(int32_t atMs, int subFrames, std::vector<uint8_t>* rgb);

// Called with each output frame's number in the schedule and its picture.
using KeepPicture = std::function<void(int64_t, const std::vector<uint8_t>&)>;

// Every output frame of the schedule, in order, each handed to keep while the GL
// already draws the next.
void drawOutputFrames(const FrameSchedule& schedule, const KeepPicture& keep);
