#pragma once

#include "civil_time.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// One loaded log line.
struct DaySample {
    CivilTime Time;
    std::string Power;
    float Percent = 0;
    std::string Remain;
    std::string Marker;
};

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

    // nullopt until the first load that found a line: "never loaded" differs from empty.
    std::optional<std::vector<DaySample>> DaySamples;
    std::optional<CivilTime> GraphStartHour;
    std::optional<CivilTime> GraphEndTime;

    // Members of the main window.
    CivilTime MonitorDay;
    std::int16_t SecondsSinceLog = 0;
    std::int16_t StayMode = 0;
    std::int16_t CurrentGraphMode = 0;
    bool FormReady = false;
};

} // namespace amperlog
