// Mixing and mastering: the notes go onto a drum bus and a music bus (which the kick
// ducks), sends feed a ping-pong delay and a reverb, and the master is brought to its
// loudness under a true-peak limiter.
#include "mixdown.h"

#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

constexpr double pi = 3.14159265358979323846;

void addInto(std::vector<float>* dest, const std::vector<float>& src, int64_t offset, float gain)
{
    const int64_t frames = static_cast<int64_t>(dest->size());
    const int64_t count = std::min(static_cast<int64_t>(src.size()), frames - offset);
    for (int64_t i = 0; i < count; ++i) (*dest)[offset + i] += gain * src[i];
}

// Music-bus gain: pulled down at each kick and let back over a quarter of a second,
// the "pumping" of the groove.
std::vector<float> kickDucking(const std::vector<NoteEvent>& score, int64_t frames)
{
    constexpr double depth = 0.5;
    constexpr double dipSeconds = 0.004;
    constexpr double recoverSeconds = 0.12;
    constexpr double spanSeconds = 0.6;
    std::vector<float> gain(static_cast<size_t>(frames), 1.0f);
    const int64_t dip = static_cast<int64_t>(dipSeconds * sampleRate);
    const int64_t span = static_cast<int64_t>(spanSeconds * sampleRate);
    for (const NoteEvent& note : score) {
        if (note.voice != voiceKick) continue;
        const int64_t start = noteStartSample(note);
        for (int64_t i = 0; i < span && start + i < frames; ++i) {
            const double t = static_cast<double>(i - dip) / sampleRate;
            const double amount = i < dip ? static_cast<double>(i) / dip : std::exp(-t / recoverSeconds);
            const float g = static_cast<float>(1.0 - depth * note.velocity * amount);
            gain[start + i] = std::min(gain[start + i], g);
        }
    }
    return gain;
}

float onePole(float* state, float x, float coefficient)
{
    *state += coefficient * (x - *state);
    return *state;
}

float onePoleCoefficient(double cutoffHz)
{
    return static_cast<float>(1.0 - std::exp(-2.0 * pi * cutoffHz / sampleRate));
}

// A dotted-eighth echo that bounces between the channels, darker with every repeat.
StereoBuffer pingPongDelay(const StereoBuffer& send)
{
    constexpr int64_t delaySamples = 3 * samplesPerBeat / 4;
    constexpr float feedback = 0.45f;
    constexpr double darkenHz = 3500.0;
    constexpr double thinHz = 250.0;
    const int64_t frames = static_cast<int64_t>(send.left.size());
    StereoBuffer out = makeStereoBuffer(frames);
    std::vector<float> lineL(delaySamples, 0.0f), lineR(delaySamples, 0.0f);
    const float lowCoefficient = onePoleCoefficient(darkenHz);
    const float highCoefficient = onePoleCoefficient(thinHz);
    float lowL = 0.0f, lowR = 0.0f, baseL = 0.0f, baseR = 0.0f;
    int64_t pos = 0;
    for (int64_t i = 0; i < frames; ++i) {
        const float echoL = lineL[pos];
        const float echoR = lineR[pos];
        out.left[i] = echoL;
        out.right[i] = echoR;
        float backL = onePole(&lowL, echoL, lowCoefficient);
        backL -= onePole(&baseL, backL, highCoefficient);
        float backR = onePole(&lowR, echoR, lowCoefficient);
        backR -= onePole(&baseR, backR, highCoefficient);
        lineL[pos] = 0.5f * (send.left[i] + send.right[i]) + feedback * backR;
        lineR[pos] = feedback * backL;
        pos = (pos + 1) % delaySamples;
    }
    return out;
}

// The reverb: eight damped combs and four all-passes a channel, the right channel's
// lines a little longer than the left's (the well-known public-domain design).
struct Comb {
    std::vector<float> line;
    size_t pos = 0;
    float store = 0.0f;
};

struct AllPass {
    std::vector<float> line;
    size_t pos = 0;
};

float runComb(Comb* c, float input, float feedback, float damp)
{
    const float out = c->line[c->pos];
    c->store = out * (1.0f - damp) + c->store * damp;
    c->line[c->pos] = input + c->store * feedback;
    c->pos = (c->pos + 1) % c->line.size();
    return out;
}

float runAllPass(AllPass* a, float input)
{
    constexpr float allPassFeedback = 0.5f;
    const float buffered = a->line[a->pos];
    a->line[a->pos] = input + buffered * allPassFeedback;
    a->pos = (a->pos + 1) % a->line.size();
    return buffered - input;
}

