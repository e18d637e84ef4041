// The audio layer's channels and its mixer: which decoded sounds play, where
// each stands, and the frames they add to an output buffer. No device, no locks:
// the SDL side holds the device lock around every call here.
#pragma once

#include <cstdint>
#include <vector>

// How many sounds may be loaded at once.
constexpr int mixChannelCount = 16;

// A play that is not followed by a set-position waits this long before it
// sounds, so that play followed at once by set-position never lets the frames
// at the old position be heard, even when the mixer runs between the two calls.
constexpr uint64_t playStartHoldMs = 100;

// Takes over a decoded sound (interleaved 16-bit stereo); returns its handle,
// or 0 when every channel is taken.
uint32_t addMixChannel(std::vector<int16_t>* stereoSamples, bool loop);

// Each returns audioOk or the layer's error code.
int playMixChannel(uint32_t handle, bool restart, uint64_t nowMs);
int setMixChannelFrame(uint32_t handle, uint64_t frame);

// Holds a channel's sound back until the output reaches outputFrame (counted
// in frames mixed since the process began), so that a start can be placed to
// the sample within a device buffer instead of at its first frame. A frame that
// is mixed already is in the past: the sound then starts with the next frame
// mixed, that many frames further in, as if it had sounded from outputFrame.
int startMixChannelAt(uint32_t handle, uint64_t outputFrame);

// How many output frames have been mixed so far.
uint64_t mixedOutputFrames();

// Adds every sounding channel into out (frames stereo frames, silenced first),
// clipping at the 16-bit limits, and moves the channels on.
void mixChannels(int16_t* out, uint32_t frames, uint64_t nowMs);

// Drops every channel and its sound.
void clearMixChannels();
