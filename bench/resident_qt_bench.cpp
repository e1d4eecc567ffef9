// The once-a-second drawing of the resident program on the window's QPainter pictures:
// picPercentRate a day wide at one pixel a minute and the battery gauge.
#include "platform/qt/qt_picture_surface.h"
#include "qt_bench_application.h"
#include "resident_day.h"

#include <benchmark/benchmark.h>

namespace amperlog::bench {
namespace {

struct PaintedWindow {
    PaintedWindow() {
        monitor.resize(1440, 320);
        rate.resize(1440, 212);
        battery.resize(32, 32);
    }
    QtPictureSurface monitor{nullptr, 15};
    QtPictureSurface rate{nullptr, 15};
    QtPictureSurface battery{nullptr, 15};
};

// The change-rate curve redrawn from the loaded samples, as every tick does: painted again
// (second argument 1), or found the same as the picture already shown (0, most ticks).
void BM_RefreshChangeRateQPainter(benchmark::State& bench) {
    EnsureQtApplication();
    PaintedWindow window;
    ResidentDay day(static_cast<int>(bench.range(0)), 0, window.monitor, window.rate,
                    window.battery);
    const bool changed = bench.range(1) == 1;
    for (auto _ : bench) {
        if (changed) {
            MarkChanged(bench, window.rate);
        }
        day.RefreshChangeRate();
        // Ends the painting, as showing the picture would.
        benchmark::DoNotOptimize(window.rate.Picture().constBits());
    }
}
BENCHMARK(BM_RefreshChangeRateQPainter)
    ->Args({300, 0})
    ->Args({300, 1})
    ->Args({86'400, 0})
    ->Args({86'400, 1})
    ->Unit(benchmark::kMicrosecond);

// A quiet tick: sample, settings, status panel with its gauge, change-rate curve.
void BM_TickUnchangedQPainter(benchmark::State& bench) {
    EnsureQtApplication();
    PaintedWindow window;
    ResidentDay day(static_cast<int>(bench.range(0)), 0, window.monitor, window.rate,
                    window.battery);
    for (auto _ : bench) {
        day.Rewind();
        day.Tick();
        benchmark::DoNotOptimize(window.rate.Picture().constBits());
        benchmark::DoNotOptimize(window.battery.Picture().constBits());
    }
}
BENCHMARK(BM_TickUnchangedQPainter)->Arg(300)->Arg(86'400)->Unit(benchmark::kMicrosecond);

// A tick that logs a line and redraws a 300-line day's graphs on the pictures.
void BM_TickLogsAndRefreshesQPainter(benchmark::State& bench) {
    EnsureQtApplication();
    PaintedWindow window;
    ResidentDay day(300, static_cast<int>(bench.range(0)), window.monitor, window.rate,
                    window.battery);
    for (auto _ : bench) {
        MarkChanged(bench, window.monitor);
        MarkChanged(bench, window.rate);
        bench.PauseTiming();
        day.PrepareChangingTick();
        bench.ResumeTiming();
        day.Tick();
        benchmark::DoNotOptimize(window.monitor.Picture().constBits());
        benchmark::DoNotOptimize(window.rate.Picture().constBits());
    }
}
// Graph mode (0 bars, 1 timeline).
BENCHMARK(BM_TickLogsAndRefreshesQPainter)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace amperlog::bench
