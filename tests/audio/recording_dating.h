// Reading a sound server's recording: where the music runs in it, unbroken and
// at the right rate, and when its frames were heard, dated by arrival stamps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The demo starts its music when its clock passes this (ms).
constexpr double demoMusicStartMs = 5000.0;

// Why the music stopped being followed: a run of silence (the stream ran dry),
// the music going on from elsewhere (a skip or a repeat), or no match at all
// (a wrong rate or pitch, noise, or the music ended).
enum class BreakKind { none, dropout, jump, lost };

// Where the music runs in a recording of it (both interleaved 16-bit stereo at one rate).
struct Follow {
    bool found = false;
    int64_t onsetFrame = 0;      // the first frame that is not silence
    int64_t zeroFrame = 0;       // the recording frame that music frame 0 falls on
    int64_t endFrame = 0;        // the last window's recording frame that still followed the music,
    int64_t endMusicFrame = 0;   // and the music frame heard there (counted on across loops)
    int64_t unbrokenFrames = 0;  // from the onset to the end of that window
    int64_t worstLag = 0;        // the farthest a window's match moved from the one before (frames)
    double worstCorrelation = 0; // the poorest match among the windows that followed
    int64_t breakFrame = -1;     // the window where the music was lost, -1 if never
    BreakKind breakKind = BreakKind::none;
};

// Matches windows of the recording (at rate) against the music (at musicRate,
// brought to rate here). A gap, a repeat, a rate or pitch error, or noise ends
// the run: the match moves or fades. The slow slips by which the layer follows
// the demo's clock, up to a frame a buffer, do not.
Follow followRecording(const std::vector<int16_t>& music, int musicRate, const std::vector<int16_t>& recording,
                       int rate);

// "T bytes" lines: at monotonic time T (ms) the recorder had read this many bytes.
struct ArrivalStamp {
    double atMs;
    int64_t frames;
};
std::vector<ArrivalStamp> readStamps(const std::string& path);

// When a recording frame was captured: the reads within a second of it say when
// frame 0 would have been, each a little late; the earliest of them is taken.
double frameTimeMs(const std::vector<ArrivalStamp>& stamps, int64_t frame, int rate);

// How far the recorder's own stream strayed from its clock (ms): the spread of
// frame 0's time as each second's earliest read puts it. Reads that come late
// do not move it; a server that loses or stalls its monitor's frames does.
double recorderStrayMs(const std::vector<ArrivalStamp>& stamps, int rate);

// From the clock probe's "clock T value" lines, on the monotonic clock (ms):
// demo time 0, and the first read of the demo's clock past the music's start,
// the one after which its idle loop starts the music (-1 if none).
struct DemoClockLog {
    double originMs = 0;
    double musicCallMs = -1;
};
bool readDemoClock(const std::string& path, DemoClockLog* log);
