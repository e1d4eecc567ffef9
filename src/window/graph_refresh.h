#pragma once

#include "graphs/graph_input.h"
#include "helpers/civil_time.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace amperlog {

class DrawingSurface;
class ScreenMetrics;
class SettingsStore;
struct MainWindowModel;
struct MonitorState;

// What the main window's graph refreshes read and store, bundled so that each entry takes one
// argument. `now` is the clock's present time, taken once by the caller.
struct GraphContext {
    MonitorState& state;
    MainWindowModel& window;
    SettingsStore& settings;
    GraphState& graphs;
    const ScreenMetrics& screen;
    DrawingSurface& picMonitor;
    DrawingSurface& picPercentRate;
    CivilTime now;
};

// DataFolder joined with the caption of lblTargetName: the log that the graphs show.
std::filesystem::path GetGraphFilePath(const MonitorState& state, const MainWindowModel& window);

// True when the graphed log (the caption of lblTargetName) is today's.
bool IsTodayFile(const MainWindowModel& window, CivilTime now);

// Loads the graphed log into DaySamples and returns the number of samples loaded. Sets
// GraphFilePath; shows the count "m/n" in lblLineCount when the file opened. A load that finds
// no sample keeps the previous samples. Time stamps take their year from the file's name
// when it is a valid date, else from `now`.
std::int32_t LoadDaySamples(MonitorState& state, MainWindowModel& window, CivilTime now);

// GraphStartHour and GraphEndTime from the loaded samples: the first sample's hour and the
// last sample's time. Does nothing while no sample is loaded.
void SetGraphTimes(MonitorState& state);

// What the graphs are given from the shared state, the settings and the screen.
GraphInput GraphInputOf(const GraphContext& ctx);

// Graph mode 0: refreshes SepMinutes from "SEP", loads the graphed log, sets the graph times
// and draws the bar graph; uses LayoutUnit as the layout left it.
void DrawBarGraph(GraphContext& ctx);

// Graph mode 1: refreshes LayoutUnit from picMonitor and SepMinutes from "SEP", loads the
// graphed log, sets the graph times and draws the timeline.
void DrawTimelineGraph(GraphContext& ctx);

// Redraws the change-rate curve of the loaded samples; with a curve to draw, RateBand comes
// from "Band" (default 3) first.
void RefreshChangeRate(GraphContext& ctx);

std::string TimelineReadout(const GraphContext& ctx, double x);
std::string RateReadout(const GraphContext& ctx, double x);

} // namespace amperlog
