// Lays the music on the video's time line: sample 0 at the start call, offset, looped, cut.
#include "sound_track.h"

#include "app/clock.h"

#include <cstddef>

namespace {

constexpr int64_t msPerSecond = 1000;

} // namespace

std::vector<int16_t> placeSoundTrack(const std::vector<int16_t>& music, const MusicStart& start, int64_t firstCall,
                                     int64_t frameCount, int fps, uint32_t rate)
{
    const int64_t outputFrames = frameCount * rate / fps;
    std::vector<int16_t> track(static_cast<std::size_t>(outputFrames * soundTrackChannels), 0);
    const int64_t musicFrames = static_cast<int64_t>(music.size()) / soundTrackChannels;
    if (!start.started || musicFrames == 0) {
        return track;
    }

    // Both ends counted in sample frames from demo time 0.
    const int64_t videoOrigin = firstCall * rate / fps;
    const int64_t musicOrigin = static_cast<int64_t>(start.atMs) * rate / msPerSecond;
    // A position before the start plays from the start.
    const int64_t skipped = start.bytePosition > 0 ? start.bytePosition / bytesPerStereoFrame : 0;

    for (int64_t i = 0; i < outputFrames; ++i) {
        const int64_t sinceStart = videoOrigin + i - musicOrigin;
        if (sinceStart < 0) {
            continue;
        }
        const int64_t frame = (sinceStart + skipped) % musicFrames;
        for (int channel = 0; channel < soundTrackChannels; ++channel) {
            track[static_cast<std::size_t>(i * soundTrackChannels + channel)] =
                music[static_cast<std::size_t>(frame * soundTrackChannels + channel)];
        }
    }
    return track;
}

MusicStart findMusicStart(int32_t untilMs, int fps)
{
    musicStartSeen = MusicStart{};
    const int64_t calls = firstIdleCallFrom(untilMs, fps);
    for (int64_t n = 0; n < calls; ++n) {
        idleAt(steadyIdleTimeMs(n, fps));
    }
    const MusicStart found = musicStartSeen;
    resetClock();
    steadyClockMs = 0;
    musicStartSeen = MusicStart{};
    return found;
}
