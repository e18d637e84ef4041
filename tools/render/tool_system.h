// The render tool's calls that differ by system, one file for each: POSIX's
// (tool_system_posix.cpp) and Windows' (tool_system_windows.cpp).
#pragma once

#include <cstdio>
#include <string>

// The separator of the folders of PATH, and the name the ffmpeg program has there.
extern const char pathListSeparator;
extern const char* const ffmpegProgram;
// Where programs are looked for when PATH is not set.
extern const char* const searchPathWithoutPath;
// What to do when ffmpeg is not on the PATH.
extern const char* const ffmpegMissingAdvice;
// What this system's build leaves out, for --help (empty when nothing is).
extern const char* const notOnThisSystem;

// Holds the display open (or fails with a one-line error) while GLUT connects to it,
// then lets it go; nothing to hold where the window system is always there.
bool holdDisplay(std::string* error);
void releaseDisplay();

// Creates a new file from pattern, whose six X's just before a suffix of suffixLength
// are replaced to make a name nobody has; the stream is open for binary writing and
// the file gets the permissions any new file would.
std::FILE* createUniqueFile(std::string* pattern, int suffixLength);
// Puts a written and flushed stream's bytes on the disk.
bool syncToDisk(std::FILE* stream);
// Renames from to to, replacing a file already called to.
bool replaceFile(const std::string& from, const std::string& to);
// Removes a file; callable from the stop handler.
void removeFileNow(const char* path);
// The folder for scratch files, without a trailing separator.
std::string scratchFolder();
// A regular file this process may run.
bool isRunnableFile(const std::string& path);
// True when standard error is a terminal that takes "\r" and "\033[K".
bool progressRewritesInPlace();

// On Ctrl-C and whatever else stops a program here, runs cleanup and ends the tool
// (POSIX: with 128 + the signal). cleanup may run in a signal handler: it only
// removes files and kills the helper.
void onStopRequests(void (*cleanup)());
