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
    // The day health reaches 80 %, when that lies ahead and within 20 years.
    std::optional<std::int64_t> wornOutDay;
};

// The least-squares line through one battery's entries of the last 180 days before its last
// entry; nullopt with less than 30 days' span or 10 entries.
std::optional<HealthTrend> FitHealthTrend(const std::vector<HealthEntry>& series,
                                          std::int64_t today);

// One battery's entries, in order.
struct HealthSeries {
    std::string identity;
    std::vector<HealthEntry> entries;
};
// The diary split by battery, in order of first appearance.
std::vector<HealthSeries> SplitByBattery(const std::vector<HealthEntry>& entries);

// Today's readings, then each battery's trend, a line each.
std::vector<std::string> HealthReportLines(const std::vector<BatteryHealthReading>& readings,
                                           const std::vector<HealthEntry>& diary,
                                           std::int64_t today);
// The plain-text report of --health: the lines above.
std::string HealthReport(const std::vector<BatteryHealthReading>& readings,
                         const std::vector<HealthEntry>& diary, std::int64_t today);
// The trend of one battery in a line of the interface language.
std::string TrendText(const std::optional<HealthTrend>& trend);

} // namespace amperlog
