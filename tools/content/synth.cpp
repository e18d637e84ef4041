// The instruments of the track: oscillators, envelopes and filters per note, no
// shared state, so any note renders the same whenever it is rendered.
#include "synth.h"

#include "xorshift.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;
constexpr double secondsPerSample = 1.0 / sampleRate;
// Every note ends with this fade, so nothing is cut off with a click.
constexpr double endFadeSeconds = 0.01;

// ---- noise ----

float noise(uint32_t* state)
{
    constexpr double scale = 2.0 / 4294967295.0;
    return static_cast<float>(nextRandom(state) * scale - 1.0);
}

uint32_t seedFor(uint32_t seed, uint32_t stream)
{
    uint32_t state = seed * 2654435761u + stream * 40503u + 0x9e3779b9u;
    return state == 0 ? 1u : state;
}

// ---- oscillators ----

double polyBlep(double phase, double step)
{
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double saw(double phase, double step) { return 2.0 * phase - 1.0 - polyBlep(phase, step); }

double square(double phase, double step)
{
    constexpr double half = 0.5;
    double value = phase < half ? 1.0 : -1.0;
    value += polyBlep(phase, step);
    value -= polyBlep(std::fmod(phase + half, 1.0), step);
    return value;
}

void advance(double* phase, double step)
{
    *phase += step;
    *phase -= std::floor(*phase);
}

// ---- filters: the topology-preserving state-variable filter ----

struct SvfState {
    double ic1 = 0.0;
    double ic2 = 0.0;
};

struct SvfOut {
    double low;
    double band;
    double high;
};

SvfOut svf(SvfState* s, double x, double cutoffHz, double damping)
{
    constexpr double nyquistGuard = 0.45;
    const double fc = std::min(cutoffHz, nyquistGuard * sampleRate);
    const double g = std::tan(pi * fc / sampleRate);
    const double a1 = 1.0 / (1.0 + g * (g + damping));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - s->ic2;
    const double v1 = a1 * s->ic1 + a2 * v3;
    const double v2 = s->ic2 + a2 * s->ic1 + a3 * v3;
    s->ic1 = 2.0 * v1 - s->ic1;
    s->ic2 = 2.0 * v2 - s->ic2;
    return {v2, v1, x - damping * v1 - v2};
}

// ---- envelopes ----

// Rises from the first sample on (never 0 at the start), holds, and falls after the
// note's end over the release.
double sustainEnvelope(int64_t i, int64_t noteSamples, double attackSeconds, double releaseSeconds)
{
    const double attackSamples = std::max(1.0, attackSeconds * sampleRate);
    double level = std::min(1.0, (i + 1) / attackSamples);
    if (i >= noteSamples) {
        const double released = (i - noteSamples) / (releaseSeconds * sampleRate);
        level *= std::max(0.0, 1.0 - released);
    }
    return level;
}

double endFade(int64_t i, int64_t total)
{
    const double fadeSamples = endFadeSeconds * sampleRate;
    const double left = static_cast<double>(total - i);
    return left < fadeSamples ? left / fadeSamples : 1.0;
}

double panLeft(float pan) { return std::sqrt(0.5 * (1.0 - pan)); }
double panRight(float pan) { return std::sqrt(0.5 * (1.0 + pan)); }

int64_t samplesOf(double seconds) { return static_cast<int64_t>(seconds * sampleRate); }

StereoBuffer bufferFor(int64_t frames) { return makeStereoBuffer(frames); }

// ---- drums ----

StereoBuffer renderKick(const NoteEvent& note, uint32_t seed)
{
    constexpr double lengthSeconds = 0.6;
    constexpr double endHz = 48.0;
    constexpr double sweepHz = 140.0;
    constexpr double sweepSeconds = 0.03;
    constexpr double holdSeconds = 0.02;
    constexpr double decaySeconds = 0.22;
    constexpr double clickSeconds = 0.0015;
    constexpr double clickLevel = 0.25;
    constexpr double drive = 1.4;
    constexpr double level = 0.75;
    const int64_t total = samplesOf(lengthSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rng = seedFor(seed, 1);
    double phase = 0.0;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double freq = endHz + sweepHz * std::exp(-t / sweepSeconds);
        const double body = std::cos(twoPi * phase);
        advance(&phase, freq * secondsPerSample);
        const double amp = t < holdSeconds ? 1.0 : std::exp(-(t - holdSeconds) / decaySeconds);
        const double click = clickLevel * noise(&rng) * std::exp(-t / clickSeconds);
        const double shaped = std::tanh(drive * (body * amp + click)) / std::tanh(drive);
        const float v = static_cast<float>(level * note.velocity * shaped * endFade(i, total));
        out.left[i] = v;
        out.right[i] = v;
    }
    return out;
}

StereoBuffer renderClap(const NoteEvent& note, uint32_t seed)
{
    constexpr double lengthSeconds = 0.4;
    constexpr double burstGapSeconds = 0.009;
    constexpr int bursts = 3;
    constexpr double burstSeconds = 0.003;
    constexpr double tailSeconds = 0.08;
    constexpr double tailLevel = 0.8;
    constexpr double bandHz = 1300.0;
    constexpr double bandDamping = 0.9;
    constexpr double level = 1.5;
    const int64_t total = samplesOf(lengthSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rngL = seedFor(seed, 1);
    uint32_t rngR = seedFor(seed, 2);
    SvfState fl, fr;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        double env = 0.0;
        for (int b = 0; b < bursts; ++b) {
            const double tb = t - b * burstGapSeconds;
            if (tb >= 0.0) env += std::exp(-tb / burstSeconds);
        }
        const double tailStart = bursts * burstGapSeconds;
        if (t >= tailStart) env += tailLevel * std::exp(-(t - tailStart) / tailSeconds);
        const SvfOut l = svf(&fl, noise(&rngL), bandHz, bandDamping);
        const SvfOut r = svf(&fr, noise(&rngR), bandHz, bandDamping);
        const double gain = level * note.velocity * env * endFade(i, total);
        out.left[i] = static_cast<float>(gain * (l.band + 0.3 * l.high));
        out.right[i] = static_cast<float>(gain * (r.band + 0.3 * r.high));
    }
    return out;
}

StereoBuffer renderSnare(const NoteEvent& note, uint32_t seed)
{
    constexpr double lengthSeconds = 0.25;
    constexpr double toneHz = 185.0;
    constexpr double toneDropHz = 60.0;
    constexpr double toneSeconds = 0.04;
    constexpr double noiseSeconds = 0.07;
    constexpr double noiseHz = 2600.0;
    constexpr double noiseDamping = 1.2;
    constexpr double toneLevel = 0.5;
    constexpr double level = 0.5;
    const int64_t total = samplesOf(lengthSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rng = seedFor(seed, 1);
    SvfState f;
    double phase = 0.0;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double tone = std::cos(twoPi * phase) * std::exp(-t / toneSeconds);
        advance(&phase, (toneHz + toneDropHz * std::exp(-t / toneSeconds)) * secondsPerSample);
        const SvfOut n = svf(&f, noise(&rng), noiseHz, noiseDamping);
        const double v = toneLevel * tone + (n.band + n.high) * std::exp(-t / noiseSeconds);
        const float s = static_cast<float>(level * note.velocity * v * endFade(i, total));
        out.left[i] = static_cast<float>(s * panLeft(note.pan));
        out.right[i] = static_cast<float>(s * panRight(note.pan));
    }
    return out;
}

// Six detuned square waves (the classic metallic cymbal) plus noise, high-passed.
double metal(double* phases, double baseHz)
{
    constexpr double ratios[] = {1.0, 1.4471, 1.6170, 1.9265, 2.5028, 2.6637};
    double sum = 0.0;
    for (int k = 0; k < 6; ++k) {
        const double step = baseHz * ratios[k] * secondsPerSample;
        sum += square(phases[k], step);
        advance(&phases[k], step);
    }
    return sum / 6.0;
}

StereoBuffer renderCymbal(const NoteEvent& note, uint32_t seed, double lengthSeconds, double decaySeconds,
                          double baseHz, double highPassHz, double level)
{
    constexpr double metalMix = 0.5;
    constexpr double damping = 1.0;
    const int64_t total = samplesOf(lengthSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rngL = seedFor(seed, 1);
    uint32_t rngR = seedFor(seed, 2);
    double phases[6] = {0.1, 0.35, 0.6, 0.2, 0.85, 0.45};
    SvfState fl, fr;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double m = metalMix * metal(phases, baseHz);
        const SvfOut l = svf(&fl, m + noise(&rngL), highPassHz, damping);
        const SvfOut r = svf(&fr, m + noise(&rngR), highPassHz, damping);
        const double gain = level * note.velocity * std::exp(-t / decaySeconds) * endFade(i, total);
        out.left[i] = static_cast<float>(gain * l.high * panLeft(note.pan));
        out.right[i] = static_cast<float>(gain * r.high * panRight(note.pan));
    }
    return out;
}

StereoBuffer renderHatClosed(const NoteEvent& note, uint32_t seed)
{
    return renderCymbal(note, seed, 0.15, 0.028, 340.0, 7500.0, 0.9);
}

StereoBuffer renderHatOpen(const NoteEvent& note, uint32_t seed)
{
    return renderCymbal(note, seed, 0.6, 0.16, 340.0, 7000.0, 0.36);
}

StereoBuffer renderCrash(const NoteEvent& note, uint32_t seed)
{
    return renderCymbal(note, seed, 3.5, 0.9, 520.0, 4500.0, 0.42);
}

// A falling boom, a closing noise burst and a power-chord stab: the flash hits.
StereoBuffer renderHit(const NoteEvent& note, uint32_t seed)
{
    constexpr double releaseSeconds = 0.4;
    constexpr double boomEndHz = 36.0;
    constexpr double boomSweepHz = 140.0;
    constexpr double boomSweepSeconds = 0.07;
    constexpr double boomSeconds = 0.7;
    constexpr double boomLevel = 0.9;
    constexpr double burstSeconds = 0.3;
    constexpr double burstLevel = 0.45;
    constexpr double burstStartHz = 9000.0;
    constexpr double burstEndHz = 200.0;
    constexpr double burstCloseSeconds = 0.15;
    constexpr double stabSeconds = 0.5;
    constexpr double stabLevel = 0.3;
    constexpr double stabBaseHz = 300.0;
    constexpr double stabOpenHz = 5000.0;
    constexpr double stabCloseSeconds = 0.25;
    constexpr int stabIntervals[] = {12, 19, 24};
    constexpr double detunes[] = {-0.1, 0.0, 0.1};  // semitones
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(releaseSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rngL = seedFor(seed, 1);
    uint32_t rngR = seedFor(seed, 2);
    uint32_t rngPhase = seedFor(seed, 3);
    double boomPhase = 0.0;
    double phases[3][3];
    double steps[3][3];
    for (int k = 0; k < 3; ++k) {
        for (int d = 0; d < 3; ++d) {
            phases[k][d] = 0.5 + 0.5 * noise(&rngPhase);
            steps[k][d] = noteFrequency(note.note + stabIntervals[k]) * std::pow(2.0, detunes[d] / 12.0) *
                          secondsPerSample;
        }
    }
    SvfState burstL, burstR, stabL, stabR;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double boom = std::cos(twoPi * boomPhase) * std::exp(-t / boomSeconds);
        advance(&boomPhase, (boomEndHz + boomSweepHz * std::exp(-t / boomSweepSeconds)) * secondsPerSample);
        const double burstCut = burstEndHz + burstStartHz * std::exp(-t / burstCloseSeconds);
        const double burstEnv = burstLevel * std::exp(-t / burstSeconds);
        const double nl = svf(&burstL, noise(&rngL), burstCut, 1.0).low * burstEnv;
        const double nr = svf(&burstR, noise(&rngR), burstCut, 1.0).low * burstEnv;
        double sl = 0.0, sr = 0.0;
        for (int k = 0; k < 3; ++k) {
            for (int d = 0; d < 3; ++d) {
                const double v = saw(phases[k][d], steps[k][d]);
                advance(&phases[k][d], steps[k][d]);
                if (d == 0) sl += v;
                else if (d == 2) sr += v;
                else { sl += 0.5 * v; sr += 0.5 * v; }
            }
        }
        const double stabCut = stabBaseHz + stabOpenHz * note.brightness * std::exp(-t / stabCloseSeconds);
        const double stabEnv = stabLevel * std::exp(-t / stabSeconds) / 6.0;
        sl = svf(&stabL, sl, stabCut, 0.8).low * stabEnv;
        sr = svf(&stabR, sr, stabCut, 0.8).low * stabEnv;
        const double env = note.velocity * sustainEnvelope(i, noteSamples, 0.0, releaseSeconds) * endFade(i, total);
        out.left[i] = static_cast<float>(env * (boomLevel * boom + nl + sl));
        out.right[i] = static_cast<float>(env * (boomLevel * boom + nr + sr));
    }
    return out;
}

StereoBuffer renderRiser(const NoteEvent& note, uint32_t seed)
{
    constexpr double lowHz = 300.0;
    constexpr double highHz = 8000.0;
    constexpr double damping = 0.35;
    constexpr double toneLowHz = 200.0;
    constexpr double toneHighHz = 1600.0;
    constexpr double toneLevel = 0.08;
    constexpr double level = 0.3;
    const int64_t total = noteLengthSamples(note);
    StereoBuffer out = bufferFor(total);
    uint32_t rngL = seedFor(seed, 1);
    uint32_t rngR = seedFor(seed, 2);
    SvfState fl, fr;
    double phase = 0.0;
    for (int64_t i = 0; i < total; ++i) {
        const double x = static_cast<double>(i) / total;
        const double cut = lowHz * std::pow(highHz / lowHz, x);
        const double tone = toneLevel * std::sin(twoPi * phase);
        advance(&phase, toneLowHz * std::pow(toneHighHz / toneLowHz, x) * secondsPerSample);
        const double gain = level * note.velocity * x * x * endFade(i, total);
        out.left[i] = static_cast<float>(gain * (svf(&fl, noise(&rngL), cut, damping).band + tone));
        out.right[i] = static_cast<float>(gain * (svf(&fr, noise(&rngR), cut, damping).band + tone));
    }
    return out;
}

// ---- tonal voices ----

StereoBuffer renderBass(const NoteEvent& note, uint32_t)
{
    constexpr double attackSeconds = 0.003;
    constexpr double releaseSeconds = 0.03;
    constexpr double subLevel = 0.6;
    constexpr double floorHz = 110.0;
    constexpr double openHz = 2600.0;
    constexpr double envHz = 200.0;
    constexpr double closeSeconds = 0.09;
    constexpr double damping = 1.1;
    constexpr double drive = 1.5;
    constexpr double level = 0.42;
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(releaseSeconds);
    StereoBuffer out = bufferFor(total);
    const double step = noteFrequency(note.note) * secondsPerSample;
    double phase = 0.25;
    double subPhase = 0.25;
    SvfState f;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double raw = saw(phase, step) + subLevel * std::sin(twoPi * subPhase);
        advance(&phase, step);
        advance(&subPhase, step * 0.5);
        const double cut = floorHz + (envHz + openHz * note.brightness) * std::exp(-t / closeSeconds);
        const double filtered = svf(&f, raw, cut, damping).low;
        const double env = sustainEnvelope(i, noteSamples, attackSeconds, releaseSeconds);
        const float v = static_cast<float>(level * note.velocity * env * std::tanh(drive * filtered) *
                                           endFade(i, total));
        out.left[i] = v;
        out.right[i] = v;
    }
    return out;
}

