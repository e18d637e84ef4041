// The benchmark's figures per scene and the table it prints.
#pragma once

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
