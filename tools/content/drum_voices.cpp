// The drums and effects: kick, clap, snare, hats, crash, the orchestral hit and
// the riser, each from noise and pitched sweeps.
#include "voices.h"

#include "synth_parts.h"

namespace {

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
    StereoBuffer out = makeStereoBuffer(total);
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

// The hit's stab: three chord notes of three detuned saws each, the lowest
// detune to the left, the highest to the right and the middle one to both.
void stabChord(double phases[3][3], const double steps[3][3], double* left, double* right)
{
    for (int k = 0; k < 3; ++k) {
        for (int d = 0; d < 3; ++d) {
            const double v = saw(phases[k][d], steps[k][d]);
            advance(&phases[k][d], steps[k][d]);
            if (d == 0)
                *left += v;
            else if (d == 2)
                *right += v;
            else {
                *left += 0.5 * v;
                *right += 0.5 * v;
            }
        }
    }
}

} // namespace

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
    StereoBuffer out = makeStereoBuffer(total);
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
    StereoBuffer out = makeStereoBuffer(total);
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
    StereoBuffer out = makeStereoBuffer(total);
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
    constexpr double detunes[] = {-0.1, 0.0, 0.1}; // semitones
    const int64_t noteSamples = noteLengthSamples(note);
    const int64_t total = noteSamples + samplesOf(releaseSeconds);
    StereoBuffer out = makeStereoBuffer(total);
    uint32_t rngL = seedFor(seed, 1);
    uint32_t rngR = seedFor(seed, 2);
    uint32_t rngPhase = seedFor(seed, 3);
    double boomPhase = 0.0;
    double phases[3][3];
    double steps[3][3];
    for (int k = 0; k < 3; ++k) {
        for (int d = 0; d < 3; ++d) {
            phases[k][d] = 0.5 + 0.5 * noise(&rngPhase);
            steps[k][d] =
                noteFrequency(note.note + stabIntervals[k]) * std::pow(2.0, detunes[d] / 12.0) * secondsPerSample;
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
        stabChord(phases, steps, &sl, &sr);
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
    StereoBuffer out = makeStereoBuffer(total);
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
