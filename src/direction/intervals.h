// The lookup behind every time table of the demo: which interval of a list of
// rising bounds holds a moment.
#pragma once

#include <cstdint>

// Which of boundCount + 1 half-open intervals holds t, given their upper bounds in
// rising order: the first bound that t lies below, or boundCount past the last.
int intervalForTime(const int32_t* upperBoundsMs, int boundCount, int32_t t);
