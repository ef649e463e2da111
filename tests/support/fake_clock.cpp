#include "tests/support/fake_clock.h"

#include "platform/clock.h"

static int64_t fakeTicks = 0;   // nanoseconds, at the counter's frequency
static int64_t readFakeTicks() { return fakeTicks; }

FakeClock::FakeClock() {
    fakeTicks = 1000000000;   // away from 0, like a real counter
    setPerformanceCounterSource(readFakeTicks);
}
FakeClock::~FakeClock() { setPerformanceCounterSource(nullptr); }
void FakeClock::setMs(int64_t ms) { fakeTicks = ms * 1000000; }
void FakeClock::advanceMs(int64_t ms) { fakeTicks += ms * 1000000; }
void FakeClock::advanceNs(int64_t ns) { fakeTicks += ns; }
int64_t FakeClock::nowMs() const { return fakeTicks / 1000000; }
