// How many samples per pixel the tool draws with: what was asked for, checked against
// what the OpenGL driver offers.
#pragma once

#include <string>
#include <vector>

// --samples not given: as the demo asks, 4, or the most the driver has below that.
constexpr int samplesAsTheDemoAsks = -1;
constexpr int demoSamples = 4;

// offered: the multisample counts the driver offers, in any order (0, no multisampling,
// is always possible). False, with a one-line error naming what is offered, when an
// asked-for count is not among them.
bool chooseSampleCount(int wanted, const std::vector<int>& offered, int* chosen, std::string* error);
