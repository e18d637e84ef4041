// The channel table and the mixer that the audio callback runs: plain copies
// from sounds decoded in advance, nothing decoded or allocated here.
#include "platform/audio_mixer.h"

#include "platform/audio.h"

#include <algorithm>

namespace {

constexpr int32_t int16Max = 32767;
constexpr int32_t int16Min = -32768;
constexpr uint32_t mixBlockFrames = 8192;

struct MixChannel {
    uint32_t handle;             // 0: the slot is free
    std::vector<int16_t>* sound; // interleaved stereo; owned by the channel
    uint64_t frames;
    bool loop;
    bool playing;
    bool startHeld; // played, waiting for a set-position or the hold to pass
    uint64_t playedAtMs;
    uint64_t frame;          // the next frame to mix
    uint64_t startsAtOutput; // silent until the output reaches this frame
    int64_t followTarget;    // frames past plain playing that the clock asks for
    int64_t followApplied;   // and how far the channel has moved so far
    bool slipping;
};

// Plain data with no destructor: the process can end while the audio thread
// still reads it without anything being torn down under it.
MixChannel channels[mixChannelCount];
uint32_t lastHandle = 0;
uint64_t outputFrames = 0;
// The output frame after the last one any channel sounded in.
uint64_t soundedUntil = 0;

MixChannel* findChannel(uint32_t handle)
{
    if (handle == 0) return nullptr;
    for (MixChannel& channel : channels) {
        if (channel.handle == handle) return &channel;
    }
    return nullptr;
}

// Adds one channel's frames into the mix; returns false once a one-shot sound has ended.
bool mixOne(MixChannel* channel, int32_t* mix, uint32_t frames)
{
    // An empty sound has nothing to add, and as a loop it would never move on.
    if (channel->frames == 0) return false;
    const int16_t* sound = channel->sound->data();
    uint32_t done = 0;
    while (done < frames) {
        if (channel->frame >= channel->frames) {
            if (!channel->loop) return false;
            channel->frame = 0;
        }
        const uint64_t run = std::min<uint64_t>(frames - done, channel->frames - channel->frame);
        const int16_t* from = sound + channel->frame * audioOutputChannels;
        int32_t* to = mix + static_cast<uint64_t>(done) * audioOutputChannels;
        for (uint64_t i = 0; i < run * audioOutputChannels; ++i) {
            to[i] += from[i];
        }
        channel->frame += run;
        done += static_cast<uint32_t>(run);
    }
    return true;
}

// Whether a channel can move by step within its sound: the crossfade reads
// followFadeFrames both where it stands and step frames on, so the later of the
// two must end inside the sound. A move that would leave it waits for a later buffer.
bool canMove(const MixChannel& channel, int64_t step)
{
    const int64_t frame = static_cast<int64_t>(channel.frame);
    const int64_t frames = static_cast<int64_t>(channel.frames);
    return frame + step >= 0 && frame + std::max<int64_t>(step, 0) + followFadeFrames < frames;
}

// Adds the first followFadeFrames of a channel while it moves step frames: a
// crossfade from where it stands to step frames on, from where it then plays.
void mixMove(MixChannel* channel, int32_t* mix, int64_t step)
{
    const int16_t* sound = channel->sound->data();
    constexpr int32_t fadeSteps = followFadeFrames + 1;
    for (uint32_t i = 0; i < followFadeFrames; ++i) {
        const uint64_t from = (channel->frame + i) * audioOutputChannels;
        const uint64_t to = from + step * audioOutputChannels;
        for (uint32_t side = 0; side < audioOutputChannels; ++side) {
            const int32_t a = sound[from + side];
            const int32_t b = sound[to + side];
            mix[i * audioOutputChannels + side] += a + (b - a) * static_cast<int32_t>(i + 1) / fadeSteps;
        }
    }
    channel->frame += followFadeFrames + step;
    channel->followApplied += step;
}

// This buffer's move for a channel that is errorFrames behind where it should
// be (ahead when negative): 0, one frame either way, or the whole error.
// *slipping carries on from one buffer to the next, so a run of slips, once
// begun, mends the error whole.
int64_t followStep(int64_t errorFrames, bool* slipping)
{
    if (errorFrames >= followJumpFromFrames || errorFrames <= -followJumpFromFrames) {
        *slipping = false;
        return errorFrames;
    }
    if (errorFrames >= followSlipFromFrames || errorFrames <= -followSlipFromFrames) *slipping = true;
    if (errorFrames == 0) *slipping = false;
    if (!*slipping) return 0;
    return errorFrames > 0 ? 1 : -1;
}

// Adds a sounding channel's part of the buffer, moving it first when the clock asks.
bool mixSounding(MixChannel* channel, int32_t* mix, uint32_t frames)
{
    const int64_t step = followStep(channel->followTarget - channel->followApplied, &channel->slipping);
    if (step == 0 || frames < followFadeFrames || !canMove(*channel, step)) return mixOne(channel, mix, frames);
    mixMove(channel, mix, step);
    return mixOne(channel, mix + followFadeFrames * audioOutputChannels, frames - followFadeFrames);
}

} // namespace

