// A running ffmpeg that takes the frames on its standard input.
#pragma once

#include "ffmpeg_command.h"

#include <cstdint>
#include <string>
#include <vector>

// Starts ffmpeg with the job's arguments; its messages go to a scratch log.
bool startVideoPipe(const VideoJob& job, std::string* error);
// Sends one frame of RGB pixels, top row first.
bool sendVideoFrame(const std::vector<uint8_t>& rgb, std::string* error);
// Closes the pipe and waits; fails with ffmpeg's first message when it did not succeed.
bool finishVideoPipe(std::string* error);
// Ends a started ffmpeg without waiting for a good result.
void abortVideoPipe();
