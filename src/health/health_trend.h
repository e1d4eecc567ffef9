#pragma once

#include "health/health_diary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// The days the fit looks back over, and how much of them it needs before it says anything.
constexpr std::int64_t kTrendWindowDays = 180;
constexpr std::int64_t kTrendLeastSpanDays = 30;
constexpr std::size_t kTrendLeastPoints = 10;
constexpr double kWornOutPercent = 80;

struct HealthTrend {
    // Health lost per 100 days, in percentage points; negative while it rises.
    double wearPer100Days = 0;
    // The fitted line's health today, in %: where a drawn trend line ends.
    double healthToday = 0;
    // The day health reaches 80 %, when that lies ahead and within 20 years.
    std::optional<std::int64_t> wornOutDay;
};

// The least-squares line through one battery's entries of the 180 days up to today (in any
// order; later ones, from a clock set wrong, are left out); nullopt with less than 30 days'
// span or 10 entries.
std::optional<HealthTrend> FitHealthTrend(const std::vector<HealthEntry>& series,
                                          std::int64_t today);

// One battery's entries, in date order.
struct HealthSeries {
    std::string identity;
    std::vector<HealthEntry> entries;
};
// The diary's entries up to today, in date order, split by battery in order of first
// appearance. A cycle count that goes down (a replaced battery of the same model) starts a
// new series of the same identity.
std::vector<HealthSeries> SplitByBattery(const std::vector<HealthEntry>& entries,
                                         std::int64_t today);

// A line of the report; a trend names the series (of SplitByBattery) it speaks of.
struct HealthReportLine {
    std::string text;
    int series = -1;
};
// Today's readings, then a trend line for each battery seen in the last 180 days.
std::vector<HealthReportLine> HealthReportLines(const std::vector<BatteryHealthReading>& readings,
                                                const std::vector<HealthEntry>& diary,
                                                std::int64_t today);
// The plain-text report of --health: the lines above.
std::string HealthReport(const std::vector<BatteryHealthReading>& readings,
                         const std::vector<HealthEntry>& diary, std::int64_t today);
// The trend of one battery in a line of the interface language.
std::string TrendText(const std::optional<HealthTrend>& trend);

} // namespace amperlog
