// The video's sound track: the decoded music placed where a steady run starts it.
#pragma once

#include "app/steady_clock.h"

#include <cstdint>
#include <vector>

constexpr uint32_t soundTrackRate = 44100;
constexpr int soundTrackChannels = 2;
// The demo hands the music a byte position into 16-bit stereo.
constexpr int64_t bytesPerStereoFrame = 4;

// The sound under frameCount video frames whose first is steady idle call firstCall
// at fps: silence until the music starts, then the music from the byte position the
// demo handed over, starting over when it runs out, cut at the last frame.
// music is interleaved stereo at rate; an empty music gives silence throughout.
std::vector<int16_t> placeSoundTrack(const std::vector<int16_t>& music, const MusicStart& start, int64_t firstCall,
                                     int64_t frameCount, int fps, uint32_t rate);

// Where a steady run at fps starts the music, found by running the demo's own idle
// callback over the steady times below untilMs; leaves the clock as at start-up.
MusicStart findMusicStart(int32_t untilMs, int fps);
