#include "health/health_trend.h"

#include "helpers/numeric.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace amperlog {
namespace {

constexpr std::int64_t kLongestForecastDays = 20 * 365 + 5;

// Shown texts take the interface language's separator: "." in both.
std::string ReadingLine(const BatteryHealthReading& reading, const std::string& identity) {
    const std::string cycles = reading.cycles > 0 ? std::to_string(reading.cycles)
                                                  : std::string(Text(TextId::HealthUnknown));
    const std::string health = FormatDecimal(HealthPercent(reading), 1);
    if (reading.ratioOnly) {
        const std::array args{identity, health, cycles};
        return FormatText(TextId::HealthReadingRatio, args);
    }
    const std::array args{identity, FormatDecimal(reading.designWh, 2),
                          FormatDecimal(reading.fullWh, 2), health, cycles};
    return FormatText(TextId::HealthReading, args);
}

bool InWindow(const HealthEntry& entry, std::int64_t today) {
    return entry.day > today - kTrendWindowDays && entry.day <= today;
}

} // namespace

std::optional<HealthTrend> FitHealthTrend(const std::vector<HealthEntry>& series,
                                          std::int64_t today) {
    double n = 0;
    double sumX = 0;
    double sumY = 0;
    std::int64_t first = today;
    std::int64_t last = today - kTrendWindowDays;
    for (const HealthEntry& entry : series) {
        if (InWindow(entry, today)) {
            first = std::min(first, entry.day);
            last = std::max(last, entry.day);
            n += 1;
            sumX += static_cast<double>(entry.day - today);
            sumY += entry.healthPercent;
        }
    }
    if (n < static_cast<double>(kTrendLeastPoints) || last - first < kTrendLeastSpanDays) {
        return std::nullopt;
    }
    const double meanX = sumX / n;
    const double meanY = sumY / n;
    double sxx = 0;
    double sxy = 0;
    for (const HealthEntry& entry : series) {
        if (InWindow(entry, today)) {
            const double dx = static_cast<double>(entry.day - today) - meanX;
            sxx += dx * dx;
            sxy += dx * (entry.healthPercent - meanY);
        }
    }
    const double slope = sxy / sxx; // % per day
    HealthTrend trend;
    trend.wearPer100Days = -slope * 100;
    // x counts days from today, so the line's value at x = 0.
    const double atToday = meanY - slope * meanX;
    trend.healthToday = atToday;
    if (slope < 0) {
        const double days = (kWornOutPercent - atToday) / slope;
        const double day = std::ceil(static_cast<double>(today) + days);
        if (std::isfinite(day) && day > static_cast<double>(today) &&
            day <= static_cast<double>(today + kLongestForecastDays)) {
            trend.wornOutDay = static_cast<std::int64_t>(day);
        }
    }
    return trend;
}

std::vector<HealthSeries> SplitByBattery(const std::vector<HealthEntry>& entries,
                                         std::int64_t today) {
    // A clock set back writes a line before those already in the file.
    std::vector<const HealthEntry*> dated;
    for (const HealthEntry& entry : entries) {
        if (entry.day <= today) {
            dated.push_back(&entry);
        }
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const HealthEntry* a, const HealthEntry* b) { return a->day < b->day; });
    std::vector<HealthSeries> series;
    std::vector<int> lastCycles; // per series; 0 while unknown
    for (const HealthEntry* entry : dated) {
        auto it = std::find_if(series.rbegin(), series.rend(), [entry](const HealthSeries& s) {
            return s.identity == entry->identity;
        });
        std::size_t index = series.size();
        if (it != series.rend()) {
            index = static_cast<std::size_t>(series.rend() - it) - 1;
            if (entry->cycles > 0 && entry->cycles < lastCycles[index]) {
                index = series.size();
            }
        }
        if (index == series.size()) {
            series.push_back({entry->identity, {}});
            lastCycles.push_back(0);
        }
        series[index].entries.push_back(*entry);
        if (entry->cycles > 0) {
            lastCycles[index] = entry->cycles;
        }
    }
    return series;
}

std::string TrendText(const std::optional<HealthTrend>& trend) {
    if (!trend) {
        return std::string(Text(TextId::HealthTrendTooShort));
    }
    const std::string wear = FormatDecimal(trend->wearPer100Days, 1);
    if (trend->wornOutDay) {
        const std::array args{wear, FormatDiaryDate(*trend->wornOutDay)};
        return FormatText(TextId::HealthTrendWithDate, args);
    }
    return FormatText(TextId::HealthTrend, wear);
}

std::vector<HealthReportLine> HealthReportLines(const std::vector<BatteryHealthReading>& readings,
                                                const std::vector<HealthEntry>& diary,
                                                std::int64_t today) {
    std::vector<HealthReportLine> lines;
    const std::vector<std::string> identities = BatteryIdentities(readings);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (IsPlausibleHealth(readings[i].designWh, readings[i].fullWh)) {
            lines.push_back({ReadingLine(readings[i], identities[i])});
        }
    }
    if (lines.empty()) {
        lines.push_back({std::string(Text(TextId::HealthNoReading))});
    }
    // Batteries long gone, or replaced by one of the same name, say nothing any more: the
    // lines above the view stay few.
    const std::vector<HealthSeries> series = SplitByBattery(diary, today);
    for (std::size_t i = 0; i < series.size(); ++i) {
        const bool recent = series[i].entries.back().day > today - kTrendWindowDays;
        const bool replaced = std::any_of(
            series.begin() + static_cast<std::ptrdiff_t>(i) + 1, series.end(),
            [&](const HealthSeries& later) { return later.identity == series[i].identity; });
        if (recent && !replaced) {
            lines.push_back(
                {series[i].identity + ": " + TrendText(FitHealthTrend(series[i].entries, today)),
                 static_cast<int>(i)});
        }
    }
    return lines;
}

std::string HealthReport(const std::vector<BatteryHealthReading>& readings,
                         const std::vector<HealthEntry>& diary, std::int64_t today) {
    std::string report;
    for (const HealthReportLine& line : HealthReportLines(readings, diary, today)) {
        report += line.text + '\n';
    }
    return report;
}

} // namespace amperlog
