#include "graphs/bar_graph.h"

#include "graphs/graph_primitives.h"
#include "graphs/remain_graph.h"
#include "helpers/numeric.h"
#include "platform/drawing_surface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace amperlog {
namespace {

std::int32_t RoundToInt32(double value) {
    const double rounded = RoundHalfEven(value);
    if (rounded > std::numeric_limits<std::int32_t>::max() ||
        rounded < std::numeric_limits<std::int32_t>::min()) {
        return 0; // a conversion that fails leaves the field at its start value
    }
    return static_cast<std::int32_t>(rounded);
}

void DrawBarFrame(DrawingSurface& surface, const GraphInput& in, GraphState& g) {
    const auto unit = static_cast<float>(in.layoutUnit);
    g.BarLeftMargin = RoundToInt32(40 * unit);
    g.BarBaseline = RoundToInt32(surface.Height() - 32 * static_cast<double>(unit));
    g.BarScaleY = (static_cast<float>(g.BarBaseline) - 24 * unit) / 100;
    // The pointer read-out serves both graphs and measures from GraphLeft, which is this same
    // margin: set it here too, so that it is right before the timeline was ever drawn.
    g.GraphLeft = static_cast<float>(g.BarLeftMargin);
    const double right = surface.Width() - 16 * static_cast<double>(unit);

    surface.SetForeColor(kGraphWhite);
    surface.SetFontSize(9);
    for (int p = 0; p <= 100; p += 20) {
        const float y = static_cast<float>(g.BarBaseline) - static_cast<float>(p) * g.BarScaleY;
        const Rgb color = p == 20 || p == 80 ? kGraphRed : kButtonShadow;
        surface.Line({static_cast<double>(g.BarLeftMargin), y}, {right, y}, BoxMode::Line, color);
        PrintAt(surface, 4 * unit, y - 8 * unit, FormatPercentLabel(p));
    }
}

// Finds, for every slot, the sample that gives it its value, in one pass over the samples:
// the slot windows [start + k·sep, start + (k+1)·sep) tile the minutes, so each sample
// belongs to one slot, and the first sample in file order that falls in a slot wins.
class SlotFinder {
public:
    SlotFinder(const std::vector<DaySample>& samples, CivilTime start, int sep,
               std::int64_t slotCount)
        : m_samples(samples), m_sep(sep),
          m_firstInSlot(static_cast<std::size_t>(slotCount), kNone) {
        m_minute.reserve(samples.size());
        m_latestSoFar.reserve(samples.size());
        std::int64_t latest = std::numeric_limits<std::int64_t>::min();
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const std::int64_t minute = MinutesBetween(start, samples[i].Time);
            m_minute.push_back(minute);
            latest = std::max(latest, minute);
            m_latestSoFar.push_back(latest);
            if (minute < 0) {
                continue;
            }
            const std::int64_t slot = minute / sep;
            if (slot < slotCount && m_firstInSlot[static_cast<std::size_t>(slot)] == kNone) {
                m_firstInSlot[static_cast<std::size_t>(slot)] = static_cast<std::int64_t>(i);
            }
        }
    }

    // The first sample in the slot, or null.
    const DaySample* InSlot(std::int64_t slot) const {
        const std::int64_t index = m_firstInSlot[static_cast<std::size_t>(slot)];
        return index == kNone ? nullptr : &m_samples[static_cast<std::size_t>(index)];
    }

    // The value of a slot without a sample (m minutes after the start): the straight line
    // from p0 towards the first sample (in file order) not before ten minutes after the
    // slot's start; r0, the remaining seconds, moves along the same way.
    float FillSlot(std::int64_t m, float p0, float& r0) const {
        const std::int64_t target = m + 10;
        // The first sample at or after the target is where the running latest first reaches it.
        const auto it = std::lower_bound(m_latestSoFar.begin(), m_latestSoFar.end(), target);
        if (it == m_latestSoFar.end()) {
            return p0;
        }
        const auto index = static_cast<std::size_t>(it - m_latestSoFar.begin());
        const DaySample& next = m_samples[index];
        const auto d = static_cast<float>(m_minute[index] - target + m_sep);
        const auto sep = static_cast<float>(m_sep);
        r0 = (RemainSeconds(next.Remain) - r0) / d * sep + r0;
        return (next.Percent - p0) / d * sep + p0;
    }

private:
    static constexpr std::int64_t kNone = -1;
    const std::vector<DaySample>& m_samples;
    int m_sep;
    std::vector<std::int64_t> m_minute;      // minutes from the start, per sample
    std::vector<std::int64_t> m_latestSoFar; // running maximum of m_minute
    std::vector<std::int64_t> m_firstInSlot; // sample index per slot
};

