#include "platform/clock.h"

#include <time.h>  // clock_gettime(CLOCK_MONOTONIC)

int64_t performanceCounter() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t performanceFrequency() { return 1000000000; }