StereoBuffer renderPad(const NoteEvent& note, uint32_t seed)
{
    constexpr double defaultAttack = 0.05;
    constexpr double defaultRelease = 0.6;
    constexpr double detuneCents[] = {-14.0, -7.0, 0.0, 7.0, 14.0};
    constexpr double spread[] = {-1.0, -0.5, 0.0, 0.5, 1.0};
    constexpr int saws = 5;
    constexpr double floorHz = 350.0;
    constexpr double openHz = 4500.0;
    constexpr double lfoHz = 0.23;
    constexpr double lfoDepth = 0.15;
    constexpr double damping = 1.2;
    constexpr double level = 0.13;
    const double attack = note.attackSeconds > 0.0f ? note.attackSeconds : defaultAttack;
    const double release = note.releaseSeconds > 0.0f ? note.releaseSeconds : defaultRelease;
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(release);
    StereoBuffer out = bufferFor(total);
    uint32_t rng = seedFor(seed, 1);
    double phases[saws];
    double steps[saws];
    double gl[saws], gr[saws];
    for (int k = 0; k < saws; ++k) {
        phases[k] = 0.5 + 0.5 * noise(&rng);
        steps[k] = noteFrequency(note.note) * std::pow(2.0, detuneCents[k] / 1200.0) * secondsPerSample;
        const float pan = std::clamp(note.pan + 0.4f * static_cast<float>(spread[k]), -1.0f, 1.0f);
        gl[k] = panLeft(pan);
        gr[k] = panRight(pan);
    }
    const double lfoPhase = 0.5 + 0.5 * noise(&rng);
    const double baseCut = floorHz + openHz * std::pow(note.brightness, 1.5);
    SvfState fl, fr;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        double l = 0.0, r = 0.0;
        for (int k = 0; k < saws; ++k) {
            const double v = saw(phases[k], steps[k]);
            advance(&phases[k], steps[k]);
            l += gl[k] * v;
            r += gr[k] * v;
        }
        const double cut = baseCut * (1.0 + lfoDepth * std::sin(twoPi * (lfoHz * t + lfoPhase)));
        l = svf(&fl, l, cut, damping).low;
        r = svf(&fr, r, cut, damping).low;
        const double env = level * note.velocity * sustainEnvelope(i, noteSamples, attack, release) *
                           endFade(i, total);
        out.left[i] = static_cast<float>(env * l);
        out.right[i] = static_cast<float>(env * r);
    }
    return out;
}

