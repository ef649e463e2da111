#pragma once
// The layers' stopwatches driven by hand, in place of the monotonic clock,
// for as long as the object lives.
#include <cstdint>

class FakeClock {
public:
    FakeClock();
    ~FakeClock();
    void setMs(int64_t ms);       // the counter now reads ms milliseconds
    void advanceMs(int64_t ms);
    void advanceNs(int64_t ns);
    int64_t nowMs() const;
};
