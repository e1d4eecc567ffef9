#pragma once

#include "platform/qt/qt_picture_surface.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace amperlog::bench {

// The one QApplication of the benchmark binary, on the offscreen platform unless the caller
// chose another; every Qt benchmark calls this before it makes a widget.
inline void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "amperlog_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static const QApplication app(argc, argv);
}

// A picture is painted only when its drawing differs from what it holds. Called outside the
// timing, this marks the picture so that the next refresh is painted in full, as it is when
// a new log line changes the graph.
inline void MarkChanged(benchmark::State& bench, QtPictureSurface& surface) {
    bench.PauseTiming();
    surface.Point({0, 0}, Rgb{1, 2, 3});
    benchmark::DoNotOptimize(surface.Picture().constBits());
    bench.ResumeTiming();
}

} // namespace amperlog::bench