StereoBuffer renderPluck(const NoteEvent& note, uint32_t seed)
{
    constexpr double tailSeconds = 0.3;
    constexpr double attackSeconds = 0.002;
    constexpr double decaySeconds = 0.22;
    constexpr double floorHz = 200.0;
    constexpr double envHz = 600.0;
    constexpr double openHz = 6000.0;
    constexpr double closeSeconds = 0.07;
    constexpr double damping = 0.7;
    constexpr double level = 0.9;
    const int64_t total = noteLengthSamples(note) + samplesOf(tailSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rng = seedFor(seed, 1);
    const double step = noteFrequency(note.note) * secondsPerSample;
    double phase = 0.5 + 0.5 * noise(&rng);
    SvfState f;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double raw = 0.5 * saw(phase, step) + 0.5 * square(phase, step);
        advance(&phase, step);
        const double cut = floorHz + (envHz + openHz * note.brightness) * std::exp(-t / closeSeconds);
        const double v = svf(&f, raw, cut, damping).low;
        const double env = std::min(1.0, (i + 1) / (attackSeconds * sampleRate)) * std::exp(-t / decaySeconds);
        const double s = level * note.velocity * env * v * endFade(i, total);
        out.left[i] = static_cast<float>(s * panLeft(note.pan));
        out.right[i] = static_cast<float>(s * panRight(note.pan));
    }
    return out;
}

