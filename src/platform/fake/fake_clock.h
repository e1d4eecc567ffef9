#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace amperlog {

// A clock that moves only when told.
class FakeClock final : public Clock {
public:
    explicit FakeClock(CivilTime now = {}) : m_now(now) {}

    CivilTime Now() const override { return m_now; }
    void SetNow(CivilTime now) { m_now = now; }
    void Advance(std::int64_t seconds) { m_now = m_now.AddSeconds(seconds); }

private:
    CivilTime m_now;
};

// A millisecond counter that moves only when told; wraps at 2^32 like the platform's.
class FakeMillisecondCounter final : public MillisecondCounter {
public:
    explicit FakeMillisecondCounter(std::uint32_t start = 0) : m_value(start) {}

    std::uint32_t Milliseconds() const override { return m_value; }
    void Set(std::uint32_t value) { m_value = value; }
    void Advance(std::uint32_t milliseconds) { m_value += milliseconds; }
    void AdvanceSeconds(std::uint32_t seconds) { m_value += seconds * 1000U; }

private:
    std::uint32_t m_value;
};

// Sleep clocks that move only when told: Run moves both, Sleep only the one that runs through
// sleep.
class FakeSleepClocks final : public SleepClocks {
public:
    SleepClockReading Read() const override { return m_reading; }
    void Run(std::int64_t seconds) {
        m_reading.awakeMs += seconds * 1000;
        m_reading.sinceBootMs += seconds * 1000;
    }
    void Sleep(std::int64_t seconds) { m_reading.sinceBootMs += seconds * 1000; }

private:
    SleepClockReading m_reading;
};

} // namespace amperlog