StereoBuffer reverb(const StereoBuffer& send)
{
    constexpr int combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    constexpr int allPassLengths[] = {556, 441, 341, 225};
    constexpr int stereoSpread = 23;
    constexpr float inputGain = 0.015f;
    constexpr float feedback = 0.28f * 0.86f + 0.7f;
    constexpr float damp = 0.3f;
    constexpr double preDelaySeconds = 0.02;
    constexpr double lowCutHz = 220.0;
    constexpr float wet = 1.0f;
    constexpr float width = 1.0f;
    const int64_t frames = static_cast<int64_t>(send.left.size());
    StereoBuffer out = makeStereoBuffer(frames);
    Comb combsL[8], combsR[8];
    AllPass passesL[4], passesR[4];
    for (int k = 0; k < 8; ++k) {
        combsL[k].line.assign(combLengths[k], 0.0f);
        combsR[k].line.assign(combLengths[k] + stereoSpread, 0.0f);
    }
    for (int k = 0; k < 4; ++k) {
        passesL[k].line.assign(allPassLengths[k], 0.0f);
        passesR[k].line.assign(allPassLengths[k] + stereoSpread, 0.0f);
    }
    const int64_t preDelay = static_cast<int64_t>(preDelaySeconds * sampleRate);
    const float lowCut = onePoleCoefficient(lowCutHz);
    float base = 0.0f;
    const float wet1 = wet * (width / 2.0f + 0.5f);
    const float wet2 = wet * ((1.0f - width) / 2.0f);
    for (int64_t i = 0; i < frames; ++i) {
        float input = 0.0f;
        if (i >= preDelay) input = send.left[i - preDelay] + send.right[i - preDelay];
        input -= onePole(&base, input, lowCut);
        input *= inputGain;
        float l = 0.0f, r = 0.0f;
        for (int k = 0; k < 8; ++k) {
            l += runComb(&combsL[k], input, feedback, damp);
            r += runComb(&combsR[k], input, feedback, damp);
        }
        for (int k = 0; k < 4; ++k) {
            l = runAllPass(&passesL[k], l);
            r = runAllPass(&passesR[k], r);
        }
        out.left[i] = l * wet1 + r * wet2;
        out.right[i] = r * wet1 + l * wet2;
    }
    return out;
}

// Removes what lies below hearing (and any offset) from a channel.
void highPass(std::vector<float>* channel)
{
    constexpr double cutoffHz = 25.0;
    const float coefficient = onePoleCoefficient(cutoffHz);
    float low1 = 0.0f, low2 = 0.0f;
    for (float& x : *channel) {
        float y = x - onePole(&low1, x, coefficient);
        y -= onePole(&low2, y, coefficient);
        x = y;
    }
}

// Sliding minimum of the next `window` values, for each position.
std::vector<float> forwardMinimum(const std::vector<float>& values, int64_t window)
{
    const int64_t n = static_cast<int64_t>(values.size());
    std::vector<float> result(values.size());
    std::deque<int64_t> candidates;
    for (int64_t i = n - 1; i >= 0; --i) {
        while (!candidates.empty() && values[candidates.back()] >= values[i]) candidates.pop_back();
        candidates.push_back(i);
        while (candidates.front() >= i + window) candidates.pop_front();
        result[i] = values[candidates.front()];
    }
    return result;
}

// A look-ahead limiter on the true peak: the gain falls smoothly before each peak that
// would pass the ceiling and recovers after it. Works on the whole track at once.
void limitPeaks(StereoBuffer* mix, double ceiling)
{
    constexpr double lookAheadSeconds = 0.003;
    constexpr double releaseSeconds = 0.12;
    const int64_t frames = static_cast<int64_t>(mix->left.size());
    const int64_t window = static_cast<int64_t>(lookAheadSeconds * sampleRate);
    std::vector<float> peaks(mix->left.size()), peaksRight(mix->left.size());
    interSamplePeaks(mix->left.data(), frames, peaks.data());
    interSamplePeaks(mix->right.data(), frames, peaksRight.data());
    for (int64_t i = 0; i < frames; ++i) {
        const float p = std::max(peaks[i], peaksRight[i]);
        peaks[i] = p > ceiling ? static_cast<float>(ceiling / p) : 1.0f;
    }
    const std::vector<float> held = forwardMinimum(peaks, window);
    const double release = 1.0 - std::exp(-1.0 / (releaseSeconds * sampleRate));
    // Before the first sample the gain is taken as already down to what the first
    // look-ahead window needs, so a peak at the very start is caught too.
    double gain = frames > 0 ? held[0] : 1.0;
    double windowSum = gain * window;
    std::vector<double> recent(static_cast<size_t>(window), gain);
    for (int64_t i = 0; i < frames; ++i) {
        gain = std::min(static_cast<double>(held[i]), gain + (1.0 - gain) * release);
        windowSum += gain - recent[i % window];
        recent[i % window] = gain;
        const float smooth = static_cast<float>(windowSum / window);
        mix->left[i] *= smooth;
        mix->right[i] *= smooth;
    }
}