StereoBuffer renderLead(const NoteEvent& note, uint32_t seed)
{
    constexpr double attackSeconds = 0.006;
    constexpr double decaySeconds = 0.25;
    constexpr double sustainLevel = 0.75;
    constexpr double releaseSeconds = 0.18;
    constexpr double detuneCents = 8.0;
    constexpr double subLevel = 0.3;
    constexpr double vibratoDelaySeconds = 0.2;
    constexpr double vibratoHz = 5.2;
    constexpr double vibratoSemitones = 0.12;
    constexpr double floorHz = 900.0;
    constexpr double openHz = 4000.0;
    constexpr double envHz = 2000.0;
    constexpr double closeSeconds = 0.15;
    constexpr double damping = 0.9;
    constexpr double level = 0.4;
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(releaseSeconds);
    StereoBuffer out = bufferFor(total);
    uint32_t rng = seedFor(seed, 1);
    const double baseHz = noteFrequency(note.note);
    const double detune = std::pow(2.0, detuneCents / 1200.0);
    double phaseA = 0.5 + 0.5 * noise(&rng);
    double phaseB = 0.5 + 0.5 * noise(&rng);
    double phaseSub = 0.5 + 0.5 * noise(&rng);
    SvfState fl, fr;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double vibrato = t < vibratoDelaySeconds
                                   ? 0.0
                                   : vibratoSemitones * std::sin(twoPi * vibratoHz * (t - vibratoDelaySeconds));
        const double hz = baseHz * std::pow(2.0, vibrato / 12.0);
        const double stepA = hz * detune * secondsPerSample;
        const double stepB = hz / detune * secondsPerSample;
        const double stepSub = hz * 0.5 * secondsPerSample;
        const double a = saw(phaseA, stepA);
        const double b = saw(phaseB, stepB);
        const double sub = subLevel * square(phaseSub, stepSub);
        advance(&phaseA, stepA);
        advance(&phaseB, stepB);
        advance(&phaseSub, stepSub);
        const double cut = floorHz + openHz * note.brightness + envHz * std::exp(-t / closeSeconds);
        const double l = svf(&fl, 0.7 * a + 0.3 * b + sub, cut, damping).low;
        const double r = svf(&fr, 0.3 * a + 0.7 * b + sub, cut, damping).low;
        double env = sustainLevel + (1.0 - sustainLevel) * std::exp(-t / decaySeconds);
        env *= sustainEnvelope(i, noteSamples, attackSeconds, releaseSeconds);
        const double g = level * note.velocity * env * endFade(i, total);
        out.left[i] = static_cast<float>(g * l);
        out.right[i] = static_cast<float>(g * r);
    }
    return out;
}

