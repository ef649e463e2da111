// Reporting from the child processes.
#include "bench/child_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void report(const char *key, double value) { std::printf("@ %s %.6g\n", key, value); }

long procStatusKb(const char *field) {
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    long kb = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            kb = std::atol(line + length + 1);
            break;
        }
    }
    std::fclose(status);
    return kb;
}
