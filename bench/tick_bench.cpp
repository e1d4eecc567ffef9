// The once-a-second work of the monitor: one tick with the status unchanged (the common
// case: settings reads, five unchanged writes that must not touch the disk) and one that
// changes (a log line appended and synced, and "LogTime" written); and the log line alone.
#include "datalog/daily_log.h"
#include "fake_services.h"
#include "program/program.h"
#include "temp_folder.h"

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace amperlog {
namespace {

struct TickFixture {
    // No views: the monitor runs without a window.
    TickFixture() {
        power.Set({0, 1, 85, 3600, 10800});
        settings.WriteWorkSetting("SEP", "1440");
        monitor.Startup();
        clock.Advance(1);
        monitor.Tick();
    }
    test::TempFolder folder;
    test::FakeServices fakes{folder.Path(), *CivilTime::FromParts(2026, 12, 6, 9, 0, 0)};
    FakeClock& clock = fakes.clock;
    ScriptedPowerSource& power = fakes.power;
    Program program{fakes.services, folder.Path(), "amperlog"};
    SettingsStore& settings = program.Settings();
    Monitor& monitor = program.Monitor();
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

constexpr const char* kLogLine = "12/06 09:00:00,Batt,85%,3600,\r\n";

// One log line as the monitor appends it: the torn-line check, one write and its sync. The
// temporary folder must be on a disk, not in memory, for the sync to mean anything.
void BM_LogLineSynced(benchmark::State& s) {
    test::TempFolder folder;
    const auto path = folder / "20261206.txt";
    for (auto _ : s) {
        benchmark::DoNotOptimize(AppendWholeLine(path, kLogLine));
    }
}
BENCHMARK(BM_LogLineSynced)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The floor without the sync: the same line appended by a stream, left to the page cache.
void BM_FloorLogLineUnsynced(benchmark::State& s) {
    test::TempFolder folder;
    const auto path = folder / "20261206.txt";
    const std::string line = kLogLine;
    for (auto _ : s) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}
BENCHMARK(BM_FloorLogLineUnsynced)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace amperlog
