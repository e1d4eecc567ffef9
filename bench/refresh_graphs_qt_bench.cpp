// RefreshGraphs on the QPainter surfaces of the window, picMonitor as wide as a whole day at
// one pixel a minute (1440 pixels), on the offscreen platform.
#include "platform/qt/qt_picture_surface.h"
#include "qt_bench_application.h"
#include "refresh_day.h"

#include <benchmark/benchmark.h>

namespace amperlog::bench {
namespace {

void BM_RefreshGraphsQPainter(benchmark::State& bench) {
    EnsureQtApplication();
    QtPictureSurface monitor(nullptr, 15);
    monitor.resize(1440, 320);
    QtPictureSurface rate(nullptr, 15);
    rate.resize(1440, 212);
    RefreshDay day(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)), monitor,
                   rate);
    for (auto _ : bench) {
        MarkChanged(bench, monitor);
        MarkChanged(bench, rate);
        day.Refresh();
        // Ends the painting, as showing the picture would.
        benchmark::DoNotOptimize(monitor.Picture().constBits());
    }
}
// Lines of the day, graph mode (0 bars, 1 timeline).
BENCHMARK(BM_RefreshGraphsQPainter)
    ->Args({300, 0})
    ->Args({300, 1})
    ->Args({86'400, 0})
    ->Args({86'400, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace amperlog::bench
