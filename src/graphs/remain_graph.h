#pragma once

#include "graphs/graph_input.h"
#include "helpers/rgb.h"

namespace amperlog {

class DrawingSurface;
class ScreenMetrics;

// The screen's width over its height, as a single; 0 when the height is unknown.
float ScreenRatio(const ScreenMetrics& screen);

// Whether a remaining time is drawn: 1 to under 10 hours on a screen wider than 16:10,
// 1 to under 25 hours otherwise.
bool IsPlausibleRemain(float hours, float screenRatio);
bool IsPlausibleRemain(float hours, const ScreenMetrics& screen);

// The remaining time of the loaded samples as a line over a graph: one hour as high as ten
// percent of the caller's scale (yScale twips per percent, baseline the y of 0 %), x on the
// shared time axis from xOffset. A sample on external power breaks the line; a sample whose
// time is not plausible is bridged. Leaves the line width at 1.
void DrawRemainSeries(const GraphInput& in, DrawingSurface& surface, Rgb color, int width,
                      float xOffset, float yScale, float baseline);

} // namespace amperlog
