// The once-a-second work of the monitor: one tick with the status unchanged (the common
// case: settings reads, five unchanged writes that must not touch the disk) and one that
// changes (a log line appended and "LogTime" written).
#include "monitor/monitor.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/scripted_power_source.h"
#include "settings/settings_store.h"
#include "temp_folder.h"
#include "window/monitor_views.h"

#include <benchmark/benchmark.h>

namespace amperlog {
namespace {

struct TickFixture {
    TickFixture()
        : clock(*CivilTime::FromParts(2026, 12, 6, 9, 0, 0)),
          settings(folder / "amperlog.ini", nullptr),
          monitor(state, model, settings, power, clock, views, folder.Path()) {
        power.Set({0, 1, 85, 3600, 10800});
        settings.WriteWorkSetting("SEP", "1440");
        monitor.Startup();
        clock.Advance(1);
        monitor.Tick();
    }
    test::TempFolder folder;
    FakeClock clock;
    ScriptedPowerSource power;
    SettingsStore settings;
    MonitorState state;
    MainWindowModel model;
    MonitorViews views;
    Monitor monitor;
};

void BM_TickUnchanged(benchmark::State& s) {
    TickFixture f;
    // Let the settings cache see a file older than its own read.
    f.clock.Advance(1);
    for (auto _ : s) {
        f.clock.Advance(1);
        f.monitor.Tick();
    }
}
BENCHMARK(BM_TickUnchanged)->Unit(benchmark::kMicrosecond);

void BM_TickChanging(benchmark::State& s) {
    TickFixture f;
    std::int32_t remain = 3600;
    for (auto _ : s) {
        f.power.Set({0, 1, 85, --remain, 10800});
        f.clock.Advance(1);
        f.monitor.Tick();
        if (remain < 100) {
            remain = 3600;
        }
    }
}
BENCHMARK(BM_TickChanging)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace amperlog
