// Loudness (ITU-R BS.1770 gating with K-weighting) and true-peak measures.
#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

struct Biquad {
    double b0, b1, b2, a1, a2;
};

struct BiquadState {
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
};

double runBiquad(const Biquad& f, BiquadState* s, double x)
{
    const double y = f.b0 * x + f.b1 * s->x1 + f.b2 * s->x2 - f.a1 * s->y1 - f.a2 * s->y2;
    s->x2 = s->x1;
    s->x1 = x;
    s->y2 = s->y1;
    s->y1 = y;
    return y;
}

// The K-weighting's high shelf (head effect), designed for any sample rate.
Biquad shelfFilter(int rate)
{
    constexpr double centreHz = 1681.974450955533;
    constexpr double gainDb = 3.999843853973347;
    constexpr double q = 0.7071752369554196;
    constexpr double shelfExponent = 0.4996667741545416;
    const double k = std::tan(pi * centreHz / rate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, shelfExponent);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// The K-weighting's high pass (the revised low-frequency B-curve).
Biquad highPassFilter(int rate)
{
    constexpr double centreHz = 38.13547087602444;
    constexpr double q = 0.5003270373238773;
    const double k = std::tan(pi * centreHz / rate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double blockLoudness(double meanSquare)
{
    constexpr double offsetDb = -0.691;
    return offsetDb + 10.0 * std::log10(meanSquare);
}

// Windowed-sinc taps for the points a quarter, a half and three quarters past a sample.
constexpr int halfTaps = 8;
constexpr int taps = 2 * halfTaps;
constexpr int phases = 3;

struct Interpolator {
    double coefficients[phases][taps];
};

Interpolator makeInterpolator()
{
    Interpolator f{};
    for (int p = 0; p < phases; ++p) {
        const double frac = (p + 1) / 4.0;
        for (int j = 0; j < taps; ++j) {
            const double x = frac - (j - (halfTaps - 1)); // distance from tap sample to the point
            const double sinc = x == 0.0 ? 1.0 : std::sin(pi * x) / (pi * x);
            const double window = 0.5 * (1.0 + std::cos(pi * x / halfTaps));
            f.coefficients[p][j] = sinc * window;
        }
    }
    return f;
}

} // namespace

double integratedLoudness(const float* left, const float* right, int64_t frames, int rate)
{
    constexpr double blockSeconds = 0.4;
    constexpr int segmentsPerBlock = 4; // blocks overlap by three quarters
    constexpr double absoluteGate = -70.0;
    constexpr double relativeGate = -10.0;
    const int64_t segment = static_cast<int64_t>(blockSeconds * rate / segmentsPerBlock);
    const Biquad shelf = shelfFilter(rate);
    const Biquad highPass = highPassFilter(rate);
    BiquadState shelfL, shelfR, passL, passR;
    std::vector<double> energy;
    double sum = 0.0;
    for (int64_t i = 0; i < frames; ++i) {
        const double l = runBiquad(highPass, &passL, runBiquad(shelf, &shelfL, left[i]));
        const double r = runBiquad(highPass, &passR, runBiquad(shelf, &shelfR, right[i]));
        sum += l * l + r * r;
        if ((i + 1) % segment == 0) {
            energy.push_back(sum);
            sum = 0.0;
        }
    }
    std::vector<double> blocks;
    for (size_t j = 0; j + segmentsPerBlock <= energy.size(); ++j) {
        double e = 0.0;
        for (int k = 0; k < segmentsPerBlock; ++k) e += energy[j + k];
        blocks.push_back(e / (segment * segmentsPerBlock));
    }
    double gatedSum = 0.0;
    int gatedCount = 0;
    for (double z : blocks) {
        if (z > 0.0 && blockLoudness(z) > absoluteGate) {
            gatedSum += z;
            ++gatedCount;
        }
    }
    if (gatedCount == 0) return absoluteGate;
    const double threshold = blockLoudness(gatedSum / gatedCount) + relativeGate;
    double finalSum = 0.0;
    int finalCount = 0;
    for (double z : blocks) {
        if (z > 0.0 && blockLoudness(z) > absoluteGate && blockLoudness(z) > threshold) {
            finalSum += z;
            ++finalCount;
        }
    }
    return blockLoudness(finalSum / finalCount);
}

void interSamplePeaks(const float* samples, int64_t frames, float* peaks)
{
    static const Interpolator interpolator = makeInterpolator();
    for (int64_t n = 0; n < frames; ++n) {
        double peak = std::fabs(samples[n]);
        for (int p = 0; p < phases; ++p) {
            double v = 0.0;
            for (int j = 0; j < taps; ++j) {
                const int64_t index = n + j - (halfTaps - 1);
                if (index >= 0 && index < frames) v += interpolator.coefficients[p][j] * samples[index];
            }
            peak = std::max(peak, std::fabs(v));
        }
        peaks[n] = static_cast<float>(peak);
    }
}

double truePeak(const float* left, const float* right, int64_t frames)
{
    std::vector<float> peaks(static_cast<size_t>(frames));
    double peak = 0.0;
    interSamplePeaks(left, frames, peaks.data());
    for (float p : peaks) peak = std::max(peak, static_cast<double>(p));
    interSamplePeaks(right, frames, peaks.data());
    for (float p : peaks) peak = std::max(peak, static_cast<double>(p));
    return peak;
}
