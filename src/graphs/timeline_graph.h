#pragma once

#include "graphs/graph_input.h"

#include <string>

namespace amperlog {

class DrawingSurface;

// Graph mode 1: clears picMonitor and draws the percent grid; with samples, the day as a
// timeline, one bar per sample with bars across gaps, the connecting line over the bar tops,
// the hour axis and, with the remain line on, the remaining-time overlay. Sets
// GraphLeft/GraphBase/PercentStep.
void DrawTimelineGraph(DrawingSurface& picMonitor, const GraphInput& in, GraphState& graphs);

// The text for the pointer at x (twips across picMonitor): "HH:mm   " and the charge of the
// first sample logged in that minute, the time alone, or empty left of the time origin and
// after the present minute.
std::string TimelineReadout(const GraphInput& in, const GraphState& graphs, double x);

} // namespace amperlog
