// One helper program (ffmpeg) at a time, run with its standard input from a pipe of
// ours, its output discarded and its errors written to a file; one file for each
// system: helper_process_posix.cpp, helper_process_windows.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Starts args[0] with the arguments after it; false with a one-line error.
bool startHelper(const std::vector<std::string>& args, const std::string& errorLogPath, std::string* error);
// Writes all bytes to its standard input; false once it has gone.
bool writeToHelper(const uint8_t* bytes, size_t count);
// Closes its standard input (it sees the end of its input).
void closeHelperInput();
// Waits for it to end: true when it ended with exit code 0.
bool waitForHelper();
// Ends it at once, from anywhere, a stop handler included; nothing when none runs.
void stopHelperNow();
