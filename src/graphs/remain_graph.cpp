#include "graphs/remain_graph.h"

#include "graphs/graph_primitives.h"
#include "platform/drawing_surface.h"
#include "platform/screen_metrics.h"

namespace amperlog {

float ScreenRatio(const ScreenMetrics& screen) {
    const auto width = static_cast<float>(screen.WidthTwips());
    const auto height = static_cast<float>(screen.HeightTwips());
    if (!(height > 0) || !(width >= 0)) {
        return 0;
    }
    return width / height;
}

bool IsPlausibleRemain(float hours, float screenRatio) {
    // Compared as a single, so an exact 16:10 screen is not "above" 1.6.
    const float limit = screenRatio > 1.6f ? 10.0f : 25.0f;
    return hours >= 1.0f && hours < limit;
}

bool IsPlausibleRemain(float hours, const ScreenMetrics& screen) {
    return IsPlausibleRemain(hours, ScreenRatio(screen));
}

void DrawRemainSeries(const GraphInput& in, DrawingSurface& surface, Rgb color, int width,
                      float xOffset, float yScale, float baseline) {
    surface.SetLineWidth(1);
    if (in.samples == nullptr || !in.startHour) {
        return;
    }
    RemainLinePen pen(surface, color, width);
    PointF lastAt;
    for (const DaySample& s : *in.samples) {
        if (IsOnPower(s.Power)) {
            pen.Break();
            continue;
        }
        const float hours = RemainSeconds(s.Remain) / 3600;
        if (!IsPlausibleRemain(hours, in.screenRatio)) {
            continue;
        }
        const PointF at{TimeToX(*in.startHour, s.Time, in.layoutUnit, in.scale, xOffset),
                        baseline - hours * 10 * yScale};
        if (pen.InPiece() && at == lastAt) {
            continue; // a segment of no length over the last one's end changes no pixel
        }
        lastAt = at;
        pen.To(at);
    }
}

} // namespace amperlog
