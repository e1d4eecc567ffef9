#pragma once

#include "platform/drawing_surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace amperlog {

struct HealthPoint {
    std::int64_t day = 0; // CivilTime::DayNumber
    double percent = 0;
};

// A line of text above the graph; one that speaks of a battery's line is in its colour.
struct HealthCaption {
    std::string text;
    int series = -1;
};

struct HealthGraphInput {
    // One line per battery, its points in day order.
    std::vector<std::vector<HealthPoint>> series;
    // Printed at the top left, one line each: today's figures, the trends.
    std::vector<HealthCaption> captions;
};

// The health scale and where the worn-out line lies; a pack below the usual bottom takes the
// scale down to it in steps.
constexpr double kHealthGraphLow = 50;
constexpr double kHealthGraphStep = 10;
constexpr double kHealthGraphHigh = 100;
constexpr double kHealthGraphWornOut = 80;

// What the drawing settled, for tests and the caller.
struct HealthGraphState {
    std::int64_t firstDay = 0;
    std::int64_t lastDay = 0;
    std::size_t linesDrawn = 0;
};

// Health in % over the diary's span: dates along the bottom, 50–100 % up the side (lower for
// a pack below 50 %), one coloured line per battery, the captions above. Without a point, a
// sentence says the diary has none yet.
HealthGraphState DrawHealthGraph(DrawingSurface& surface, const HealthGraphInput& input);

// The colour of the n-th battery the captions name.
Rgb HealthSeriesColor(std::size_t index);
// A battery no caption names (one long gone) is drawn dim: the colours stay the named ones'.
constexpr Rgb kHealthGraphUnnamed{96, 96, 96};
// Each series' colour: the captions' batteries in their order, the others dim; every series
// by its index when no caption names one.
std::vector<Rgb> HealthSeriesColors(const HealthGraphInput& input);

} // namespace amperlog
