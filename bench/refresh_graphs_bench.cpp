// Speed of RefreshGraphs as the main window runs it: "GraphMode" read, the main graph and the
// change-rate curve drawn from a fresh load of the log, "Starting" written.
#include "recording_surface.h"
#include "refresh_day.h"

#include <benchmark/benchmark.h>

namespace amperlog::bench {
namespace {

void BM_RefreshGraphsRecorded(benchmark::State& bench) {
    test::RecordingSurface monitor(24000, 2400, 15);
    test::RecordingSurface rate(24000, 1590, 15);
    RefreshDay day(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)), monitor,
                   rate);
    for (auto _ : bench) {
        day.Refresh();
        benchmark::DoNotOptimize(monitor.Ops().data());
    }
}
// Lines of the day, graph mode (0 bars, 1 timeline).
BENCHMARK(BM_RefreshGraphsRecorded)
    ->Args({300, 0})
    ->Args({300, 1})
    ->Args({86'400, 0})
    ->Args({86'400, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace amperlog::bench
