// What the resident program does once a second or once a change, on the recording surface,
// and the floors under it: the same bytes read with nothing done to them.
#include "recording_surface.h"
#include "resident_day.h"
#include "settings/settings_store.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"
#include "window/window_model.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>

namespace amperlog::bench {
namespace {

// The window's pictures at 15 twips a pixel: picMonitor and picPercentRate a day wide at one
// pixel a minute, the gauge 32 pixels square.
struct RecordedWindow {
    test::RecordingSurface monitor{1440 * 15, 320 * 15, 15};
    test::RecordingSurface rate{1440 * 15, 212 * 15, 15};
    test::RecordingSurface battery{32 * 15, 32 * 15, 15};
};

// A tick whose sample differs from the stored one: a line logged, "LogTime" and the changed
// keys replaced on disk, the graphs of a 300-line day redrawn from a fresh load.
void BM_TickLogsAndRefreshes(benchmark::State& bench) {
    RecordedWindow window;
    ResidentDay day(300, static_cast<int>(bench.range(0)), window.monitor, window.rate,
                    window.battery);
    for (auto _ : bench) {
        bench.PauseTiming();
        day.PrepareChangingTick();
        bench.ResumeTiming();
        day.Tick();
    }
    benchmark::DoNotOptimize(window.monitor.Ops().data());
}
// Graph mode (0 bars, 1 timeline).
BENCHMARK(BM_TickLogsAndRefreshes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The tick of a quiet second with its panel and change-rate curve, as the window runs it.
void BM_TickUnchangedWithPanel(benchmark::State& bench) {
    RecordedWindow window;
    ResidentDay day(static_cast<int>(bench.range(0)), 0, window.monitor, window.rate,
                    window.battery);
    day.Tick();
    for (auto _ : bench) {
        day.Rewind();
        day.Tick();
    }
    benchmark::DoNotOptimize(window.rate.Ops().data());
}
BENCHMARK(BM_TickUnchangedWithPanel)->Arg(300)->Arg(86'400)->Unit(benchmark::kMicrosecond);

// Reading a day's log into the sample table, without any drawing.
void BM_LoadDaySamples(benchmark::State& bench) {
    RecordedWindow window;
    ResidentDay day(static_cast<int>(bench.range(0)), 0, window.monitor, window.rate,
                    window.battery);
    MonitorState state = day.State();
    MainWindowModel model;
    model.lblTargetName = state.TodayFileName;
    const CivilTime now = *CivilTime::FromParts(2026, 12, 7, 23, 59, 0);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(LoadDaySamples(state, model, now));
    }
}
BENCHMARK(BM_LoadDaySamples)->Arg(300)->Arg(86'400)->Unit(benchmark::kMicrosecond);

// The floor under the load: the same file read whole into memory and nothing else.
void BM_FloorReadLogFile(benchmark::State& bench) {
    RecordedWindow window;
    ResidentDay day(static_cast<int>(bench.range(0)), 0, window.monitor, window.rate,
                    window.battery);
    const std::filesystem::path path = day.State().DataFolder / day.State().TodayFileName;
    std::string bytes;
    for (auto _ : bench) {
        std::ifstream in(path, std::ios::binary);
        bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_FloorReadLogFile)->Arg(300)->Arg(86'400)->Unit(benchmark::kMicrosecond);

// The settings store one access at a time: a read of a file nobody changed, a write of the
// stored value (must not touch the disk), a write of a new one (an atomic replace).
class SettingsFile {
public:
    SettingsFile() : m_settings(m_folder / "amperlog.ini", nullptr) {
        for (const char* key : {"BattPercent", "RemainTime", "ACStatus", "BattStatus", "LifeTime",
                                "LogTime", "SEP", "Band", "GraphMode", "Starting"}) {
            m_settings.WriteWorkSetting(key, "0");
        }
        m_settings.WriteWorkSetting("BattPercent", "85%");
    }
    SettingsStore& Store() { return m_settings; }

private:
    test::TempFolder m_folder;
    SettingsStore m_settings;
};

void BM_SettingsRead(benchmark::State& bench) {
    SettingsFile file;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(file.Store().ReadWorkSetting("BattPercent"));
    }
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMicrosecond);

void BM_SettingsWriteUnchanged(benchmark::State& bench) {
    SettingsFile file;
    for (auto _ : bench) {
        file.Store().WriteWorkSetting("BattPercent", "85%");
    }
}
BENCHMARK(BM_SettingsWriteUnchanged)->Unit(benchmark::kMicrosecond);

void BM_SettingsWriteChanged(benchmark::State& bench) {
    SettingsFile file;
    bool flip = false;
    for (auto _ : bench) {
        flip = !flip;
        file.Store().WriteWorkSetting("BattPercent", flip ? "84%" : "85%");
    }
}
BENCHMARK(BM_SettingsWriteChanged)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace amperlog::bench
