#pragma once

#include "graphs/graph_context.h"

#include <string>

namespace amperlog {

// Graph mode 1: clears picMonitor and draws the graphed log as a timeline, one bar per
// sample with bars across gaps, the connecting line over the bar tops, the percent grid, the
// hour axis and, when "Remain" is 1, the remaining-time overlay. Refreshes LayoutUnit from
// the surface, SepMinutes from "SEP", GraphLeft/GraphBase/PercentStep and the graph times.
void DrawTimelineGraph(GraphContext& ctx);

// The text for the pointer at x (twips across picMonitor): "HH:mm   " and the charge of the
// first sample logged in that minute, the time alone, or empty left of the time origin and
// after the present minute.
std::string TimelineReadout(const GraphContext& ctx, double x);

} // namespace amperlog
