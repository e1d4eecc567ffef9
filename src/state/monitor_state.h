#pragma once

#include "helpers/civil_time.h"
#include "state/day_sample.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// The program-wide values of the monitor, touched only on the UI thread.
// Names follow the values they mirror; see docs/ARCHITECTURE.md.
struct MonitorState {
    std::filesystem::path DataFolder;
    std::string TodayFileName;
    std::filesystem::path GraphFilePath;
    std::int16_t SepMinutes = 0;
    std::optional<CivilTime> LastLogTime;
    float GraphScale = 0;
    std::int16_t RemainMode = 0;
    std::int16_t RateBand = 0;
    std::string PowerText;
    std::string PercentText;
    std::string RemainText;
    std::string BatteryStatusText;
    std::string FullLifeText;
    std::int16_t LayoutUnit = 0;

    // The settings file holds the previous sample and the last line's time. When it refuses a
    // write (read-only, too large, gone), these stand in for it until a write succeeds again:
    // a stale stored value must not count as a change, or make the interval line due, at
    // every tick.
    std::optional<std::array<std::string, 5>> UnstoredSample;
    bool LogTimeUnstored = false;

    // nullopt until the first load that found a line: "never loaded" differs from empty.
    std::optional<std::vector<DaySample>> DaySamples;
    std::optional<CivilTime> GraphStartHour;
    std::optional<CivilTime> GraphEndTime;
};

} // namespace amperlog
