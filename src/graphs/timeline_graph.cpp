#include "graphs/timeline_graph.h"

#include "graphs/graph_primitives.h"
#include "graphs/remain_graph.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"

#include <cmath>
#include <optional>
#include <vector>

namespace amperlog {
namespace {

// One drawing's geometry: time to x, percent to y.
class TimelineAxes {
public:
    TimelineAxes(DrawingSurface& surface, const GraphInput& in, const GraphState& g)
        : m_surface(surface), m_left(g.GraphLeft), m_base(g.GraphBase), m_step(g.PercentStep),
          m_unit(in.layoutUnit), m_scale(in.scale), m_start(*in.startHour) {}

    double X(CivilTime t) const { return TimeToX(m_start, t, m_unit, m_scale, m_left); }
    float Y(float percent) const { return m_base - percent * m_step; }
    CivilTime Start() const { return m_start; }
    float Left() const { return m_left; }

    // A bar from the 0 % line up to top; the part above the 80 % line red when level is 80 or
    // more. A bar that lies within the one just drawn, in the same colours, changes no pixel
    // and is left out: a log of one line a second has some 60 samples to a minute's pixel.
    void Bar(double x, double top, float level, Rgb color) {
        const BarKey key{x, top, level >= 80, color};
        if (m_lastBar && Covers(*m_lastBar, key)) {
            return;
        }
        m_lastBar = key;
        if (level >= 80) {
            m_surface.Line({x, m_base}, {x, top}, BoxMode::Line, kGraphRed);
            m_surface.Line({x, m_base}, {x, Y(80)}, BoxMode::Line, color);
        } else {
            m_surface.Line({x, m_base}, {x, top}, BoxMode::Line, color);
        }
    }

    // Something else was drawn: the next bar is drawn whatever it is.
    void ForgetLastBar() { m_lastBar.reset(); }

private:
    struct BarKey {
        double x;
        double top;
        bool redTop;
        Rgb color;
    };

    // Whether drawing `next` over `last` leaves every pixel as it is. y grows downwards: a
    // top at or below another is no taller.
    bool Covers(const BarKey& last, const BarKey& next) const {
        if (next.x != last.x || !(next.color == last.color)) {
            return false;
        }
        if (next.redTop) {
            return last.redTop && next.top >= last.top;
        }
        // Below a red top the bar's own colour reaches the 80 % line.
        return next.top >= (last.redTop ? static_cast<double>(Y(80)) : last.top);
    }

    DrawingSurface& m_surface;
    float m_left;
    float m_base;
    float m_step;
    int m_unit;
    float m_scale;
    CivilTime m_start;
    std::optional<BarKey> m_lastBar;
};

void DrawTimelineFrame(DrawingSurface& surface, const GraphInput& in, GraphState& g) {
    const auto unit = static_cast<float>(in.layoutUnit);
    g.GraphLeft = 40 * unit;
    g.GraphBase = static_cast<float>(surface.Height()) - 32 * unit;
    g.PercentStep = (g.GraphBase - 24 * unit) / 100;
    const float right = static_cast<float>(surface.Width()) - 16 * unit;

    surface.SetForeColor(kButtonFace);
    surface.SetFontSize(9);
    for (int p = 0; p <= 100; p += 20) {
        const float y = g.GraphBase - static_cast<float>(p) * g.PercentStep;
        const Rgb color = p == 20 || p == 80 ? kGraphRed : kButtonShadow;
        surface.Line({g.GraphLeft, y}, {right, y}, BoxMode::Line, color);
        PrintAt(surface, 4 * unit, y - 8 * unit, FormatPercentLabel(p));
    }
}

void DrawTimelineHourAxis(DrawingSurface& surface, const GraphInput& in, const GraphState& g) {
    surface.SetFontSize(8);
    surface.SetForeColor(kButtonFace);
    DrawHourTicks(surface, in.startHour->Hour(), g.GraphLeft, g.GraphBase, in.layoutUnit, in.scale);
}

// Bars from the start of the hour up to the first sample, at the first sample's level.
void DrawLeadingBars(DrawingSurface& surface, const GraphInput& in, TimelineAxes& axes) {
    const DaySample& first = in.samples->front();
    const int sep = in.sepMinutes;
    const auto level = static_cast<float>(RoundHalfEven(first.Percent));
    const Rgb color = SampleColor(first);
    for (int k = 0; k <= first.Time.Minute(); k += sep) {
        axes.Bar(axes.X(AddMinutes(axes.Start(), k)), axes.Y(level), level, color);
    }
    surface.Line({axes.Left(), axes.Y(level)}, {axes.X(first.Time), axes.Y(level)}, BoxMode::Line,
                 color);
    axes.ForgetLastBar();
}

// Bars every SepMinutes across a gap between two samples, on the straight line between them.
void DrawGapBars(const DrawingSurface& surface, const GraphInput& in, TimelineAxes& axes,
                 const DaySample& from, const DaySample& to) {
    const int sep = in.sepMinutes;
    const std::int64_t gap = MinutesBetween(from.Time, to.Time);
    if (gap < sep) {
        return;
    }
    const float slope = (to.Percent - from.Percent) / static_cast<float>(gap);
    const Rgb color = SampleColor(from);
    const double rightEdge = surface.Width();
    CivilTime t = AddMinutes(from.Time, sep);
    for (int k = 1; MinutesBetween(t, to.Time) > 0; ++k) {
        const double x = axes.X(t);
        if (x > rightEdge) {
            break; // a hand-edited gap of months would otherwise draw bars nobody sees
        }
        const float level = static_cast<float>(sep) * slope * static_cast<float>(k) + from.Percent;
        axes.Bar(x, axes.Y(level), level, color);
        t = AddMinutes(t, sep);
    }
}

// One step of the connecting line: a point or a segment to `at`.
struct LineStep {
    bool line;
    PointF at;
    Rgb color;
    friend bool operator==(const LineStep&, const LineStep&) = default;
};

void DrawTimelineSeries(DrawingSurface& surface, const GraphInput& in, const GraphState& g) {
    const std::vector<DaySample>& samples = *in.samples;
    TimelineAxes axes(surface, in, g);

    DrawLeadingBars(surface, in, axes);
    surface.SetLineWidth(1);

    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i + 1 < samples.size()) {
            DrawGapBars(surface, in, axes, samples[i], samples[i + 1]);
        }
        const DaySample& s = samples[i];
        axes.Bar(RoundHalfEven(axes.X(s.Time)), RoundHalfEven(axes.Y(s.Percent)), s.Percent,
                 SampleColor(s));
    }

