#pragma once

#include "helpers/civil_time.h"

#include <cstdint>

namespace amperlog {

class Clock {
public:
    virtual ~Clock() = default;
    // Local civil time, to the second.
    virtual CivilTime Now() const = 0;
    CivilTime Today() const { return Now().Date(); }
};

// A monotonic millisecond counter for measuring durations; wraps like the platform's.
class MillisecondCounter {
public:
    virtual ~MillisecondCounter() = default;
    virtual std::uint32_t Milliseconds() const = 0;
};

// One instant on two counters from boot, in milliseconds: one stops while the machine sleeps,
// the other runs on through its sleeps. Their difference grows only in a sleep.
struct SleepClockReading {
    std::int64_t awakeMs = 0;
    std::int64_t sinceBootMs = 0;
};

class SleepClocks {
public:
    virtual ~SleepClocks() = default;
    virtual SleepClockReading Read() const = 0;
};

} // namespace amperlog
