#include "graphs/health_graph.h"

#include "graphs/graph_primitives.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace amperlog {
namespace {

constexpr Rgb kBackground{0, 0, 0};
constexpr Rgb kGrid{64, 64, 64};
constexpr Rgb kWornOut{160, 64, 0};
constexpr Rgb kLabel{192, 192, 192};
constexpr std::array kSeriesColors{kGraphGreen, kGraphYellow, Rgb{0, 192, 255}, Rgb{255, 128, 255}};
// A diary younger than this still gets a month of axis, so its first days do not fill it.
constexpr std::int64_t kLeastSpanDays = 30;
constexpr int kDateTicks = 5;
constexpr double kFontPoints = 9;
constexpr double kLineTwips = 270; // one printed line at 9 points

std::string MonthLabel(std::int64_t day) {
    const CivilTime date = CivilTime::FromSerial(day * CivilTime::kSecondsPerDay);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", date.Year(), date.Month(), date.Day());
    return buffer;
}

} // namespace

Rgb HealthSeriesColor(std::size_t index) {
    return kSeriesColors[index % kSeriesColors.size()];
}

std::vector<Rgb> HealthSeriesColors(const HealthGraphInput& input) {
    std::vector<Rgb> colors(input.series.size(), kHealthGraphUnnamed);
    std::size_t named = 0;
    for (const HealthCaption& caption : input.captions) {
        const auto index = static_cast<std::size_t>(caption.series);
        if (caption.series >= 0 && index < colors.size() && colors[index] == kHealthGraphUnnamed) {
            colors[index] = HealthSeriesColor(named++);
        }
    }
    if (named == 0) {
        for (std::size_t i = 0; i < colors.size(); ++i) {
            colors[i] = HealthSeriesColor(i);
        }
    }
    return colors;
}

HealthGraphState DrawHealthGraph(DrawingSurface& surface, const HealthGraphInput& input) {
    surface.SetBackColor(kBackground);
    surface.SetFontSize(kFontPoints);
    surface.SetLineWidth(1);

    HealthGraphState state;
    bool any = false;
    double lowest = kHealthGraphLow;
    for (const std::vector<HealthPoint>& points : input.series) {
        for (const HealthPoint& point : points) {
            state.firstDay = any ? std::min(state.firstDay, point.day) : point.day;
            state.lastDay = any ? std::max(state.lastDay, point.day) : point.day;
            lowest = std::min(lowest, point.percent);
            any = true;
        }
    }
    state.lastDay = std::max(state.lastDay, state.firstDay + kLeastSpanDays);
    const double low = std::max(0.0, std::floor(lowest / kHealthGraphStep) * kHealthGraphStep);

    const double top = kLineTwips * (static_cast<double>(input.captions.size()) + 1.5);
    const double left = 900;
    const double right = surface.Width() - 700;
    const double bottom = surface.Height() - kLineTwips * 1.5;
    const auto x = [&](std::int64_t day) {
        return left + (right - left) * static_cast<double>(day - state.firstDay) /
                          static_cast<double>(state.lastDay - state.firstDay);
    };
    const auto y = [&](double percent) {
        const double clamped = std::clamp(percent, low, kHealthGraphHigh);
        return bottom - (bottom - top) * (clamped - low) / (kHealthGraphHigh - low);
    };

    const std::vector<Rgb> colors = HealthSeriesColors(input);
    for (std::size_t i = 0; i < input.captions.size(); ++i) {
        const HealthCaption& caption = input.captions[i];
        const auto series = static_cast<std::size_t>(caption.series);
        surface.SetForeColor(caption.series >= 0 && series < colors.size() ? colors[series]
                                                                           : kLabel);
        PrintAt(surface, 120, kLineTwips * (static_cast<double>(i) + 0.3), caption.text);
    }
    surface.SetForeColor(kLabel);
    if (!any) {
        // An axis would start in 1970.
        PrintAt(surface, left, (top + bottom) / 2 - kLineTwips / 2,
                std::string(Text(TextId::HealthNoDiary)));
        return state;
    }
    for (int percent = static_cast<int>(low); percent <= 100;
         percent += static_cast<int>(kHealthGraphStep)) {
        const Rgb color = percent == kHealthGraphWornOut ? kWornOut : kGrid;
        surface.Line({left, y(percent)}, {right, y(percent)}, BoxMode::Line, color);
        PrintAt(surface, 120, y(percent) - kLineTwips / 2, FormatPercentLabel(percent) + "%");
    }
    for (int tick = 0; tick <= kDateTicks; ++tick) {
        const std::int64_t day =
            state.firstDay + (state.lastDay - state.firstDay) * tick / kDateTicks;
        surface.Line({x(day), bottom}, {x(day), bottom + 60}, BoxMode::Line, kLabel);
        const double labelX = std::clamp(x(day) - 600, left - 600, surface.Width() - 1300);
        PrintAt(surface, labelX, bottom + 90, MonthLabel(day));
    }

    surface.SetLineWidth(2);
    for (std::size_t i = 0; i < input.series.size(); ++i) {
        const std::vector<HealthPoint>& points = input.series[i];
        const Rgb color = colors[i];
        if (points.size() == 1) {
            // A battery's first day: a dot big enough to see.
            const PointF at{x(points[0].day), y(points[0].percent)};
            surface.Line({at.x - 45, at.y - 45}, {at.x + 45, at.y + 45}, BoxMode::Filled, color);
        }
        for (std::size_t p = 1; p < points.size(); ++p) {
            surface.Line({x(points[p - 1].day), y(points[p - 1].percent)},
                         {x(points[p].day), y(points[p].percent)}, BoxMode::Line, color);
        }
        state.linesDrawn += points.empty() ? 0 : 1;
    }
    surface.SetLineWidth(1);
    return state;
}

} // namespace amperlog
