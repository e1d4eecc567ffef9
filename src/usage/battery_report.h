#pragma once

#include "health/health_diary.h"
#include "helpers/civil_time.h"
#include "sleep/sleep_diary.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace amperlog {

class TimeZoneRules;

// One local day of the daily logs. The four times add up to the day's real length: 86,400 s,
// 82,800 s the day the clock goes forward, 90,000 s the day it goes back; today's up to now.
struct DayUsage {
    std::int64_t day = 0; // CivilTime::DayNumber
    std::int64_t batterySeconds = 0;
    std::int64_t mainsSeconds = 0;
    std::int64_t asleepSeconds = 0;
    std::int64_t unseenSeconds = 0; // the program not running, and gaps no sleep covers
    double usedPercent = 0;         // percentage points used on battery, asleep on battery included
    std::optional<double> drainPercentPerHour; // none without time on battery
    std::optional<double> drainWatts;          // where the health diary gives the full capacity
};

// One sleep with what it cost; the figures are absent where the diary line lacks them.
struct SleepDrain {
    SleepRecord sleep;
    std::optional<double> percentLost;
    std::optional<double> percentPerHour;
    std::optional<double> watts;
};

// How long a full charge lasts at the drain of the last 7 days on battery.
struct LifeEstimate {
    double batteryHours = 0; // hours on battery the estimate goes by
    // Both absent under 2 hours on battery; the design figure also without capacities in Wh.
    std::optional<double> fullChargeHours;
    std::optional<double> designChargeHours;
};

inline constexpr int kReportDays = 30;
inline constexpr double kMinEstimateBatteryHours = 2.0;

// Everything the report window, the page and the JSON show, read from the program folder.
struct BatteryReport {
    CivilTime madeAt;
    std::vector<HealthEntry> diary;     // the health diary in file order: the capacity history
    std::vector<HealthEntry> batteries; // the diary's latest line per battery
    std::vector<DayUsage> days;         // oldest first, the last one today
    std::vector<SleepDrain> sleeps;     // oldest first
    std::optional<double> medianPercentPerHourAsleep;
    LifeEstimate estimate;
};

// Usage per local day from the daily logs in dataFolder, for firstDay..lastDay (day numbers).
// A line's state counts until the next line, for at most the logging interval plus a margin
// (the last line's too); a longer gap is asleep where a sleep covers it and not seen otherwise,
// as is the time after a line without a power state ("Error"). With `now`, nothing after it
// counts: the day of `now` is its real length up to now only.
std::vector<DayUsage>
ComputeDayUsage(const std::filesystem::path& dataFolder, std::int64_t firstDay,
                std::int64_t lastDay, int loggingIntervalMinutes,
                const std::vector<SleepRecord>& sleeps, const std::vector<HealthEntry>& diary,
                const TimeZoneRules& zone, std::optional<CivilTime> now = std::nullopt);

std::vector<SleepDrain> SleepDrains(const std::vector<SleepRecord>& sleeps);
std::optional<double> MedianPercentPerHourAsleep(const std::vector<SleepDrain>& sleeps);

// From the days given (the last 7), and the batteries' latest capacities.
LifeEstimate EstimateLife(const std::vector<DayUsage>& days,
                          const std::vector<HealthEntry>& batteries);

// Reads the data folder of programFolder: the kReportDays days up to the newest daily log (today
// while the monitor runs; never a day after now), the sleeps, the health diary. Reads only;
// works beside a running copy.
BatteryReport BuildBatteryReport(const std::filesystem::path& programFolder, CivilTime now,
                                 int loggingIntervalMinutes, const TimeZoneRules& zone);

} // namespace amperlog
