#include "health/health_view.h"

#include "health/health_trend.h"

namespace amperlog {

HealthGraphInput HealthViewInput(const std::vector<BatteryHealthReading>& readings,
                                 const std::vector<HealthEntry>& diary, std::int64_t today) {
    HealthGraphInput input;
    for (const HealthSeries& series : SplitByBattery(diary)) {
        std::vector<HealthPoint>& points = input.series.emplace_back();
        for (const HealthEntry& entry : series.entries) {
            points.push_back({entry.day, entry.healthPercent});
        }
    }
    const std::vector<std::string> lines = HealthReportLines(readings, diary, today);
    // The report ends with one trend line per series, in the series' order.
    const std::size_t firstTrend = lines.size() - input.series.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        input.captions.push_back(
            {lines[i], i >= firstTrend ? static_cast<int>(i - firstTrend) : -1});
    }
    return input;
}

} // namespace amperlog
