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
    input.captions = HealthReportLines(readings, diary, today);
    return input;
}

} // namespace amperlog
