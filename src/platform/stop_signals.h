// Ctrl-C, kill and a closed terminal end the demo at once, from any state: the
// question box, the loading card or the music.
#pragma once

// Blocks SIGINT, SIGTERM and SIGHUP for every thread and starts one thread that
// waits for them (on Windows: Ctrl-C, Ctrl-Break and a closed console). Call it
// first in main, before any other thread exists. On a signal that thread closes the
// question box (SDL and the desktop's dialog tool show it from a child process),
// runs the stop cleanup and ends the process with 128 + the signal (on Windows
// with the status of a Ctrl-C).
void endOnStopSignals();

// What must happen before a signal ends the process (the audio layer closes its
// device, so the sound server sees its stream end). It must not block for long.
void setStopCleanup(void (*cleanup)());

// What must happen when the process ends through exit() (the audio layer stops its
// thread first); hook receives the exit status. False when it could not be set.
bool runAtExit(void (*hook)(int status));
