// What the audio layer knows of SDL's drivers and the sound servers behind them:
// which drivers pace themselves, and how long after a callback its buffer is heard.
#pragma once

#include <cstdint>

// The server that answers SDL's PulseAudio driver: PulseAudio itself, or
// PipeWire's PulseAudio service; unknown when none answered.
enum class SoundServer { unknown, pulseAudio, pipeWire };

// The server a PulseAudio server name stands for ("pulseaudio", or
// "PulseAudio (on PipeWire 0.3.65)" from PipeWire's service).
SoundServer soundServerNamed(const char* serverName);

// Whether SDL's driver talks to a sound server over the PulseAudio protocol,
// so that the server can be asked which it is.
bool driverSpeaksPulse(const char* driver);

// Whether SDL's driver paces itself by sleeping a buffer's length instead of
// following a sound clock (disk, dummy): what it writes is the timeline.
bool driverPacesItself(const char* driver);

// How many frames after a callback the first frame it mixed is heard, with
// buffers of bufferFrames.
uint64_t heardAfterCallbackFrames(const char* driver, SoundServer server, uint64_t bufferFrames);
