// Following the music through a recording by windowed cross-correlation, and
// dating recording frames by when the recorder received them.
#include "recording_dating.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace {

constexpr float silenceLevel = 200.0f; // of 32 768: under it a frame counts as silence
constexpr int64_t windowFrames = 2048;
constexpr int64_t settleFrames = 4800; // past the onset, where the first window is taken
constexpr int64_t stepFrames = 12000;
constexpr int firstWindowTries = 4;
constexpr int64_t firstSearchFrames = 96000; // how far into the music the first window may lie
constexpr int64_t nearSearchFrames = 960;    // how far later windows may stray and still be found
constexpr int64_t lagToleranceFrames = 2;    // resamplers differ by a fraction of a frame
// The layer keeps the music on the demo's clock by slipping at most a frame of
// each 1 024-frame buffer, at 44.1 kHz: 12 frames of a 48 kHz step at most.
constexpr int64_t slipPerStepFrames = 12;
constexpr double minCorrelation = 0.9;
constexpr int64_t dropoutFrames = 48; // 1 ms of zeros on both sides: not the test noise
constexpr int bytesPerFrame = 4;
constexpr double msPerSecond = 1000.0;

std::vector<float> mono(const std::vector<int16_t>& stereo)
{
    std::vector<float> out(stereo.size() / 2);
    for (size_t f = 0; f < out.size(); ++f) out[f] = 0.5f * (stereo[2 * f] + stereo[2 * f + 1]);
    return out;
}

// The music at the recording's rate, by cubic (Catmull-Rom) interpolation at
// exactly the ratio of the rates, so that a rate error anywhere else shows.
std::vector<float> atRate(const std::vector<float>& music, int musicRate, int rate)
{
    const int64_t frames = static_cast<int64_t>(music.size());
    if (musicRate == rate || frames < 4) return music;
    std::vector<float> out(static_cast<size_t>(frames * rate / musicRate));
    const auto at = [&](int64_t i) { return music[std::clamp<int64_t>(i, 0, frames - 1)]; };
    for (size_t n = 0; n < out.size(); ++n) {
        // The exact source position n * musicRate / rate, as a whole part and a fraction.
        const int64_t scaled = static_cast<int64_t>(n) * musicRate;
        const int64_t i = scaled / rate;
        const double t = static_cast<double>(scaled % rate) / rate;
        const double p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        out[n] = static_cast<float>(
            p1 + 0.5 * t * (p2 - p0 + t * (2 * p0 - 5 * p1 + 4 * p2 - p3 + t * (3 * (p1 - p2) + p3 - p0))));
    }
    return out;
}

