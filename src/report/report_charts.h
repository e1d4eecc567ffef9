#pragma once

#include "health/health_trend.h"
#include "texts/catalogue.h"
#include "usage/battery_report.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amperlog {

// The page's charts as inline SVG: drawn in a fixed coordinate box and scaled to the page's
// width, so one chart fits a screen and a sheet of A4 alike. Light colours only: the page
// prints on white.

// A length of time as "H:MM", to the nearest minute: the page's times.
std::string HoursMinutes(std::int64_t seconds);

// The colour of the n-th battery series, a CSS colour.
std::string_view SeriesColor(std::size_t index);

// One stacked bar a day, hours on battery, on mains, asleep and not seen from the bottom up,
// with a legend in the language given.
std::string UsageChartSvg(const std::vector<DayUsage>& days, Language language);

// Health in % over the diary's span, one line per series in its colour, each trend as a
// dashed line over the days it was fitted on; the worn-out level marked. trends holds one
// entry per series.
std::string HealthChartSvg(const std::vector<HealthSeries>& series,
                           const std::vector<std::optional<HealthTrend>>& trends,
                           std::int64_t today);

} // namespace amperlog
