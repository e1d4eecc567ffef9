#include "report/report_charts.h"

#include "health/health_diary.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"
#include "report/markup.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace amperlog {
namespace {

constexpr std::array<std::string_view, 6> kSeriesColors{"#1f6fb4", "#d1495b", "#2a9d5c",
                                                        "#8e5ea2", "#c07a00", "#4d4d4d"};

// The usage bars' colours, bottom up, and their legends.
struct UsagePart {
    std::int64_t DayUsage::*seconds;
    std::string_view color;
    TextId label;
};
constexpr std::array<UsagePart, 4> kUsageParts{{
    {&DayUsage::batterySeconds, "#e07b00", TextId::ReportOnBattery},
    {&DayUsage::mainsSeconds, "#3c9a5f", TextId::ReportOnMains},
    {&DayUsage::asleepSeconds, "#4a72b8", TextId::ReportAsleep},
    {&DayUsage::unseenSeconds, "#d6d6d6", TextId::ReportUnseen},
}};

// Coordinates with one decimal and a point whatever the locale.
std::string Coordinate(double value) {
    return FormatDecimal(std::round(value * 10) / 10, 1);
}

std::string SvgOpen(int width, int height, std::string_view label) {
    return Tag("svg", {{"viewBox", "0 0 " + std::to_string(width) + " " + std::to_string(height)},
                       {"role", "img"},
                       {"aria-label", std::string(label)}}) +
           "\n";
}

std::string Label(double x, double y, std::string_view anchor, std::string_view text,
                  std::string_view cls = "axis") {
    return Tag("text", {{"class", std::string(cls)},
                        {"x", Coordinate(x)},
                        {"y", Coordinate(y)},
                        {"text-anchor", std::string(anchor)}}) +
           EscapeHtml(text) + "</text>\n";
}

std::string Line(double x1, double y1, double x2, double y2, std::string_view cls,
                 std::string_view color = {}) {
    return Tag("line",
               {{"class", std::string(cls)},
                {"stroke", color.empty() ? std::string() : std::string(color)},
                {"x1", Coordinate(x1)},
                {"y1", Coordinate(y1)},
                {"x2", Coordinate(x2)},
                {"y2", Coordinate(y2)}},
               true) +
           "\n";
}

std::string Box(double x, double y, double width, double height, std::string_view color,
                bool empty = true) {
    return Tag("rect",
               {{"x", Coordinate(x)},
                {"y", Coordinate(y)},
                {"width", Coordinate(width)},
                {"height", Coordinate(height)},
                {"fill", std::string(color)}},
               empty);
}

// "M/d" of a day number.
std::string ShortDate(std::int64_t day) {
    const CivilTime t = CivilTime::FromSerial(day * CivilTime::kSecondsPerDay);
    return std::to_string(t.Month()) + "/" + std::to_string(t.Day());
}

} // namespace

std::string HoursMinutes(std::int64_t seconds) {
    const std::int64_t minutes = (seconds + 30) / 60;
    const std::int64_t rest = minutes % 60;
    return std::to_string(minutes / 60) + (rest < 10 ? ":0" : ":") + std::to_string(rest);
}

std::string_view SeriesColor(std::size_t index) {
    return kSeriesColors[index % kSeriesColors.size()];
}

std::string UsageChartSvg(const std::vector<DayUsage>& days, Language language) {
    constexpr int kWidth = 720;
    constexpr int kHeight = 302;
    constexpr double kLeft = 34;
    constexpr double kRight = 8;
    constexpr double kTop = 22;
    constexpr double kPlotHeight = 210;
    constexpr double kMostHours = 25; // the day the clock goes back
    const double bottom = kTop + kPlotHeight;
    const double perHour = kPlotHeight / kMostHours;

    std::string svg = SvgOpen(kWidth, kHeight, Text(TextId::ReportUsage, language));
    for (int hour = 0; hour <= 24; hour += 6) {
        const double y = bottom - hour * perHour;
        svg += Line(kLeft, y, kWidth - kRight, y, hour == 0 ? "base" : "grid");
        svg += Label(kLeft - 5, y + 4, "end", std::to_string(hour));
    }
    svg += Label(kLeft - 5, kTop - 8, "end", "h");

    const double slot =
        days.empty() ? 0 : (kWidth - kLeft - kRight) / static_cast<double>(days.size());
    const double barWidth = slot * 0.72;
    // At most 15 dates under the bars, counted back from the last day, which is always named.
    const std::size_t step = std::max<std::size_t>(1, (days.size() + 14) / 15);
    for (std::size_t i = 0; i < days.size(); ++i) {
        const DayUsage& day = days[i];
        const double x = kLeft + slot * static_cast<double>(i) + (slot - barWidth) / 2;
        double y = bottom;
        for (const UsagePart& part : kUsageParts) {
            const auto seconds = static_cast<double>(day.*part.seconds);
            if (seconds <= 0) {
                continue;
            }
            const double height = seconds / 3600 * perHour;
            y -= height;
            // The figures on pointing, where the reader's browser shows titles.
            svg += Box(x, y, barWidth, height, part.color, false) + "<title>" +
                   FormatDiaryDate(day.day) + " " + EscapeHtml(Text(part.label, language)) + " " +
                   HoursMinutes(day.*part.seconds) + "</title></rect>\n";
        }
        if ((days.size() - 1 - i) % step == 0) {
            svg += Label(x + barWidth / 2, bottom + 15, "middle", ShortDate(day.day));
        }
    }

    // The legend under the dates.
    const double legendY = bottom + 44;
    double x = kLeft;
    for (const UsagePart& part : kUsageParts) {
        svg += Box(x, legendY - 10, 12, 12, part.color) + "\n";
        svg += Label(x + 17, legendY, "start", Text(part.label, language), "legend");
        x += 165;
    }
    return svg + "</svg>\n";
}

