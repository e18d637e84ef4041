// The demo's sound track on its own, as a WAV or FLAC file for an editor.
#pragma once

#include "atomic_file.h"

#include <cstdint>
#include <string>
#include <vector>

// True when path names a kind of sound file the tool writes (.wav or .flac, any case).
bool isSoundFileName(const std::string& path);
// Writes interleaved 16-bit stereo at soundTrackRate into the open pending file, in
// the format its name gives; false with a one-line error.
bool writeSoundFile(const std::vector<int16_t>& track, PendingFile* file, std::string* error);