// Two-operator FM with an inharmonic ratio: a glassy bell.
StereoBuffer renderBell(const NoteEvent& note, uint32_t)
{
    constexpr double tailSeconds = 2.5;
    constexpr double attackSeconds = 0.002;
    constexpr double decaySeconds = 1.4;
    constexpr double ratio = 3.5;
    constexpr double indexBase = 0.5;
    constexpr double indexOpen = 3.0;
    constexpr double indexSeconds = 0.5;
    constexpr double partialRatio = 2.756;
    constexpr double partialLevel = 0.2;
    constexpr double partialSeconds = 0.5;
    constexpr double level = 0.32;
    const int64_t total = noteLengthSamples(note) + samplesOf(tailSeconds);
    StereoBuffer out = bufferFor(total);
    const double hz = noteFrequency(note.note);
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double index = (indexBase + indexOpen * note.brightness) * std::exp(-t / indexSeconds);
        const double carrier = std::cos(twoPi * hz * t + index * std::sin(twoPi * ratio * hz * t));
        const double partial = partialLevel * std::cos(twoPi * partialRatio * hz * t) * std::exp(-t / partialSeconds);
        const double env = std::min(1.0, (i + 1) / (attackSeconds * sampleRate)) * std::exp(-t / decaySeconds);
        const double s = level * note.velocity * env * (carrier + partial) * endFade(i, total);
        out.left[i] = static_cast<float>(s * panLeft(note.pan));
        out.right[i] = static_cast<float>(s * panRight(note.pan));
    }
    return out;
}

