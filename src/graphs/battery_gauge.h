#pragma once

#include "helpers/rgb.h"

namespace amperlog {

class DrawingSurface;

inline constexpr Rgb kGaugeBackground{0, 0, 0};
inline constexpr Rgb kGaugeRed{255, 0, 0};
inline constexpr Rgb kGaugeAmber{240, 180, 0};
inline constexpr Rgb kGaugeGreen{0, 255, 0};

// The level bar's colour: red when full (exactly 100) or at 20 % and below, green above 30
// and below 80, amber in between and from 80 up.
Rgb GaugeColor(float percent);

// Draws the whole battery picture for the charge on picBattery, a 32 x 32 pixel surface:
// the outline and nub in the 3-D face colour on black, and a level bar 0.2 pixel long per
// percent. unit is the LayoutUnit (twips per pixel). Clears first and leaves the surface
// visible.
void DrawBatteryGauge(DrawingSurface& picBattery, float percent, int unit);

} // namespace amperlog
