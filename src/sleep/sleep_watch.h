#pragma once

#include "helpers/civil_time.h"
#include "platform/clock.h"
#include "platform/power_source.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace amperlog {

class BatteryHealthSource;

// Shorter pauses are a busy or stopped process, not a sleep.
inline constexpr std::int64_t kShortestSleepSeconds = 60;

// Tells a sleep by how much more the clock that runs through sleep moved than the one that
// stops in it since the last look. The wall clock plays no part: setting it is no sleep.
class SleepDetector {
public:
    // The whole seconds slept since the last look, when a sleep; nullopt at the first look.
    std::optional<std::int64_t> Look(SleepClockReading reading);

private:
    std::optional<std::int64_t> m_lastAsleepMs;
};

// Driven by the monitor tick: writes a line to the sleep diary for each sleep, with the
// battery as the tick before it and the tick after it saw it.
class SleepWatch {
public:
    // energy may be null: no Wh.
    SleepWatch(const SleepClocks& clocks, BatteryHealthSource* energy)
        : m_clocks(clocks), m_energy(energy) {}

    // A line that could not be written is let go: the next sleep tries afresh.
    void Tick(CivilTime now, const std::optional<PowerStatus>& status,
              const std::filesystem::path& diary);

private:
    const SleepClocks& m_clocks;
    BatteryHealthSource* m_energy;
    SleepDetector m_detector;
    std::optional<PowerStatus> m_lastStatus;
    std::optional<double> m_lastWh;
};

} // namespace amperlog
