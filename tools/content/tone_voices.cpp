// The tonal voices: bass, pad, pluck, lead, bell and drone, from oscillators
// through the filter and their envelopes.
#include "voices.h"

#include "synth_parts.h"

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
    StereoBuffer out = makeStereoBuffer(total);
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
        const float v =
            static_cast<float>(level * note.velocity * env * std::tanh(drive * filtered) * endFade(i, total));
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
    StereoBuffer out = makeStereoBuffer(total);
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
        const double env = level * note.velocity * sustainEnvelope(i, noteSamples, attack, release) * endFade(i, total);
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
    StereoBuffer out = makeStereoBuffer(total);
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
    StereoBuffer out = makeStereoBuffer(total);
    uint32_t rng = seedFor(seed, 1);
    const double baseHz = noteFrequency(note.note);
    const double detune = std::pow(2.0, detuneCents / 1200.0);
    double phaseA = 0.5 + 0.5 * noise(&rng);
    double phaseB = 0.5 + 0.5 * noise(&rng);
    double phaseSub = 0.5 + 0.5 * noise(&rng);
    SvfState fl, fr;
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double vibrato =
            t < vibratoDelaySeconds ? 0.0 : vibratoSemitones * std::sin(twoPi * vibratoHz * (t - vibratoDelaySeconds));
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
    StereoBuffer out = makeStereoBuffer(total);
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
    constexpr double beatHz = 0.3; // the slow beating of the two detuned sines
    constexpr double overtoneLevel = 0.25;
    constexpr double level = 0.28;
    const double attack = note.attackSeconds > 0.0f ? note.attackSeconds : defaultAttack;
    const double release = note.releaseSeconds > 0.0f ? note.releaseSeconds : defaultRelease;
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(release);
    StereoBuffer out = makeStereoBuffer(total);
    const double hz = noteFrequency(note.note);
    for (int64_t i = 0; i < total; ++i) {
        const double t = i * secondsPerSample;
        const double l = std::cos(twoPi * hz * t) + overtoneLevel * std::cos(twoPi * 2.0 * hz * t);
        const double r =
            std::cos(twoPi * (hz + beatHz) * t) + overtoneLevel * std::cos(twoPi * 2.0 * (hz + beatHz) * t);
        const double env = level * note.velocity * sustainEnvelope(i, noteSamples, attack, release) * endFade(i, total);
        out.left[i] = static_cast<float>(env * l);
        out.right[i] = static_cast<float>(env * r);
    }
    return out;
}
