#include "reportwindow/report_pages.h"

#include "helpers/numeric.h"
#include "texts/catalogue.h"

#include <cstdio>
#include <string>

namespace amperlog {
namespace {

constexpr const char* kNone = "—";

std::string Hours(double hours) {
    return FormatDecimal(hours, 1);
}

std::string When(CivilTime t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %02d:%02d", t.Year(), t.Month(), t.Day(),
                  t.Hour(), t.Minute());
    return buffer;
}

// Hours and minutes: "7:05".
std::string Length(std::int64_t seconds) {
    const std::int64_t minutes = seconds / 60 % 60;
    return std::to_string(seconds / 3600) + (minutes < 10 ? ":0" : ":") + std::to_string(minutes);
}

std::string OrNone(const std::optional<double>& value, int decimals, const char* unit) {
    return value ? FormatDecimal(*value, decimals) + unit : kNone;
}

// The median leaves a sleep on mains out: the row says why.
std::string OnMains(const SleepRecord& sleep) {
    const bool onMains = sleep.onMainsBefore.value_or(false) || sleep.onMainsAfter.value_or(false);
    return onMains ? std::string(Text(TextId::UsageOnMains)) : std::string();
}

} // namespace

UsageGraphInput UsagePageInput(const BatteryReport& report) {
    UsageGraphInput input;
    for (const DayUsage& day : report.days) {
        input.days.push_back({day.day, day.batterySeconds, day.mainsSeconds, day.asleepSeconds,
                              day.unseenSeconds, day.drainPercentPerHour, day.drainWatts});
    }
    const LifeEstimate& estimate = report.estimate;
    const std::string onBattery = Hours(estimate.batteryHours);
    if (!estimate.fullChargeHours) {
        input.captions.push_back(FormatText(TextId::UsageEstimateTooLittle, onBattery));
    } else if (estimate.designChargeHours) {
        const std::string args[] = {Hours(*estimate.fullChargeHours),
                                    Hours(*estimate.designChargeHours), onBattery};
        input.captions.push_back(FormatText(TextId::UsageEstimate, args));
    } else {
        const std::string args[] = {Hours(*estimate.fullChargeHours), onBattery};
        input.captions.push_back(FormatText(TextId::UsageEstimateNoDesign, args));
    }
    return input;
}

TextTableInput SleepPageInput(const BatteryReport& report) {
    TextTableInput input;
    if (report.sleeps.empty()) {
        input.captions.emplace_back(Text(TextId::SleepNone));
        return input;
    }
    if (report.medianPercentPerHourAsleep) {
        input.captions.push_back(
            FormatText(TextId::SleepMedian, FormatDecimal(*report.medianPercentPerHourAsleep, 2)));
    }
    input.headings = {
        std::string(Text(TextId::SleepColumnStart)), std::string(Text(TextId::SleepColumnLength)),
        std::string(Text(TextId::SleepColumnLost)),  std::string(Text(TextId::SleepColumnRate)),
        std::string(Text(TextId::SleepColumnWatts)), ""};
    input.columnLefts = {120, 2700, 4200, 5700, 7500, 9000};
    for (auto it = report.sleeps.rbegin(); it != report.sleeps.rend(); ++it) {
        input.rows.push_back({When(it->sleep.start), Length(it->sleep.seconds),
                              OrNone(it->percentLost, 0, " %"), OrNone(it->percentPerHour, 2, " %"),
                              OrNone(it->watts, 2, " W"), OnMains(it->sleep)});
    }
    return input;
}

} // namespace amperlog
