#include "health/health_view.h"

#include "health/health_trend.h"

namespace amperlog {

HealthGraphInput HealthViewInput(const std::vector<BatteryHealthReading>& readings,
                                 const std::vector<HealthEntry>& diary, std::int64_t today) {
    HealthGraphInput input;
    for (const HealthSeries& series : SplitByBattery(diary, today)) {
        std::vector<HealthPoint>& points = input.series.emplace_back();
        for (const HealthEntry& entry : series.entries) {
            points.push_back({entry.day, entry.healthPercent});
        }
    }
    for (HealthReportLine& line : HealthReportLines(readings, diary, today)) {
        input.captions.push_back({std::move(line.text), line.series});
    }
    return input;
}

} // namespace amperlog
