#include "graphs/battery_gauge.h"

#include "platform/drawing_surface.h"

namespace amperlog {

Rgb GaugeColor(float percent) {
    // A full battery is tested first: it shows red like an almost empty one.
    if (percent == 100.0F || percent <= 20.0F) {
        return kGaugeRed;
    }
    if (percent <= 30.0F || percent >= 80.0F) {
        return kGaugeAmber;
    }
    return kGaugeGreen;
}

void DrawBatteryGauge(DrawingSurface& picBattery, float percent, int unit) {
    const double u = unit;
    picBattery.SetBackColor(kGaugeBackground);
    picBattery.SetForeColor(kButtonFace);
    picBattery.Resize(32 * u, 32 * u);
    picBattery.LineRelative({0, 8 * u}, {26 * u, 14 * u}, BoxMode::Outline);
    picBattery.LineRelative({29 * u, 12 * u}, {3 * u, 6 * u}, BoxMode::Filled);
    const float level = 0.2F * percent;
    picBattery.LineRelative({3 * u, 11 * u}, {u * level, 8 * u}, BoxMode::Filled,
                            GaugeColor(percent));
    picBattery.SetVisible(true);
}

} // namespace amperlog