void BuildBarSlots(const GraphInput& in, std::vector<BarSlot>& slots) {
    slots.clear();
    const std::vector<DaySample>& samples = *in.samples;
    const CivilTime start = *in.startHour;
    const int sep = in.sepMinutes;

    const CivilTime end = in.slotsEnd;
    // The span is a 16-bit count of minutes: a hand-edited log spanning weeks stops there.
    const std::int64_t span = std::clamp<std::int64_t>(MinutesBetween(start, end), -32768, 32767);
    if (span <= 0 || sep < 1) {
        return;
    }
    const std::int64_t slotCount = (span - 1) / sep + 1;
    const SlotFinder finder(samples, start, sep, slotCount);

    float lastPercent = 0;
    float lastRemain = 0;
    std::string lastPower;
    for (std::int64_t k = 0; k < slotCount; ++k) {
        const std::int64_t m = k * sep;
        float value = 0;
        if (const DaySample* found = finder.InSlot(k)) {
            value = found->Percent;
            lastRemain = RemainSeconds(found->Remain);
            lastPower = found->Power;
        } else if (slots.empty()) {
            float remain = RemainSeconds(samples.front().Remain);
            value = finder.FillSlot(m, samples.front().Percent, remain);
            lastRemain = remain;
        } else {
            value = finder.FillSlot(m, lastPercent, lastRemain);
        }
        if (value >= 0) {
            slots.push_back({lastPower, AddMinutes(start, m), value, RoundToInt32(lastRemain)});
            lastPercent = value;
        }
    }
}

// The remaining time of the bar slots as a line in the given colour and width; a slot on
// external power breaks it, an implausible time is bridged. Leaves the line width at 1.
void DrawBarRemainLine(DrawingSurface& surface, const GraphInput& in, const GraphState& g,
                       Rgb color, int width) {
    surface.SetLineWidth(1);
    if (!in.startHour) {
        return;
    }
    const float offset = 2 * static_cast<float>(in.layoutUnit) * in.scale;
    RemainLinePen pen(surface, color, width);
    for (const BarSlot& slot : g.BarSlots) {
        if (IsOnPower(slot.Power)) {
            pen.Break();
            continue;
        }
        const float hours = static_cast<float>(slot.Remain) / 3600;
        if (!IsPlausibleRemain(hours, in.screenRatio)) {
            continue;
        }
        const PointF at{TimeToX(*in.startHour, slot.Time, in.layoutUnit, in.scale,
                                g.BarLeftMargin + static_cast<double>(offset)),
                        static_cast<float>(g.BarBaseline) - g.BarScaleY * hours * 10};
        pen.To(at);
    }
}

void DrawBars(DrawingSurface& surface, const GraphInput& in, const GraphState& g) {
    const double unit = in.layoutUnit;
    const double scale = in.scale;
    // A bar covers the first half of its slot.
    const double width = ToInt16Clamped(unit * in.sepMinutes * scale / 2);
    const auto base = static_cast<double>(g.BarBaseline);
    const CivilTime start = *in.startHour;
    for (const BarSlot& slot : g.BarSlots) {
        const double x = TimeToX(start, slot.Time, in.layoutUnit, in.scale, g.BarLeftMargin);
        const float top = static_cast<float>(g.BarBaseline) - g.BarScaleY * slot.Percent;
        if (slot.Percent > 80) {
            surface.Line({x, base}, {x + width, top}, BoxMode::Filled, kGraphRed);
            const float top80 = static_cast<float>(g.BarBaseline) - g.BarScaleY * 80;
            surface.Line({x, base}, {x + width, top80}, BoxMode::Filled, kGraphGreen);
        } else {
            surface.Line({x, base}, {x + width, top}, BoxMode::Filled, kGraphGreen);
        }
    }
    if (in.remainLine) {
        DrawBarRemainLine(surface, in, g, kGraphYellow, 5);
        DrawBarRemainLine(surface, in, g, kGraphRed, 3);
    }
}

} // namespace

void DrawBarGraph(DrawingSurface& picMonitor, const GraphInput& in, GraphState& graphs) {
    picMonitor.Clear();
    DrawBarFrame(picMonitor, in, graphs);
    if (in.samples == nullptr || in.samples->empty() || !in.startHour) {
        return;
    }
    picMonitor.SetFontSize(8);
    DrawHourTicks(picMonitor, in.startHour->Hour(), graphs.BarLeftMargin, graphs.BarBaseline,
                  in.layoutUnit, in.scale);
    BuildBarSlots(in, graphs.BarSlots);
    DrawBars(picMonitor, in, graphs);
}

} // namespace amperlog
