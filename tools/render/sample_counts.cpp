// Picks the sample count; the driver's list comes from offscreen.cpp.
#include "sample_counts.h"

#include <algorithm>

bool chooseSampleCount(int wanted, const std::vector<int>& offered, int* chosen, std::string* error)
{
    std::vector<int> counts = offered;
    counts.push_back(0);
    std::sort(counts.begin(), counts.end());
    counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
    if (wanted == samplesAsTheDemoAsks) {
        *chosen = 0;
        for (int count : counts) {
            if (count <= demoSamples) {
                *chosen = count;
            }
        }
        return true;
    }
    if (std::find(counts.begin(), counts.end(), wanted) != counts.end()) {
        *chosen = wanted;
        return true;
    }
    std::string list;
    for (int count : counts) {
        list += (list.empty() ? "" : ", ") + std::to_string(count);
    }
    *error = "--samples " + std::to_string(wanted) + " is not offered by this OpenGL driver; it offers " + list;
    return false;
}