std::string HealthChartSvg(const std::vector<HealthSeries>& series,
                           const std::vector<std::optional<HealthTrend>>& trends,
                           std::int64_t today) {
    constexpr int kWidth = 720;
    constexpr int kHeight = 262;
    constexpr double kLeft = 34;
    constexpr double kRight = 14;
    constexpr double kTop = 22;
    constexpr double kPlotHeight = 200;
    const double bottom = kTop + kPlotHeight;

    std::int64_t first = today;
    std::int64_t last = 0;
    double lowest = kWornOutPercent;
    double highest = 100;
    bool anyTrend = false;
    for (std::size_t i = 0; i < series.size(); ++i) {
        for (const HealthEntry& entry : series[i].entries) {
            first = std::min(first, entry.day);
            last = std::max(last, entry.day);
            lowest = std::min(lowest, entry.healthPercent);
            highest = std::max(highest, entry.healthPercent);
        }
        anyTrend = anyTrend || (i < trends.size() && trends[i]);
    }
    if (anyTrend) {
        last = std::max(last, today);
    }
    last = std::max(last, first + 1);
    // The scale: 50-100 % in steps of 10, wider for a pack outside it.
    const int low = std::min(50, static_cast<int>(std::floor(lowest / 10)) * 10);
    const int high = std::max(100, static_cast<int>(std::ceil(highest / 10)) * 10);
    const double plotWidth = kWidth - kLeft - kRight;
    const auto xOf = [&](double day) {
        return kLeft +
               (day - static_cast<double>(first)) / static_cast<double>(last - first) * plotWidth;
    };
    const auto yOf = [&](double percent) {
        return bottom - (percent - low) / static_cast<double>(high - low) * kPlotHeight;
    };

    std::string svg = SvgOpen(kWidth, kHeight, "%");
    for (int percent = low; percent <= high; percent += 10) {
        const double y = yOf(percent);
        svg += Line(kLeft, y, kWidth - kRight, y,
                    percent == low ? "base" : (percent == kWornOutPercent ? "worn" : "grid"));
        svg += Label(kLeft - 5, y + 4, "end", std::to_string(percent));
    }
    svg += Label(kLeft - 5, kTop - 8, "end", "%");
    // Up to five dates along the bottom, the ends and some between, each day once.
    const std::int64_t steps = std::min<std::int64_t>(4, last - first);
    for (std::int64_t i = 0; i <= steps; ++i) {
        const std::int64_t day = first + (last - first) * i / steps;
        const std::string_view anchor = i == 0 ? "start" : (i == steps ? "end" : "middle");
        svg += Label(xOf(static_cast<double>(day)), bottom + 16, anchor, FormatDiaryDate(day));
    }

    for (std::size_t i = 0; i < series.size(); ++i) {
        const std::string color(SeriesColor(i));
        const std::vector<HealthEntry>& entries = series[i].entries;
        std::string points;
        for (const HealthEntry& entry : entries) {
            points += (points.empty() ? "" : " ") +
                      Coordinate(xOf(static_cast<double>(entry.day))) + "," +
                      Coordinate(yOf(entry.healthPercent));
        }
        svg += Tag("polyline", {{"class", "series"}, {"stroke", color}, {"points", points}}) +
               "<title>" + EscapeHtml(series[i].identity) + "</title></polyline>\n";
        // Few readings show as dots as well: one alone would draw no line.
        if (entries.size() <= 40) {
            for (const HealthEntry& entry : entries) {
                svg += Tag("circle",
                           {{"cx", Coordinate(xOf(static_cast<double>(entry.day)))},
                            {"cy", Coordinate(yOf(entry.healthPercent))},
                            {"r", "2.5"},
                            {"fill", color}},
                           true) +
                       "\n";
            }
        }
        if (i < trends.size() && trends[i]) {
            const HealthTrend& trend = *trends[i];
            const std::int64_t from = std::max(entries.front().day, today - kTrendWindowDays + 1);
            const double perDay = -trend.wearPer100Days / 100;
            const double atFrom = trend.healthToday + perDay * static_cast<double>(from - today);
            svg += Line(xOf(static_cast<double>(from)), yOf(atFrom),
                        xOf(static_cast<double>(today)), yOf(trend.healthToday), "trend", color);
        }
    }
    return svg + "</svg>\n";
}

} // namespace amperlog
