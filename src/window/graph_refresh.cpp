#include "window/graph_refresh.h"

#include "datalog/day_file.h"
#include "datalog/log_format.h"
#include "graphs/bar_graph.h"
#include "graphs/change_rate_graph.h"
#include "graphs/remain_graph.h"
#include "graphs/timeline_graph.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "texts/catalogue.h"
#include "window/window_model.h"

namespace amperlog {
namespace {

// The curve's own default band is 3 where the panel's is 5.
constexpr std::int16_t kCurveBandDefault = 3;

// "SEP" brought within 1 to 1440 minutes, so the stepping loops always advance.
std::int16_t ReadSepMinutes(SettingsStore& settings) {
    return ReadWorkInt16(settings, kKeySep);
}

// "Remain" equal to 1: the remaining-time line is drawn.
bool IsRemainLineOn(SettingsStore& settings) {
    return ReadWorkSwitch(settings, kKeyRemain);
}

// The input of a day's graph after a load: no samples when the load found none.
GraphInput DayGraphInput(GraphContext& ctx, std::int32_t loaded) {
    GraphInput in = GraphInputOf(ctx);
    if (loaded < 1) {
        in.samples = nullptr;
        return in;
    }
    in.remainLine = IsRemainLineOn(ctx.settings);
    in.slotsEnd = IsTodayFile(ctx.window, ctx.now) ? ctx.now : *ctx.state.GraphEndTime;
    return in;
}

// Both day graphs: the interval, the day's samples and the graph's times, then their input.
GraphInput LoadDayGraphInput(GraphContext& ctx) {
    ctx.state.SepMinutes = ReadSepMinutes(ctx.settings);
    const std::int32_t loaded = LoadDaySamples(ctx.state, ctx.window, ctx.now);
    if (loaded > 0) {
        SetGraphTimes(ctx.state);
    }
    return DayGraphInput(ctx, loaded);
}

} // namespace

std::filesystem::path GetGraphFilePath(const MonitorState& state, const MainWindowModel& window) {
    const std::u8string name(window.lblTargetName.begin(), window.lblTargetName.end());
    return state.DataFolder / std::filesystem::path(name);
}

bool IsTodayFile(const MainWindowModel& window, CivilTime now) {
    return window.lblTargetName == LogFileName(now);
}

std::int32_t LoadDaySamples(MonitorState& state, MainWindowModel& window, CivilTime now) {
    state.GraphFilePath = GetGraphFilePath(state, window);
    const DayFileLoad load = LoadDayFile(state.GraphFilePath, now.Year(), state.DaySamples);
    if (!load.opened) {
        return 0;
    }
    window.lblLineCount =
        FormatText(TextId::LineCountCaption,
                   std::to_string(load.sixthFieldCount) + "/" + std::to_string(load.count));
    return load.count;
}

void SetGraphTimes(MonitorState& state) {
    if (!state.DaySamples || state.DaySamples->empty()) {
        return;
    }
    state.GraphStartHour = state.DaySamples->front().Time.StartOfHour();
    state.GraphEndTime = state.DaySamples->back().Time;
}

GraphInput GraphInputOf(const GraphContext& ctx) {
    const MonitorState& state = ctx.state;
    GraphInput in;
    in.samples = state.DaySamples ? &*state.DaySamples : nullptr;
    in.startHour = state.GraphStartHour;
    in.layoutUnit = state.LayoutUnit;
    in.scale = state.GraphScale;
    in.sepMinutes = state.SepMinutes;
    in.rateBand = state.RateBand;
    in.screenRatio = ScreenRatio(ctx.screen);
    in.now = ctx.now;
    return in;
}

void DrawBarGraph(GraphContext& ctx) {
    DrawBarGraph(ctx.picMonitor, LoadDayGraphInput(ctx), ctx.graphs);
}

void DrawTimelineGraph(GraphContext& ctx) {
    ctx.state.LayoutUnit = ToInt16Clamped(ctx.picMonitor.TwipsPerPixel());
    DrawTimelineGraph(ctx.picMonitor, LoadDayGraphInput(ctx), ctx.graphs);
}

void RefreshChangeRate(GraphContext& ctx) {
    GraphInput in = GraphInputOf(ctx);
    if (HasRateCurve(in)) {
        ctx.state.RateBand = ReadWorkInt16(ctx.settings, kKeyBand, kCurveBandDefault);
        in.rateBand = ctx.state.RateBand;
    }
    RefreshChangeRate(ctx.picPercentRate, in, ctx.graphs);
}

std::string TimelineReadout(const GraphContext& ctx, double x) {
    return TimelineReadout(GraphInputOf(ctx), ctx.graphs, x);
}

std::string RateReadout(const GraphContext& ctx, double x) {
    return RateReadout(GraphInputOf(ctx), ctx.graphs, x);
}

} // namespace amperlog