StereoBuffer renderDrone(const NoteEvent& note, uint32_t)
{
    constexpr double defaultAttack = 1.0;
    constexpr double defaultRelease = 1.0;
    constexpr double beatHz = 0.3;  // the slow beating of the two detuned sines
    constexpr double overtoneLevel = 0.25;
    constexpr double level = 0.28;
    const double attack = note.attackSeconds > 0.0f ? note.attackSeconds : defaultAttack;
    const double release = note.releaseSeconds > 0.0f ? note.releaseSeconds : defaultRelease;
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(release);
    StereoBuffer out = bufferFor(total);
    const double hz = noteFrequency(note.note);
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double l = std::cos(twoPi * hz * t) + overtoneLevel * std::cos(twoPi * 2.0 * hz * t);
        const double r = std::cos(twoPi * (hz + beatHz) * t) + overtoneLevel * std::cos(twoPi * 2.0 * (hz + beatHz) * t);
        const double env = level * note.velocity * sustainEnvelope(i, noteSamples, attack, release) *
                           endFade(i, total);
        out.left[i] = static_cast<float>(env * l);
        out.right[i] = static_cast<float>(env * r);
    }
    return out;
}

}  // namespace

StereoBuffer makeStereoBuffer(int64_t frames)
{
    StereoBuffer buffer;
    buffer.left.assign(static_cast<size_t>(frames), 0.0f);
    buffer.right.assign(static_cast<size_t>(frames), 0.0f);
    return buffer;
}

