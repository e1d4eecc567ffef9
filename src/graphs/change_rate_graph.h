#pragma once

#include "graphs/graph_input.h"

#include <cstddef>
#include <string>
#include <vector>

namespace amperlog {

class DrawingSurface;

// The rate, in percent an hour, from sample i to sample i + band; 0 when both share a time
// or the rate lies beyond ±120 (exactly ±120 is kept).
float RateAt(const std::vector<DaySample>& samples, std::size_t i, int band);

// Whether the change-rate refresh draws a curve: two loaded samples and a time origin.
bool HasRateCurve(const GraphInput& in);

// Clears picPercentRate, draws the zero line and, when HasRateCurve, rebuilds RateSamples
// over the given band and draws the change-rate curve on the shared time axis.
void RefreshChangeRate(DrawingSurface& picPercentRate, const GraphInput& in, GraphState& graphs);

// The text for the pointer at x (twips across picPercentRate): "HH:mm   " and the rate of
// the entry after the first one within SepMinutes of that time, the time alone when no
// entry is that close, or empty (left of the origin, in the future, no following entry).
std::string RateReadout(const GraphInput& in, const GraphState& graphs, double x);

} // namespace amperlog
