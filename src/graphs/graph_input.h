#pragma once

#include "helpers/civil_time.h"
#include "state/day_sample.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace amperlog {

// What a graph drawing is given: the loaded samples and the values the caller read.
struct GraphInput {
    // The loaded day, in file order; null when there is none to draw.
    const std::vector<DaySample>* samples = nullptr;
    // The shared time axis: minute 0 at startHour, layoutUnit twips a pixel, scale pixels a
    // minute. No startHour: nothing was ever graphed.
    std::optional<CivilTime> startHour;
    int layoutUnit = 0;
    float scale = 0;
    // The bar graph's slots run up to here: the present on today's log, else the last sample.
    CivilTime slotsEnd;
    int sepMinutes = 0;
    int rateBand = 0;
    bool remainLine = false; // the remaining-time line over the day's graph
    float screenRatio = 0;   // the screen's width over its height
    CivilTime now;
};

// One bar of the bar graph: a slot of SepMinutes minutes.
struct BarSlot {
    std::string Power; // power text of the sample that last gave a slot its value
    CivilTime Time;    // start of the slot
    float Percent = 0;
    std::int32_t Remain = 0; // seconds
};

// One change rate, belonging to the sample of the same index.
struct RateSample {
    CivilTime Time;
    float PercentPerHour = 0; // within -120 to 120; 0 where no rate could be computed
};

// What the graphs keep from one drawing to the next: the geometry that the read-outs use
// and the tables that the last drawing built. All lengths in twips.
struct GraphState {
    // Timeline graph, set by every timeline drawing.
    float GraphLeft = 0;   // x of GraphStartHour
    float GraphBase = 0;   // y of 0 %
    float PercentStep = 0; // twips per percent

    // Bar graph, set by every bar drawing.
    // Whole twips; 32 bits, so that a window taller than 32767 twips still draws.
    std::int32_t BarLeftMargin = 0;
    std::int32_t BarBaseline = 0;
    float BarScaleY = 0;
    std::vector<BarSlot> BarSlots; // only the slots stored; BarCount is its size

    // Change-rate curve, set by every change-rate refresh.
    std::int32_t RateLeftMargin = 0;
    std::int32_t RateBottomY = 0;
    float RateScaleY = 0; // twips per percent an hour
    float RateMidY = 0;   // y of the zero line
    std::vector<RateSample> RateSamples;
};

} // namespace amperlog