uint32_t addMixChannel(std::vector<int16_t>* stereoSamples, bool loop)
{
    for (MixChannel& channel : channels) {
        if (channel.handle != 0) continue;
        // Handles count up and are never reused, so a stale one is refused.
        lastHandle = lastHandle == UINT32_MAX ? 1 : lastHandle + 1;
        channel = MixChannel{};
        channel.handle = lastHandle;
        channel.sound = new std::vector<int16_t>();
        channel.sound->swap(*stereoSamples);
        channel.frames = channel.sound->size() / audioOutputChannels;
        channel.loop = loop;
        return channel.handle;
    }
    return 0;
}

int playMixChannel(uint32_t handle, bool restart, uint64_t nowMs)
{
    MixChannel* channel = findChannel(handle);
    if (channel == nullptr) return audioErrorHandle;
    if (restart) channel->frame = 0;
    if (!channel->playing || channel->frame >= channel->frames) {
        if (channel->frame >= channel->frames) channel->frame = 0;
        channel->playing = true;
        channel->startHeld = true;
        channel->playedAtMs = nowMs;
    }
    return audioOk;
}

int setMixChannelFrame(uint32_t handle, uint64_t frame)
{
    MixChannel* channel = findChannel(handle);
    if (channel == nullptr) return audioErrorHandle;
    if (frame >= channel->frames) return audioErrorPosition;
    channel->frame = frame;
    // The caller has said where to play from: a held start may sound now.
    channel->startHeld = false;
    return audioOk;
}

int startMixChannelAt(uint32_t handle, uint64_t outputFrame)
{
    MixChannel* channel = findChannel(handle);
    if (channel == nullptr) return audioErrorHandle;
    if (outputFrame < outputFrames) {
        const uint64_t late = outputFrames - outputFrame;
        const uint64_t left = channel->frames - 1 - channel->frame;
        channel->frame += std::min(late, left);
        outputFrame = outputFrames;
    }
    channel->startsAtOutput = outputFrame;
    channel->followTarget = 0;
    channel->followApplied = 0;
    channel->slipping = false;
    return audioOk;
}

int followMixChannel(uint32_t handle, int64_t framesAhead)
{
    MixChannel* channel = findChannel(handle);
    if (channel == nullptr) return audioErrorHandle;
    channel->followTarget = framesAhead;
    return audioOk;
}

uint64_t mixedOutputFrames() { return outputFrames; }

bool rewindMixOutput(uint64_t outputFrame)
{
    if (outputFrame > outputFrames || outputFrame < soundedUntil) return false;
    outputFrames = outputFrame;
    return true;
}

void mixChannels(int16_t* out, uint32_t frames, uint64_t nowMs)
{
    // Summed wide and clipped once, so two loud channels saturate instead of wrapping.
    static int32_t mix[mixBlockFrames * audioOutputChannels];
    while (frames > 0) {
        const uint32_t part = std::min(frames, mixBlockFrames);
        std::fill(mix, mix + part * audioOutputChannels, 0);
        for (MixChannel& channel : channels) {
            if (channel.handle == 0 || !channel.playing) continue;
            if (channel.startHeld) {
                if (nowMs - channel.playedAtMs < playStartHoldMs) continue;
                channel.startHeld = false;
            }
            const uint64_t lead = channel.startsAtOutput > outputFrames ? channel.startsAtOutput - outputFrames : 0;
            if (lead >= part) continue;
            const uint32_t skip = static_cast<uint32_t>(lead);
            const bool sounds = skip == 0 ? mixSounding(&channel, mix, part)
                                          : mixOne(&channel, mix + skip * audioOutputChannels, part - skip);
            if (!sounds) channel.playing = false;
            soundedUntil = outputFrames + part;
        }
        outputFrames += part;
        for (uint32_t i = 0; i < part * audioOutputChannels; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(mix[i], int16Min, int16Max));
        }
        out += part * audioOutputChannels;
        frames -= part;
    }
}

void clearMixChannels()
{
    for (MixChannel& channel : channels) {
        delete channel.sound;
        channel = MixChannel{};
    }
}
