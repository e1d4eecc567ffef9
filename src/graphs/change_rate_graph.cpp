#include "graphs/change_rate_graph.h"

#include "graphs/graph_primitives.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"

#include <algorithm>
#include <optional>

namespace amperlog {
namespace {

constexpr float kRateLimit = 120;

void DrawRateFrame(DrawingSurface& surface, const GraphInput& in, GraphState& g) {
    const double unit = in.layoutUnit;
    g.RateLeftMargin = static_cast<std::int32_t>(40 * in.layoutUnit);
    surface.Clear();
    const double height = surface.Height();
    const double bottom = RoundHalfEven(height - 8 * unit);
    g.RateBottomY = static_cast<std::int32_t>(std::clamp(bottom, -2e9, 2e9));
    g.RateScaleY = static_cast<float>((g.RateBottomY - 8 * unit) / 400);
    g.RateMidY = static_cast<float>(height / 2);
    surface.Line({static_cast<double>(g.RateLeftMargin), g.RateMidY},
                 {surface.Width() - 24 * unit, g.RateMidY}, BoxMode::Line, kButtonShadow);
}

// The curve of the rates in RateSamples with its highest and lowest value printed.
void DrawRateCurve(DrawingSurface& surface, const GraphInput& in, const GraphState& g) {
    surface.SetLineWidth(1);
    if (in.samples == nullptr || !in.startHour) {
        return;
    }
    const std::vector<DaySample>& samples = *in.samples;
    const auto lastIndex = static_cast<std::int64_t>(samples.size()) - 1;
    float highest = 0;
    float lowest = 101;
    PointF highestAt{0, 0};
    PointF lowestAt{0, 0};
    std::optional<Rgb> lastSegmentColor;
    // The newest band + 1 samples have no rate of their own and lie on the zero line.
    const std::int64_t firstOnZero = lastIndex - in.rateBand;
    for (std::int64_t i = 1; i <= lastIndex; ++i) {
        const DaySample& s = samples[static_cast<std::size_t>(i)];
        const double x = TimeToX(*in.startHour, s.Time, in.layoutUnit, in.scale, g.RateLeftMargin);
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
    const double unit = in.layoutUnit;
    PrintAt(surface, highestAt.x, highestAt.y - 16 * unit, FormatWhole(highest));
    PrintAt(surface, lowestAt.x, lowestAt.y + 4 * unit, FormatWhole(lowest));
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

bool HasRateCurve(const GraphInput& in) {
    return in.samples != nullptr && in.samples->size() >= 2 && in.startHour;
}

void RefreshChangeRate(DrawingSurface& picPercentRate, const GraphInput& in, GraphState& graphs) {
    DrawRateFrame(picPercentRate, in, graphs);
    if (!HasRateCurve(in)) {
        return;
    }
    const std::vector<DaySample>& samples = *in.samples;
    std::vector<RateSample>& rates = graphs.RateSamples;
    // Entry i belongs to sample i, up to the last sample that has one `band` samples later;
    // without any, one empty entry.
    rates.assign(1, RateSample{});
    const auto last = static_cast<std::int64_t>(samples.size()) - 1 - in.rateBand;
    if (last >= 0) {
        rates.resize(static_cast<std::size_t>(last) + 1);
        for (std::size_t i = 0; i < rates.size(); ++i) {
            rates[i] = {samples[i].Time, RateAt(samples, i, in.rateBand)};
        }
    }
    DrawRateCurve(picPercentRate, in, graphs);
}

std::string RateReadout(const GraphInput& in, const GraphState& g, double x) {
    if (!in.startHour || in.layoutUnit <= 0 || !(in.scale > 0)) {
        return {};
    }
    const float minutes = (static_cast<float>(x) - static_cast<float>(g.RateLeftMargin)) /
                          static_cast<float>(in.layoutUnit) / in.scale;
    // A 16-bit minute count, as the pointer never lies weeks away; beyond it nothing shows.
    const auto m = ToInt16(minutes);
    if (!m) {
        return {};
    }
    const CivilTime start = *in.startHour;
    const CivilTime t = AddMinutes(start, *m);
    if (MinutesBetween(t, start) > 0 || MinutesBetween(t, in.now) < 0) {
        return {};
    }
    const CivilTime windowEnd = AddMinutes(t, in.sepMinutes);
    std::string time = FormatHourMinute(t) + "   ";
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
