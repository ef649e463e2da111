#pragma once
// The performance counter: a monotonic tick count and its rate.
// Main thread only.
#include <cstdint>

// Ticks since an arbitrary fixed point; never goes backwards.
int64_t performanceCounter();

// Ticks per second of performanceCounter (1,000,000,000: nanoseconds).
int64_t performanceFrequency();

// Tests: replace the counter by their own source of ticks (at the same
// frequency); nullptr restores the monotonic clock.
using CounterSource = int64_t (*)();
void setPerformanceCounterSource(CounterSource source);
