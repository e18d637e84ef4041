// Median, worst and rate per scene, the bench table as printed, and the scenes' spans.
#include "bench_stats.h"

#include "app/clock.h"
#include "direction/timeline.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace {

constexpr double msPerSecond = 1000.0;
constexpr size_t lineSize = 160;

std::string formatRow(const char* label, const BenchRow& row)
{
    char line[lineSize];
    std::snprintf(line, sizeof line, "%-9s %6d %10.2f %9.2f %9.1f\n", label, row.frames, row.medianMs, row.worstMs,
                  row.fps);
    return line;
}

} // namespace

BenchRow summariseScene(int scene, std::vector<double> frameMs)
{
    BenchRow row;
    row.scene = scene;
    row.frames = static_cast<int>(frameMs.size());
    if (frameMs.empty()) {
        return row;
    }
    std::sort(frameMs.begin(), frameMs.end());
    const size_t middle = frameMs.size() / 2;
    row.medianMs = frameMs.size() % 2 == 1 ? frameMs[middle] : (frameMs[middle - 1] + frameMs[middle]) / 2.0;
    row.worstMs = frameMs.back();
    const double totalMs = std::accumulate(frameMs.begin(), frameMs.end(), 0.0);
    row.fps = totalMs > 0.0 ? row.frames * msPerSecond / totalMs : 0.0;
    return row;
}

BenchRow worstScene(const std::vector<BenchRow>& rows)
{
    if (rows.empty()) {
        return BenchRow{};
    }
    return *std::min_element(rows.begin(), rows.end(),
                             [](const BenchRow& a, const BenchRow& b) { return a.fps < b.fps; });
}

std::string formatBenchTable(const std::vector<BenchRow>& rows, int width, int height)
{
    char header[lineSize];
    std::snprintf(header, sizeof header, "bench at %dx%d\n%-9s %6s %10s %9s %9s\n", width, height, "scene", "frames",
                  "median ms", "worst ms", "fps");
    std::string table = header;
    for (const BenchRow& row : rows) {
        table += formatRow(std::to_string(row.scene).c_str(), row);
    }
    const BenchRow worst = worstScene(rows);
    table += formatRow(("worst: " + std::to_string(worst.scene)).c_str(), worst);
    return table;
}

SceneSpan sceneSpan(int scene)
{
    SceneSpan span{-1, demoEndMs + 1};
    for (int32_t t = 0; t <= demoEndMs; ++t) {
        const int at = sceneForTime(t);
        if (at == scene && span.fromMs < 0) {
            span.fromMs = t;
        } else if (at > scene) {
            span.toMs = t;
            break;
        }
    }
    if (span.fromMs < 0) {
        return {0, 0};
    }
    return span;
}

std::vector<int32_t> spreadFrameTimes(SceneSpan span, int frames)
{
    std::vector<int32_t> times;
    const int64_t length = span.toMs - span.fromMs;
    for (int k = 0; k < frames; ++k) {
        times.push_back(span.fromMs + static_cast<int32_t>(k * length / frames));
    }
    return times;
}
