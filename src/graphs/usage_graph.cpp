#include "graphs/usage_graph.h"

#include "graphs/graph_primitives.h"
#include "helpers/civil_time.h"
#include "helpers/numeric.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace amperlog {
namespace {

constexpr Rgb kBackground{0, 0, 0};
constexpr Rgb kGrid{64, 64, 64};
constexpr Rgb kLabel{192, 192, 192};
constexpr Rgb kDrain{255, 255, 255};
constexpr double kFontPoints = 9;
constexpr double kSmallPoints = 8;
constexpr double kLineTwips = 270;  // one printed line at 9 points
constexpr double kDigitTwips = 95;  // a digit's width at 8 points, to centre numbers
constexpr double kLeftTwips = 1000; // hour labels and the drain rows' names
constexpr double kRightTwips = 300;
constexpr double kLegendStep = 2400; // room for the longest legend text
constexpr double kBarShare = 0.7;    // of a day's slot; the rest is the gap
constexpr double kLeastDateTwips = 800;
constexpr int kHourStep = 6;

std::string DayLabel(std::int64_t day) {
    const CivilTime date = CivilTime::FromSerial(day * CivilTime::kSecondsPerDay);
    return std::to_string(date.Month()) + "/" + std::to_string(date.Day());
}

std::int64_t TotalSeconds(const UsageBar& bar) {
    return bar.batterySeconds + bar.mainsSeconds + bar.asleepSeconds + bar.unseenSeconds;
}

// Centred on x by the count of its characters: the numbers are digits and a point.
void PrintCentred(DrawingSurface& surface, double x, double y, const std::string& text) {
    PrintAt(surface, x - kDigitTwips * static_cast<double>(text.size()) / 2, y, text);
}

} // namespace

UsageGraphState DrawUsageGraph(DrawingSurface& surface, const UsageGraphInput& input) {
    surface.SetBackColor(kBackground);
    surface.SetFontSize(kFontPoints);
    surface.SetLineWidth(1);
    surface.SetForeColor(kLabel);

    double y = kLineTwips * 0.3;
    for (const std::string& caption : input.captions) {
        PrintAt(surface, 120, y, caption);
        y += kLineTwips;
    }
    const TextId legend[] = {TextId::UsageOnBattery, TextId::UsageOnMains, TextId::UsageAsleep,
                             TextId::UsageUnseen};
    for (std::size_t i = 0; i < kUsageColors.size(); ++i) {
        const double x = kLeftTwips + kLegendStep * static_cast<double>(i);
        surface.Line({x, y + 60}, {x + 150, y + 210}, BoxMode::Filled, kUsageColors[i]);
        PrintAt(surface, x + 240, y, std::string(Text(legend[i])));
    }

    // The day the clock goes back has 25 hours: the scale reaches up to the longest day.
    std::int64_t longest = std::int64_t{24} * 3600;
    for (const UsageBar& bar : input.days) {
        longest = std::max(longest, TotalSeconds(bar));
    }
    const double hours = std::ceil(static_cast<double>(longest) / 3600);
    const double top = y + kLineTwips * 1.5;
    const double left = kLeftTwips;
    const double right = surface.Width() - kRightTwips;
    UsageGraphState state;
    state.baseline = surface.Height() - kLineTwips * 3.6;
    state.twipsPerHour = (state.baseline - top) / hours;
    for (int hour = 0; hour <= static_cast<int>(hours); hour += kHourStep) {
        const double lineY = state.baseline - state.twipsPerHour * hour;
        surface.Line({left, lineY}, {right, lineY}, BoxMode::Line, kGrid);
        PrintAt(surface, 120, lineY - kLineTwips / 2,
                FormatText(TextId::UsageHours, std::to_string(hour)));
    }

    const double slot =
        (right - left) / static_cast<double>(std::max<std::size_t>(input.days.size(), 1));
    const double barWidth = slot * kBarShare;
    const auto dateEvery =
        static_cast<std::size_t>(std::max(1.0, std::ceil(kLeastDateTwips / slot)));
    const double dateY = state.baseline + 60;
    const double percentY = dateY + kLineTwips;
    const double wattsY = percentY + kLineTwips;
    PrintAt(surface, 120, percentY, std::string(Text(TextId::UsagePercentPerHour)));
    PrintAt(surface, 120, wattsY, std::string(Text(TextId::UsageWatts)));
    for (std::size_t i = 0; i < input.days.size(); ++i) {
        const UsageBar& bar = input.days[i];
        const double centre = left + slot * (static_cast<double>(i) + 0.5);
        state.barCentres.push_back(centre);
        const std::int64_t parts[] = {bar.batterySeconds, bar.mainsSeconds, bar.asleepSeconds,
                                      bar.unseenSeconds};
        double bottom = state.baseline;
        for (std::size_t p = 0; p < kUsageColors.size(); ++p) {
            if (parts[p] <= 0) {
                continue;
            }
            const double height = state.twipsPerHour * static_cast<double>(parts[p]) / 3600;
            surface.Line({centre - barWidth / 2, bottom}, {centre + barWidth / 2, bottom - height},
                         BoxMode::Filled, kUsageColors[p]);
            bottom -= height;
        }
        surface.SetFontSize(kSmallPoints);
        surface.SetForeColor(kLabel);
        if ((input.days.size() - 1 - i) % dateEvery == 0) {
            PrintCentred(surface, centre, dateY, DayLabel(bar.day));
        }
        surface.SetForeColor(kDrain);
        if (bar.drainPercentPerHour) {
            PrintCentred(surface, centre, percentY, FormatDecimal(*bar.drainPercentPerHour, 1));
        }
        if (bar.drainWatts) {
            PrintCentred(surface, centre, wattsY, FormatDecimal(*bar.drainWatts, 1));
        }
        surface.SetFontSize(kFontPoints);
    }
    surface.SetForeColor(kLabel);
    return state;
}

} // namespace amperlog
