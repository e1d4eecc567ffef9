#pragma once

#include "graphs/graph_context.h"

#include <cstddef>
#include <string>
#include <vector>

namespace amperlog {

struct DaySample;

// The rate, in percent an hour, from sample i to sample i + band; 0 when both share a time
// or the rate lies beyond ±120 (exactly ±120 is kept).
float RateAt(const std::vector<DaySample>& samples, std::size_t i, int band);

// Clears picPercentRate, draws the zero line and, from two loaded samples on, rebuilds
// RateSamples (RateBand from "Band", default 3) and draws the change-rate curve on the
// shared time axis. Uses LayoutUnit as the layout left it and the GraphStartHour of the last
// main graph.
void RefreshChangeRate(GraphContext& ctx);

// The curve of the rates in RateSamples with its highest and lowest value printed.
void DrawRateCurve(GraphContext& ctx);

// The text for the pointer at x (twips across picPercentRate): "HH:mm   " and the rate of
// the entry after the first one within SepMinutes of that time, the time alone when no
// entry is that close, or empty (left of the origin, in the future, no following entry).
std::string RateReadout(const GraphContext& ctx, double x);

} // namespace amperlog
