#include "health/health_trend.h"

#include "texts/catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace amperlog {
namespace {

constexpr std::int64_t kLongestForecastDays = 20 * 365 + 5;

std::string Fixed(double value, int decimals) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string ReadingLine(const BatteryHealthReading& reading) {
    const std::string cycles = reading.cycles > 0 ? std::to_string(reading.cycles)
                                                  : std::string(Text(TextId::HealthUnknown));
    const std::string health = Fixed(HealthPercent(reading), 1);
    if (reading.ratioOnly) {
        const std::array args{BatteryIdentity(reading), health, cycles};
        return FormatText(TextId::HealthReadingRatio, args);
    }
    const std::array args{BatteryIdentity(reading), Fixed(reading.designWh, 2),
                          Fixed(reading.fullWh, 2), health, cycles};
    return FormatText(TextId::HealthReading, args);
}

} // namespace

std::optional<HealthTrend> FitHealthTrend(const std::vector<HealthEntry>& series,
                                          std::int64_t today) {
    if (series.empty()) {
        return std::nullopt;
    }
    const std::int64_t last = series.back().day;
    double n = 0;
    double sumX = 0;
    double sumY = 0;
    std::int64_t first = last;
    for (const HealthEntry& entry : series) {
        if (entry.day > last - kTrendWindowDays) {
            first = std::min(first, entry.day);
            n += 1;
            sumX += static_cast<double>(entry.day - last);
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
        if (entry.day > last - kTrendWindowDays) {
            const double dx = static_cast<double>(entry.day - last) - meanX;
            sxx += dx * dx;
            sxy += dx * (entry.healthPercent - meanY);
        }
    }
    const double slope = sxy / sxx; // % per day
    HealthTrend trend;
    trend.wearPer100Days = -slope * 100;
    if (slope < 0) {
        // Health at the last entry's day is meanY - slope * meanX.
        const double atLast = meanY - slope * meanX;
        const double days = (kWornOutPercent - atLast) / slope;
        const double day = std::ceil(static_cast<double>(last) + days);
        if (std::isfinite(day) && day > static_cast<double>(today) &&
            day <= static_cast<double>(today + kLongestForecastDays)) {
            trend.wornOutDay = static_cast<std::int64_t>(day);
        }
    }
    return trend;
}

std::vector<HealthSeries> SplitByBattery(const std::vector<HealthEntry>& entries) {
    std::vector<HealthSeries> series;
    for (const HealthEntry& entry : entries) {
        auto it = std::find_if(series.begin(), series.end(), [&entry](const HealthSeries& s) {
            return s.identity == entry.identity;
        });
        if (it == series.end()) {
            series.push_back({entry.identity, {}});
            it = series.end() - 1;
        }
        it->entries.push_back(entry);
    }
    return series;
}

std::string TrendText(const std::optional<HealthTrend>& trend) {
    if (!trend) {
        return std::string(Text(TextId::HealthTrendTooShort));
    }
    const std::string wear = Fixed(trend->wearPer100Days, 1);
    if (trend->wornOutDay) {
        const std::array args{wear, FormatDiaryDate(*trend->wornOutDay)};
        return FormatText(TextId::HealthTrendWithDate, args);
    }
    return FormatText(TextId::HealthTrend, wear);
}

std::vector<std::string> HealthReportLines(const std::vector<BatteryHealthReading>& readings,
                                           const std::vector<HealthEntry>& diary,
                                           std::int64_t today) {
    std::vector<std::string> lines;
    for (const BatteryHealthReading& reading : readings) {
        if (IsPlausibleHealth(reading.designWh, reading.fullWh)) {
            lines.push_back(ReadingLine(reading));
        }
    }
    if (lines.empty()) {
        lines.emplace_back(Text(TextId::HealthNoReading));
    }
    for (const HealthSeries& series : SplitByBattery(diary)) {
        lines.push_back(series.identity + ": " + TrendText(FitHealthTrend(series.entries, today)));
    }
    return lines;
}

std::string HealthReport(const std::vector<BatteryHealthReading>& readings,
                         const std::vector<HealthEntry>& diary, std::int64_t today) {
    std::string report;
    for (const std::string& line : HealthReportLines(readings, diary, today)) {
        report += line + '\n';
    }
    return report;
}

} // namespace amperlog
