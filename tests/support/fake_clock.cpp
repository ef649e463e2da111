#include "tests/support/fake_clock.h"

#include "scene/virtual_screen.h"

static int64_t fakeTicks = 0;   // nanoseconds, at the counter's frequency

FakeClock::FakeClock() {
    fakeTicks = 1000000000;   // away from 0, like a real counter
    driveStopwatches(fakeTicks);
}
FakeClock::~FakeClock() { releaseStopwatches(); }
void FakeClock::setMs(int64_t ms) { driveStopwatches(fakeTicks = ms * 1000000); }
void FakeClock::advanceMs(int64_t ms) { driveStopwatches(fakeTicks += ms * 1000000); }
void FakeClock::advanceNs(int64_t ns) { driveStopwatches(fakeTicks += ns); }
int64_t FakeClock::nowMs() const { return fakeTicks / 1000000; }
