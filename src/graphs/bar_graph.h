#pragma once

#include "graphs/graph_input.h"

namespace amperlog {

class DrawingSurface;

// Graph mode 0: clears picMonitor and draws the percent grid; with samples, one bar per
// SepMinutes slot, interpolated across gaps, from the start hour up to the slots' end, the
// hour axis and, with the remain line on, the remaining-time line over it. Sets the bar
// geometry and, with samples, BarSlots.
void DrawBarGraph(DrawingSurface& picMonitor, const GraphInput& in, GraphState& graphs);

} // namespace amperlog
