// The benchmark's figures per scene, the table it prints, and the frames it times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BenchRow {
    int scene = 0;
    int frames = 0;
    double medianMs = 0.0;
    double worstMs = 0.0;
    double fps = 0.0; // frames over the time they took together
};

// Figures for one scene from the time each of its frames took.
BenchRow summariseScene(int scene, std::vector<double> frameMs);
// The row of the scene with the lowest frame rate.
BenchRow worstScene(const std::vector<BenchRow>& rows);
// A header, one line per scene, and a final line for the worst scene.
std::string formatBenchTable(const std::vector<BenchRow>& rows, int width, int height);

// The stretch of demo time a scene is drawn in: [fromMs, toMs), within 0 ... demoEndMs.
struct SceneSpan {
    int32_t fromMs;
    int32_t toMs;
};
// Read off the demo's own scene table.
SceneSpan sceneSpan(int scene);
// frames times spread evenly over a span, the first at its start.
std::vector<int32_t> spreadFrameTimes(SceneSpan span, int frames);