StereoBuffer scaled(const StereoBuffer& mix, double gain)
{
    StereoBuffer out = mix;
    for (float& x : out.left) x = static_cast<float>(x * gain);
    for (float& x : out.right) x = static_cast<float>(x * gain);
    return out;
}

} // namespace

StereoBuffer mixScore(const std::vector<NoteEvent>& score, int64_t frames, uint32_t seed)
{
    constexpr float drumLevel = 1.0f;
    constexpr float musicLevel = 1.0f;
    constexpr float delayReturn = 0.7f;
    constexpr float delayIntoReverb = 0.3f;
    constexpr float reverbReturn = 1.8f;
    constexpr uint32_t noteSeedStep = 0x9E3779B1u;
    StereoBuffer drums = makeStereoBuffer(frames);
    StereoBuffer music = makeStereoBuffer(frames);
    StereoBuffer reverbSend = makeStereoBuffer(frames);
    StereoBuffer delaySend = makeStereoBuffer(frames);
    for (size_t i = 0; i < score.size(); ++i) {
        const NoteEvent& note = score[i];
        const int64_t start = noteStartSample(note);
        if (start >= frames) continue;
        const StereoBuffer sound = renderNote(note, seed ^ (static_cast<uint32_t>(i) * noteSeedStep));
        const VoiceRouting routing = voiceRouting(note.voice);
        StereoBuffer* bus = routing.duckedByKick ? &music : &drums;
        addInto(&bus->left, sound.left, start, 1.0f);
        addInto(&bus->right, sound.right, start, 1.0f);
        if (routing.reverbSend > 0.0f) {
            addInto(&reverbSend.left, sound.left, start, routing.reverbSend);
            addInto(&reverbSend.right, sound.right, start, routing.reverbSend);
        }
        if (routing.delaySend > 0.0f) {
            addInto(&delaySend.left, sound.left, start, routing.delaySend);
            addInto(&delaySend.right, sound.right, start, routing.delaySend);
        }
    }
    const std::vector<float> duck = kickDucking(score, frames);
    const StereoBuffer echoes = pingPongDelay(delaySend);
    addInto(&reverbSend.left, echoes.left, 0, delayIntoReverb);
    addInto(&reverbSend.right, echoes.right, 0, delayIntoReverb);
    const StereoBuffer room = reverb(reverbSend);
    StereoBuffer mix = makeStereoBuffer(frames);
    for (int64_t i = 0; i < frames; ++i) {
        mix.left[i] = drumLevel * drums.left[i] + musicLevel * duck[i] * music.left[i] + delayReturn * echoes.left[i] +
                      reverbReturn * room.left[i];
        mix.right[i] = drumLevel * drums.right[i] + musicLevel * duck[i] * music.right[i] +
                       delayReturn * echoes.right[i] + reverbReturn * room.right[i];
    }
    highPass(&mix.left);
    highPass(&mix.right);
    return mix;
}

void masterTrack(StereoBuffer* mix, double targetLufs, double ceilingDb)
{
    constexpr double endFadeSeconds = 1.0;
    constexpr int loudnessPasses = 3;
    const int64_t frames = static_cast<int64_t>(mix->left.size());
    const int64_t fade = std::min(frames, static_cast<int64_t>(endFadeSeconds * sampleRate));
    for (int64_t i = frames - fade; i < frames; ++i) {
        const float g = static_cast<float>(frames - 1 - i) / static_cast<float>(fade);
        mix->left[i] *= g;
        mix->right[i] *= g;
    }
    const double ceiling = std::pow(10.0, ceilingDb / 20.0);
    double gain = std::pow(
        10.0, (targetLufs - integratedLoudness(mix->left.data(), mix->right.data(), frames, sampleRate)) / 20.0);
    // The limiter takes a little loudness away; measure again and make it up.
    for (int pass = 0; pass < loudnessPasses; ++pass) {
        StereoBuffer trial = scaled(*mix, gain);
        limitPeaks(&trial, ceiling);
        const double measured = integratedLoudness(trial.left.data(), trial.right.data(), frames, sampleRate);
        gain *= std::pow(10.0, (targetLufs - measured) / 20.0);
    }
    *mix = scaled(*mix, gain);
    limitPeaks(mix, ceiling);
}

std::vector<int16_t> toPcm16(const StereoBuffer& mix)
{
    constexpr double fullScale = 32767.0;
    std::vector<int16_t> pcm(mix.left.size() * 2);
    for (size_t i = 0; i < mix.left.size(); ++i) {
        const double l = std::clamp(std::round(mix.left[i] * fullScale), -fullScale, fullScale);
        const double r = std::clamp(std::round(mix.right[i] * fullScale), -fullScale, fullScale);
        pcm[2 * i] = static_cast<int16_t>(l);
        pcm[2 * i + 1] = static_cast<int16_t>(r);
    }
    return pcm;
}
