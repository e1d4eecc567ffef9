// Speed of the graph drawings on the recording surface: a usual day of some 300 lines and a
// day logged once a second. Each drawing reloads the log, as a refresh does.
#include "datalog/log_format.h"
#include "helpers/civil_time.h"
#include "platform/fake/fake_screen_metrics.h"
#include "recording_surface.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"
#include "window/window_model.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace amperlog {
namespace {

// A program folder with a day's log of `lines` lines spread over the day, discharging and
// charging in turns, and the remaining-time line switched on.
class GraphDay {
public:
    explicit GraphDay(int lines) {
        const CivilTime midnight = *CivilTime::FromParts(2026, 12, 6);
        m_settings = std::make_unique<SettingsStore>(m_folder / "amperlog.ini", &m_screen);
        m_settings->WriteWorkSetting("Remain", "1");
        m_state.DataFolder = m_folder / "Data";
        std::filesystem::create_directory(m_state.DataFolder);
        m_state.LayoutUnit = 15;
        m_state.GraphScale = 1.0f;
        m_window.lblTargetName = FormatFileDate(midnight) + ".txt";
        m_now = midnight.AddSeconds(86'399);

        std::string bytes;
        const int step = 86'400 / lines;
        for (int i = 0; i < lines; ++i) {
            const int phase = (i * 8 / lines) % 2; // four discharges, four charges
            const int percent = phase == 0 ? 100 - (i * 100 / lines) % 60 : 40 + (i * 7) % 60;
            bytes += FormatLogStamp(midnight.AddSeconds(static_cast<std::int64_t>(i) * step));
            bytes += phase == 0 ? ",Batt," : ",Power,";
            bytes += std::to_string(percent) + "%,";
            bytes += phase == 0 ? std::to_string(3600 + percent * 60) : "Charge";
            bytes += i % 5 == 0 ? ",+\r\n" : ",\r\n";
        }
        test::WriteFileBytes(m_state.DataFolder / m_window.lblTargetName, bytes);
    }

    GraphContext Context() {
        return {m_state, m_window, *m_settings, m_graphs, m_screen, m_monitor, m_rate, m_now};
    }

private:
    test::TempFolder m_folder;
    FakeScreenMetrics m_screen;
    std::unique_ptr<SettingsStore> m_settings;
    MonitorState m_state;
    MainWindowModel m_window;
    GraphState m_graphs;
    test::RecordingSurface m_monitor{24000, 2112, 15};
    test::RecordingSurface m_rate{24000, 1200, 15};
    CivilTime m_now;
};

void BM_BarGraph(benchmark::State& bench) {
    GraphDay day(static_cast<int>(bench.range(0)));
    GraphContext ctx = day.Context();
    for (auto _ : bench) {
        DrawBarGraph(ctx);
        benchmark::DoNotOptimize(ctx.graphs.BarSlots.data());
    }
}
BENCHMARK(BM_BarGraph)->Arg(300)->Arg(86'400)->Unit(benchmark::kMillisecond);

void BM_TimelineGraph(benchmark::State& bench) {
    GraphDay day(static_cast<int>(bench.range(0)));
    GraphContext ctx = day.Context();
    for (auto _ : bench) {
        DrawTimelineGraph(ctx);
        benchmark::DoNotOptimize(ctx.graphs.GraphLeft);
    }
}
BENCHMARK(BM_TimelineGraph)->Arg(300)->Arg(86'400)->Unit(benchmark::kMillisecond);

// Runs every second: the samples are loaded once, as the tick finds them.
void BM_RefreshChangeRate(benchmark::State& bench) {
    GraphDay day(static_cast<int>(bench.range(0)));
    GraphContext ctx = day.Context();
    LoadDaySamples(ctx.state, ctx.window, ctx.now);
    SetGraphTimes(ctx.state);
    for (auto _ : bench) {
        RefreshChangeRate(ctx);
        benchmark::DoNotOptimize(ctx.graphs.RateSamples.data());
    }
}
BENCHMARK(BM_RefreshChangeRate)->Arg(300)->Arg(86'400)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace amperlog
