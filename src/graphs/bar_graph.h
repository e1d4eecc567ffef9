#pragma once

#include "graphs/graph_context.h"
#include "helpers/rgb.h"

namespace amperlog {

struct MainWindowModel;

// Graph mode 0: clears picMonitor and draws the graphed log as one bar per SepMinutes slot,
// interpolated across gaps, from the first sample's hour up to the present minute (today's
// log) or the last sample (an older log), over the percent grid and the hour axis; with
// "Remain" 1 the remaining-time line over it. Refreshes SepMinutes from "SEP", the bar
// geometry, BarSlots and the graph times; uses LayoutUnit as the layout left it.
void DrawBarGraph(GraphContext& ctx);

// The remaining time of the bar slots as a line in the given colour and width; a slot on
// external power breaks it, an implausible time is bridged. Leaves the line width at 1.
void DrawBarRemainLine(const GraphContext& ctx, Rgb color, int width);

// True when the graphed log (the caption of lblTargetName) is today's.
bool IsTodayFile(const MainWindowModel& window, CivilTime now);

} // namespace amperlog
