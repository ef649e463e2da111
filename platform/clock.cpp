#include "platform/clock.h"

#include <time.h>  // clock_gettime(CLOCK_MONOTONIC)

static CounterSource counterSource = nullptr;

int64_t performanceCounter() {
    if (counterSource) return counterSource();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t performanceFrequency() { return 1000000000; }

void setPerformanceCounterSource(CounterSource source) { counterSource = source; }
