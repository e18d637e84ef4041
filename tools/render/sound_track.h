// The video's sound track: the decoded music placed where a steady run starts it.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint32_t soundTrackRate = 44100;
constexpr int soundTrackChannels = 2;
// The demo hands the music a byte position into 16-bit stereo.
constexpr int64_t bytesPerStereoFrame = 4;

// What the demo's idle callback did about the music, as seen by the silent audio table.
struct MusicStart {
    bool started = false;
    int32_t atMs = 0;         // the demo clock when startMusic ran
    int64_t bytePosition = 0; // the position it handed to the audio layer
};

// The sound under frameCount video frames whose first is steady idle call firstCall
// at fps: silence until the music starts, then the music from the byte position the
// demo handed over, starting over when it runs out, cut at the last frame.
// music is interleaved stereo at rate; an empty music gives silence throughout.
std::vector<int16_t> placeSoundTrack(const std::vector<int16_t>& music, const MusicStart& start, int64_t firstCall,
                                     int64_t frameCount, int fps, uint32_t rate);
