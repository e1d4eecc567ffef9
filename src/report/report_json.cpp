#include "report/report_json.h"

#include "health/health_diary.h"
#include "helpers/civil_time.h"
#include "report/markup.h"

#include <optional>
#include <string_view>
#include <vector>

namespace amperlog {
namespace {

// One object's members, written in the order added.
class JsonObject {
public:
    JsonObject& Raw(std::string_view key, std::string_view json) {
        m_text += m_text.empty() ? "{" : ", ";
        m_text += JsonString(key);
        m_text += ": ";
        m_text += json;
        return *this;
    }
    JsonObject& Text(std::string_view key, std::string_view text) {
        return Raw(key, JsonString(text));
    }
    JsonObject& Number(std::string_view key, std::optional<double> value, int decimals) {
        return Raw(key, JsonNumber(value, decimals));
    }
    JsonObject& Whole(std::string_view key, std::optional<long long> value) {
        return Raw(key, value ? std::to_string(*value) : "null");
    }
    JsonObject& Flag(std::string_view key, std::optional<bool> value) {
        return Raw(key, value ? (*value ? "true" : "false") : "null");
    }
    std::string Close() const { return m_text.empty() ? "{}" : m_text + "}"; }

private:
    std::string m_text;
};

template <typename Item, typename Write>
std::string JsonArray(const std::vector<Item>& items, Write write) {
    if (items.empty()) {
        return "[]";
    }
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        out += write(items[i]);
    }
    return out + "\n  ]";
}

std::optional<long long> Whole(std::optional<int> value) {
    return value ? std::optional<long long>(*value) : std::nullopt;
}

std::string DayJson(const DayUsage& day) {
    return JsonObject()
        .Text("date", FormatDiaryDate(day.day))
        .Whole("battery_s", day.batterySeconds)
        .Whole("mains_s", day.mainsSeconds)
        .Whole("asleep_s", day.asleepSeconds)
        .Whole("unseen_s", day.unseenSeconds)
        .Number("used_percent", day.usedPercent, 2)
        .Number("drain_percent_per_hour", day.drainPercentPerHour, 2)
        .Number("drain_w", day.drainWatts, 2)
        .Close();
}

std::string SleepJson(const SleepDrain& drain) {
    const SleepRecord& sleep = drain.sleep;
    return JsonObject()
        .Text("start", FormatIsoTime(sleep.start))
        .Text("end", FormatIsoTime(sleep.end))
        .Whole("seconds", sleep.seconds)
        .Whole("percent_before", Whole(sleep.percentBefore))
        .Whole("percent_after", Whole(sleep.percentAfter))
        .Number("wh_before", sleep.whBefore, 2)
        .Number("wh_after", sleep.whAfter, 2)
        .Flag("on_mains", sleep.onMainsBefore)
        .Close();
}

std::string BatteryJson(const HealthEntry& entry) {
    return JsonObject()
        .Text("date", FormatDiaryDate(entry.day))
        .Text("battery", entry.identity)
        .Number("design_wh", entry.designWh, 2)
        .Number("full_wh", entry.fullWh, 2)
        .Number("health_percent", entry.healthPercent, 1)
        .Whole("cycles", entry.cycles > 0 ? std::optional<long long>(entry.cycles) : std::nullopt)
        .Close();
}

} // namespace

std::string ReportJson(const BatteryReport& report) {
    const std::string estimates =
        JsonObject()
            .Number("full_charge_h", report.estimate.fullChargeHours, 2)
            .Number("design_charge_h", report.estimate.designChargeHours, 2)
            .Close();
    return "{\n  \"days\": " + JsonArray(report.days, DayJson) +
           ",\n  \"sleeps\": " + JsonArray(report.sleeps, SleepJson) +
           ",\n  \"estimates\": " + estimates +
           ",\n  \"batteries\": " + JsonArray(report.batteries, BatteryJson) + "\n}\n";
}

} // namespace amperlog
