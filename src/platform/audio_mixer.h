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

// Moves a channel toward framesAhead frames past where plain playing puts it,
// so that it follows the steady clock on a device whose clock runs apart from
// it: a frame a buffer under a short crossfade for a small drift, the whole
// difference at once for a stall. A placed start begins at 0.
int followMixChannel(uint32_t handle, int64_t framesAhead);

// The crossfade over which a channel moves, in frames, and the errors from
// which it starts to slip a frame a buffer (a millisecond at 44.1 kHz: under it
// lies the device clock's own noise) and from which it jumps (10 ms: past it a
// beat would be heard off its flash; a stall that long has been heard already).
constexpr uint32_t followFadeFrames = 64;
constexpr int64_t followSlipFromFrames = 44;
constexpr int64_t followJumpFromFrames = 441;

// How many output frames have been mixed so far.
uint64_t mixedOutputFrames();

// Takes the output back to outputFrame, so that the frames mixed from there on
// are mixed again (an output that can still replace them does so). Only over
// frames in which nothing sounded: returns false, and changes nothing, when a
// channel sounded at or after outputFrame, or outputFrame lies ahead.
bool rewindMixOutput(uint64_t outputFrame);

// Adds every sounding channel into out (frames stereo frames, silenced first),
// clipping at the 16-bit limits, and moves the channels on.
void mixChannels(int16_t* out, uint32_t frames, uint64_t nowMs);

// Drops every channel and its sound.
void clearMixChannels();
