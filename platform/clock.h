#pragma once
// The performance counter: a monotonic tick count and its rate.
#include <cstdint>

// Ticks since an arbitrary fixed point; never goes backwards.
int64_t performanceCounter();

// Ticks per second of performanceCounter (1,000,000,000: nanoseconds).
int64_t performanceFrequency();
