// The building blocks every instrument is made of: noise, band-limited
// oscillators, the state-variable filter, envelopes and panning, all per sample.
#pragma once

#include "synth.h"
#include "xorshift.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

constexpr double pi = 3.14159265358979323846;
constexpr double twoPi = 2.0 * pi;
constexpr double secondsPerSample = 1.0 / sampleRate;
// Every note ends with this fade, so nothing is cut off with a click.
constexpr double endFadeSeconds = 0.01;

// ---- noise ----

inline float noise(uint32_t* state)
{
    constexpr double scale = 2.0 / 4294967295.0;
    return static_cast<float>(nextRandom(state) * scale - 1.0);
}

inline uint32_t seedFor(uint32_t seed, uint32_t stream)
{
    uint32_t state = seed * 2654435761u + stream * 40503u + 0x9e3779b9u;
    return state == 0 ? 1u : state;
}

// ---- oscillators ----

inline double polyBlep(double phase, double step)
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

inline double saw(double phase, double step) { return 2.0 * phase - 1.0 - polyBlep(phase, step); }

inline double square(double phase, double step)
{
    constexpr double half = 0.5;
    double value = phase < half ? 1.0 : -1.0;
    value += polyBlep(phase, step);
    value -= polyBlep(std::fmod(phase + half, 1.0), step);
    return value;
}

inline void advance(double* phase, double step)
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

inline SvfOut svf(SvfState* s, double x, double cutoffHz, double damping)
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
inline double sustainEnvelope(int64_t i, int64_t noteSamples, double attackSeconds, double releaseSeconds)
{
    const double attackSamples = std::max(1.0, attackSeconds * sampleRate);
    double level = std::min(1.0, (i + 1) / attackSamples);
    if (i >= noteSamples) {
        const double released = (i - noteSamples) / (releaseSeconds * sampleRate);
        level *= std::max(0.0, 1.0 - released);
    }
    return level;
}

inline double endFade(int64_t i, int64_t total)
{
    const double fadeSamples = endFadeSeconds * sampleRate;
    const double left = static_cast<double>(total - i);
    return left < fadeSamples ? left / fadeSamples : 1.0;
}

inline double panLeft(float pan) { return std::sqrt(0.5 * (1.0 - pan)); }
inline double panRight(float pan) { return std::sqrt(0.5 * (1.0 + pan)); }

inline int64_t samplesOf(double seconds) { return static_cast<int64_t>(seconds * sampleRate); }
