#pragma once

#include "helpers/rgb.h"
#include "platform/drawing_surface.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// One day's bar: where its seconds went, and how fast the battery drained on it.
struct UsageBar {
    std::int64_t day = 0; // CivilTime::DayNumber
    std::int64_t batterySeconds = 0;
    std::int64_t mainsSeconds = 0;
    std::int64_t asleepSeconds = 0;
    std::int64_t unseenSeconds = 0;
    std::optional<double> drainPercentPerHour;
    std::optional<double> drainWatts;
};

struct UsageGraphInput {
    std::vector<UsageBar> days; // oldest first
    // Printed at the top left, one line each.
    std::vector<std::string> captions;
};

// The parts of a bar from the bottom up: on battery, on mains, asleep, not seen.
inline constexpr std::array<Rgb, 4> kUsageColors{Rgb{255, 255, 0}, Rgb{0, 255, 0}, Rgb{0, 160, 255},
                                                 Rgb{72, 72, 72}};

// What the drawing settled, for tests and the caller. Twips.
struct UsageGraphState {
    double baseline = 0;     // y of 0 hours
    double twipsPerHour = 0; // up the bars
    std::vector<double> barCentres;
};

// A stacked bar per day, hours up the side, a legend above, the date under every few bars
// (always under the last), and under those the drain of each day in %/h and in W where known.
UsageGraphState DrawUsageGraph(DrawingSurface& surface, const UsageGraphInput& input);

} // namespace amperlog