double correlation(const std::vector<float>& a, int64_t from, const std::vector<float>& music, int64_t at)
{
    const int64_t frames = static_cast<int64_t>(music.size());
    double ab = 0, aa = 0, bb = 0;
    for (int64_t i = 0; i < windowFrames; ++i) {
        const double x = a[from + i];
        const double y = music[(at + i) % frames];
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// The music frame in [low, high] that matches the window at from best.
int64_t bestMatch(const std::vector<float>& rec, int64_t from, const std::vector<float>& music, int64_t low,
                  int64_t high, double* best)
{
    const int64_t frames = static_cast<int64_t>(music.size());
    int64_t bestAt = low;
    *best = -1.0;
    for (int64_t m = low; m <= high; ++m) {
        const double c = correlation(rec, from, music, ((m % frames) + frames) % frames);
        if (c > *best) {
            *best = c;
            bestAt = m;
        }
    }
    return bestAt;
}

// Whether the window at from holds a run of exact silence no music has: the
// server had nothing to play.
bool hasDropout(const std::vector<float>& rec, int64_t from)
{
    int64_t run = 0;
    for (int64_t i = from; i < from + windowFrames + dropoutFrames && i < static_cast<int64_t>(rec.size()); ++i) {
        run = rec[i] == 0.0f ? run + 1 : 0;
        if (run >= dropoutFrames) return true;
    }
    return false;
}

} // namespace

Follow followRecording(const std::vector<int16_t>& musicStereo, int musicRate,
                       const std::vector<int16_t>& recordingStereo, int rate)
{
    Follow follow;
    const std::vector<float> music = atRate(mono(musicStereo), musicRate, rate);
    const std::vector<float> rec = mono(recordingStereo);
    const int64_t recFrames = static_cast<int64_t>(rec.size());
    int64_t onset = 0;
    while (onset < recFrames && std::fabs(rec[onset]) < silenceLevel) ++onset;
    follow.onsetFrame = onset;
    if (static_cast<int64_t>(music.size()) < windowFrames) return follow;
    // The first window that matches: one in a dropout right after the onset does not.
    double corr = 0;
    int64_t first = onset + settleFrames;
    int64_t m0 = 0;
    const int64_t searchEnd = std::min<int64_t>(firstSearchFrames, static_cast<int64_t>(music.size()) - 1);
    for (int tries = 0; tries < firstWindowTries && first + windowFrames <= recFrames; ++tries) {
        m0 = bestMatch(rec, first, music, 0, searchEnd, &corr);
        if (corr >= minCorrelation) break;
        first += stepFrames;
    }
    if (corr < minCorrelation) return follow;
    follow.found = true;
    follow.zeroFrame = first - m0;
    follow.worstCorrelation = corr;
    follow.endFrame = first;
    follow.endMusicFrame = m0;
    follow.unbrokenFrames = first + windowFrames - onset;
    int64_t lastLag = 0;
    for (int64_t r = first + stepFrames; r + windowFrames <= recFrames; r += stepFrames) {
        const int64_t expected = r - follow.zeroFrame + lastLag;
        const int64_t m = bestMatch(rec, r, music, expected - nearSearchFrames, expected + nearSearchFrames, &corr);
        const int64_t lag = m - expected;
        if (corr < minCorrelation || std::llabs(lag) > lagToleranceFrames + slipPerStepFrames) {
            follow.breakFrame = r;
            follow.breakKind = hasDropout(rec, r)       ? BreakKind::dropout
                               : corr >= minCorrelation ? BreakKind::jump
                                                        : BreakKind::lost;
            break;
        }
        lastLag += lag;
        follow.worstLag = std::max<int64_t>(follow.worstLag, std::llabs(lag));
        follow.worstCorrelation = std::min(follow.worstCorrelation, corr);
        follow.endFrame = r;
        follow.endMusicFrame = m;
        follow.unbrokenFrames = r + windowFrames - onset;
    }
    return follow;
}

std::vector<ArrivalStamp> readStamps(const std::string& path)
{
    std::vector<ArrivalStamp> stamps;
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) return stamps;
    double at = 0;
    long long bytes = 0;
    while (std::fscanf(in, "%lf %lld", &at, &bytes) == 2) stamps.push_back({at, bytes / bytesPerFrame});
    std::fclose(in);
    return stamps;
}

double frameTimeMs(const std::vector<ArrivalStamp>& stamps, int64_t frame, int rate)
{
    double zero = std::numeric_limits<double>::max();
    double nearestZero = 0;
    int64_t nearest = std::numeric_limits<int64_t>::max();
    for (const ArrivalStamp& s : stamps) {
        const double zeroAt = s.atMs - s.frames * msPerSecond / rate;
        const int64_t distance = std::llabs(s.frames - frame);
        if (distance <= rate) zero = std::min(zero, zeroAt);
        if (distance < nearest) {
            nearest = distance;
            nearestZero = zeroAt;
        }
    }
    if (zero == std::numeric_limits<double>::max()) zero = nearestZero;
    return zero + frame * msPerSecond / rate;
}

double recorderStrayMs(const std::vector<ArrivalStamp>& stamps, int rate)
{
    if (stamps.empty()) return 0;
    std::map<int64_t, double> earliest; // each second of reads: frame 0's time by its earliest read
    for (const ArrivalStamp& s : stamps) {
        const double zeroAt = s.atMs - s.frames * msPerSecond / rate;
        const auto second = static_cast<int64_t>((s.atMs - stamps.front().atMs) / msPerSecond);
        const auto [at, added] = earliest.emplace(second, zeroAt);
        if (!added) at->second = std::min(at->second, zeroAt);
    }
    double lowest = std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::lowest();
    for (const auto& [second, zeroAt] : earliest) {
        lowest = std::min(lowest, zeroAt);
        highest = std::max(highest, zeroAt);
    }
    return highest - lowest;
}

bool readDemoClock(const std::string& path, DemoClockLog* log)
{
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) return false;
    char kind[16];
    double at = 0, value = 0;
    bool found = false;
    char line[256];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        if (std::sscanf(line, "%15s %lf %lf", kind, &at, &value) != 3) continue;
        if (std::string(kind) != "clock") continue;
        if (!found || at - value < log->originMs) log->originMs = at - value;
        if (log->musicCallMs < 0 && value > demoMusicStartMs) log->musicCallMs = at;
        found = true;
    }
    std::fclose(in);
    return found;
}
