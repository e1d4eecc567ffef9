#include "graphs/change_rate_graph.h"

#include "graphs/graph_primitives.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"
#include "settings/settings_keys.h"
#include "state/monitor_state.h"

#include <algorithm>
#include <optional>

namespace amperlog {
namespace {

constexpr float kRateLimit = 120;

// The curve's own default band is 3 where the panel's is 5.
constexpr std::int16_t kCurveBandDefault = 3;

void DrawRateFrame(GraphContext& ctx) {
    DrawingSurface& surface = ctx.picPercentRate;
    GraphState& g = ctx.graphs;
    const double unit = ctx.state.LayoutUnit;
    g.RateLeftMargin = static_cast<std::int32_t>(40 * ctx.state.LayoutUnit);
    surface.Clear();
    const double height = surface.Height();
    const double bottom = RoundHalfEven(height - 8 * unit);
    g.RateBottomY = static_cast<std::int32_t>(std::clamp(bottom, -2e9, 2e9));
    g.RateScaleY = static_cast<float>((g.RateBottomY - 8 * unit) / 400);
    g.RateMidY = static_cast<float>(height / 2);
    surface.Line({static_cast<double>(g.RateLeftMargin), g.RateMidY},
                 {surface.Width() - 24 * unit, g.RateMidY}, BoxMode::Line, kButtonShadow);
}

} // namespace

float RateAt(const std::vector<DaySample>& samples, std::size_t i, int band) {
    const std::size_t j = i + static_cast<std::size_t>(band);
    if (band < 0 || j >= samples.size()) {
        return 0;
    }
    const auto hours = static_cast<float>(SecondsBetween(samples[i].Time, samples[j].Time)) / 3600;
    if (hours == 0) {
        return 0;
    }
    const float rate = (samples[j].Percent - samples[i].Percent) / hours;
    if (!(rate >= -kRateLimit && rate <= kRateLimit)) {
        return 0;
    }
    return rate;
}

void RefreshChangeRate(GraphContext& ctx) {
    DrawRateFrame(ctx);
    MonitorState& state = ctx.state;
    if (!state.DaySamples || state.DaySamples->size() < 2 || !state.GraphStartHour) {
        return;
    }
    state.RateBand = ReadWorkInt16(ctx.settings, kKeyBand, kCurveBandDefault);
    const std::vector<DaySample>& samples = *state.DaySamples;
    std::vector<RateSample>& rates = ctx.graphs.RateSamples;
    // Entry i belongs to sample i, up to the last sample that has one `band` samples later;
    // without any, one empty entry.
    rates.assign(1, RateSample{});
    const auto last = static_cast<std::int64_t>(samples.size()) - 1 - state.RateBand;
    if (last >= 0) {
        rates.resize(static_cast<std::size_t>(last) + 1);
        for (std::size_t i = 0; i < rates.size(); ++i) {
            rates[i] = {samples[i].Time, RateAt(samples, i, state.RateBand)};
        }
    }
    DrawRateCurve(ctx);
}

void DrawRateCurve(GraphContext& ctx) {
    DrawingSurface& surface = ctx.picPercentRate;
    const MonitorState& state = ctx.state;
    const GraphState& g = ctx.graphs;
    surface.SetLineWidth(1);
    if (!state.DaySamples || !state.GraphStartHour) {
        return;
    }
    const std::vector<DaySample>& samples = *state.DaySamples;
    const auto lastIndex = static_cast<std::int64_t>(samples.size()) - 1;
    float highest = 0;
    float lowest = 101;
    PointF highestAt{0, 0};
    PointF lowestAt{0, 0};
    std::optional<Rgb> lastSegmentColor;
    // The newest band + 1 samples have no rate of their own and lie on the zero line.
    const std::int64_t firstOnZero = lastIndex - state.RateBand;
    for (std::int64_t i = 1; i <= lastIndex; ++i) {
        const DaySample& s = samples[static_cast<std::size_t>(i)];
        const double x = TimeToX(*state.GraphStartHour, s.Time, state.LayoutUnit, state.GraphScale,
                                 g.RateLeftMargin);
        float rate = 0;
        if (i < firstOnZero && static_cast<std::size_t>(i) < g.RateSamples.size()) {
            rate = g.RateSamples[static_cast<std::size_t>(i)].PercentPerHour;
        }
        const PointF at{x, g.RateMidY - rate * g.RateScaleY};
        if (rate > highest) {
            highest = rate;
            highestAt = at;
        } else if (rate < lowest) {
            lowest = rate;
            lowestAt = at;
        }
        if (i == 1) {
            surface.Point(at);
            continue;
        }
        const Rgb color = !IsOnPower(s.Power) && rate <= 0 ? kButtonFace : kGraphGreen;
        // Samples of one minute share a pixel: a segment of no length in the colour of the
        // one before it changes nothing, and the curve is redrawn every second.
        if (lastSegmentColor && *lastSegmentColor == color && surface.CurrentPoint() == at) {
            continue;
        }
        if (!(surface.ForeColor() == color)) {
            surface.SetForeColor(color);
        }
        surface.LineTo(at, BoxMode::Line, color);
        lastSegmentColor = color;
    }
    const double unit = state.LayoutUnit;
    PrintAt(surface, highestAt.x, highestAt.y - 16 * unit, FormatWhole(highest));
    PrintAt(surface, lowestAt.x, lowestAt.y + 4 * unit, FormatWhole(lowest));
}

std::string RateReadout(const GraphContext& ctx, double x) {
    const MonitorState& state = ctx.state;
    const GraphState& g = ctx.graphs;
    if (!state.GraphStartHour || state.LayoutUnit <= 0 || !(state.GraphScale > 0)) {
        return {};
    }
    const float minutes = (static_cast<float>(x) - static_cast<float>(g.RateLeftMargin)) /
                          static_cast<float>(state.LayoutUnit) / state.GraphScale;
    // A 16-bit minute count, as the pointer never lies weeks away; beyond it nothing shows.
    const auto m = ToInt16(minutes);
    if (!m) {
        return {};
    }
    const CivilTime start = *state.GraphStartHour;
    const CivilTime t = AddMinutes(start, *m);
    if (MinutesBetween(t, start) > 0 || MinutesBetween(t, ctx.now) < 0) {
        return {};
    }
    const CivilTime windowEnd = AddMinutes(t, state.SepMinutes);
    const std::string time = FormatHourMinute(t) + "   ";
    const std::vector<RateSample>& rates = g.RateSamples;
    for (std::size_t k = 0; k < rates.size(); ++k) {
        if (MinutesBetween(t, rates[k].Time) >= 0 && MinutesBetween(windowEnd, rates[k].Time) < 0) {
            // The entry after the one found is shown; the last entry has none.
            if (k + 1 >= rates.size()) {
                return {};
            }
            return time + FormatWhole(rates[k + 1].PercentPerHour);
        }
    }
    return time;
}

} // namespace amperlog