double noteFrequency(int midiNote)
{
    constexpr double concertA = 440.0;
    constexpr int concertANote = 69;
    return concertA * std::pow(2.0, (midiNote - concertANote) / 12.0);
}

VoiceRouting voiceRouting(Voice voice)
{
    switch (voice) {
    case voiceKick: return {0.0f, 0.0f, false};
    case voiceClap: return {0.22f, 0.0f, false};
    case voiceSnare: return {0.15f, 0.0f, false};
    case voiceHatClosed: return {0.05f, 0.0f, false};
    case voiceHatOpen: return {0.08f, 0.0f, false};
    case voiceCrash: return {0.2f, 0.0f, false};
    case voiceHit: return {0.4f, 0.12f, false};
    case voiceRiser: return {0.35f, 0.0f, true};
    case voiceBass: return {0.02f, 0.0f, true};
    case voicePad: return {0.45f, 0.08f, true};
    case voicePluck: return {0.2f, 0.35f, true};
    case voiceLead: return {0.3f, 0.25f, true};
    case voiceBell: return {0.5f, 0.4f, true};
    case voiceDrone: return {0.25f, 0.0f, true};
    case voiceCount: break;
    }
    return {0.0f, 0.0f, false};
}

StereoBuffer renderNote(const NoteEvent& note, uint32_t seed)
{
    switch (note.voice) {
    case voiceKick: return renderKick(note, seed);
    case voiceClap: return renderClap(note, seed);
    case voiceSnare: return renderSnare(note, seed);
    case voiceHatClosed: return renderHatClosed(note, seed);
    case voiceHatOpen: return renderHatOpen(note, seed);
    case voiceCrash: return renderCrash(note, seed);
    case voiceHit: return renderHit(note, seed);
    case voiceRiser: return renderRiser(note, seed);
    case voiceBass: return renderBass(note, seed);
    case voicePad: return renderPad(note, seed);
    case voicePluck: return renderPluck(note, seed);
    case voiceLead: return renderLead(note, seed);
    case voiceBell: return renderBell(note, seed);
    case voiceDrone: return renderDrone(note, seed);
    case voiceCount: break;
    }
    return makeStereoBuffer(0);
}
