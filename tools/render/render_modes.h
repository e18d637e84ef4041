// What the tool's modes share: ending with one line, starting the demo offscreen, and
// drawing a run of frames in this process or split over jobs.
#pragma once

#include "render_jobs.h"
#include "render_options.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;

// Ends the tool with one line, leaving no half-written output and no ffmpeg behind.
[[noreturn]] void fail(int code, const std::string& message);
// Puts the demo on the steady clock (onSwap runs at its buffer swap, may be null);
// should the demo end there, the tool ends with a failure.
void useSteadyClock(void (*onSwap)());
// Opens the offscreen picture and the demo in it, or ends the tool.
void startDemo(const RenderOptions& options);

// The output frames of the range: steady idle calls [first, end).
FrameChunk rangeFrames(const RenderOptions& options);
// The jobs the range is split into: one chunk without --jobs.
std::vector<FrameChunk> rangeChunks(const RenderOptions& options);

// Starts the demo and draws the chunk's frames, handing each to keep with its frame
// number, and counts them on the progress line.
using KeepFrame = std::function<void(int64_t frame, const std::vector<uint8_t>& rgb)>;
void drawChunk(const RenderOptions& options, const FrameChunk& chunk, const KeepFrame& keep);
// The chunks in jobs of their own (started before any GL), or ends the tool on a failure.
void drawInJobs(const std::vector<FrameChunk>& chunks, int64_t total,
                const std::function<void(const FrameChunk&, size_t)>& work);

// --video and --audio.
void renderVideo(const RenderOptions& options);
void renderSound(const RenderOptions& options);
