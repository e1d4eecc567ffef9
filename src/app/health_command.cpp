#include "app/health_command.h"

#include "health/health_diary.h"
#include "health/health_trend.h"

#include <algorithm>

namespace amperlog {

int RunHealthCommand(BatteryHealthSource& source, const std::filesystem::path& programFolder,
                     CivilTime now, std::ostream& out) {
    const std::vector<BatteryHealthReading> readings = source.Read();
    out << HealthReport(readings, ReadHealthDiary(HealthDiaryPath(programFolder)), now.DayNumber());
    out.flush();
    const bool any = std::any_of(readings.begin(), readings.end(), [](const auto& r) {
        return IsPlausibleHealth(r.designWh, r.fullWh);
    });
    return any ? 0 : 1;
}

} // namespace amperlog
