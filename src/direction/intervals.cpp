// Interval lookup over rising time bounds, shared by the scene and light tables.
#include "direction/intervals.h"

int intervalForTime(const int32_t* upperBoundsMs, int boundCount, int32_t t)
{
    for (int interval = 0; interval < boundCount; ++interval) {
        if (t < upperBoundsMs[interval]) {
            return interval;
        }
    }
    return boundCount;
}