    // Samples up to the first with a positive charge only leave points; every later one is
    // joined to its predecessor in its own colour. A step equal to the one just drawn (the
    // same point again, a segment of no length in the same colour) changes no pixel.
    std::optional<LineStep> last;
    bool started = false;
    for (const DaySample& s : samples) {
        const PointF at{RoundHalfEven(axes.X(s.Time)), RoundHalfEven(axes.Y(s.Percent))};
        const LineStep step =
            started ? LineStep{true, at, SampleColor(s)} : LineStep{false, at, surface.ForeColor()};
        if (!last || !(*last == step)) {
            if (step.line) {
                surface.LineTo(at, BoxMode::Line, step.color);
            } else {
                surface.Point(at);
            }
            last = step;
        }
        if (s.Percent > 0) {
            started = true;
        }
    }

    if (in.remainLine) {
        DrawRemainSeries(in, surface, kGraphYellow, 5, g.GraphLeft, g.PercentStep, g.GraphBase);
        DrawRemainSeries(in, surface, kGraphRed, 3, g.GraphLeft, g.PercentStep, g.GraphBase);
    }
}

} // namespace

void DrawTimelineGraph(DrawingSurface& picMonitor, const GraphInput& in, GraphState& graphs) {
    picMonitor.Clear();
    DrawTimelineFrame(picMonitor, in, graphs);
    if (in.samples == nullptr || in.samples->empty() || !in.startHour) {
        return;
    }
    DrawTimelineHourAxis(picMonitor, in, graphs);
    DrawTimelineSeries(picMonitor, in, graphs);
}

std::string TimelineReadout(const GraphInput& in, const GraphState& graphs, double x) {
    if (!in.startHour || in.layoutUnit <= 0 || !(in.scale > 0)) {
        return {};
    }
    const float minutes =
        (static_cast<float>(x) - graphs.GraphLeft) / static_cast<float>(in.layoutUnit) / in.scale;
    const double m = RoundHalfEven(minutes);
    if (!std::isfinite(minutes) || std::fabs(m) > 1e9) {
        return {};
    }
    const CivilTime start = *in.startHour;
    const CivilTime t = AddMinutes(start, static_cast<std::int64_t>(m));
    if (MinutesBetween(t, start) > 0 || MinutesBetween(t, in.now) < 0) {
        return {};
    }
    std::string time = FormatHourMinute(t) + "   ";
    if (in.samples != nullptr) {
        for (const DaySample& s : *in.samples) {
            if (MinutesBetween(t, s.Time) == 0) {
                return time + FormatWhole(s.Percent);
            }
        }
    }
    return time;
}

} // namespace amperlog
