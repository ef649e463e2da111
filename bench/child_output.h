#pragma once
// What the child processes share: their clock, the "@ key value" lines they
// report to the parent on stdout, and the process's memory figures.
#include <chrono>

using BenchClock = std::chrono::steady_clock;

// Milliseconds from one reading to a later one.
double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to);

// Prints "@ key value" for the parent.
void report(const char *key, double value);

// A field of /proc/self/status such as "VmRSS" or "VmHWM", in kB; 0 when missing.
long procStatusKb(const char *field);
