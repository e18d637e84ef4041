// Output files that appear under their final name only once they are complete:
// written under a temporary name beside it, then renamed; removed on failure or Ctrl-C.
#pragma once

#include <cstdio>
#include <string>

struct PendingFile {
    std::string finalPath;
    std::string tempPath;
    std::FILE* stream = nullptr; // open for writing until committed or closed by the owner
};

// Creates the temporary file beside finalPath; it keeps finalPath's extension.
bool openPending(const std::string& finalPath, PendingFile* file, std::string* error);
// Flushes, closes and renames the temporary file to its final name.
bool commitPending(PendingFile* file, std::string* error);
// Closes and removes the temporary file.
void abandonPending(PendingFile* file);

// A scratch file in the system's temporary folder, removed by abandonPending.
bool openScratch(const std::string& stem, PendingFile* file, std::string* error);

// Makes the folder if it is missing; fails if the path is something else.
bool ensureFolder(const std::string& path, std::string* error);

// Removes every temporary file still pending (before the tool ends on a failure).
void removeAllPending();
// On Ctrl-C, SIGTERM or SIGHUP, ends the helper (ffmpeg) and removes every temporary
// file still pending, then ends.
void removePendingOnSignals();
