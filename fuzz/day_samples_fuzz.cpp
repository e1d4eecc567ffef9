// A hostile daily log and hostile graph settings: loading the day into DaySamples and
// drawing every graph and the status panel from it must neither crash nor hit undefined
// behaviour, and the load keeps its bounds.
#include "datalog/day_file.h"
#include "datalog/log_format.h"
#include "fuzz_support.h"
#include "platform/fake/fake_screen_metrics.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "window/graph_refresh.h"
#include "window/status_panel.h"
#include "window/window_model.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

using amperlog::fuzz::ScratchFolder;

// The file names a graphed log can carry: a valid date (with 29 February), an impossible
// date, and no date at all.
constexpr const char* kFileNames[] = {"20240229.txt", "20231345.txt", "summary.txt"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::string ini = "[Work]\r\n";
    for (const char* key : {"SEP", "Band", "Remain", "Expand", "GraphMode", "Voice"}) {
        ini += key;
        ini += '=';
        ini += input.ConsumeRandomLengthString(24);
        ini += "\r\n";
    }
    const char* fileName = kFileNames[input.ConsumeIntegralInRange<std::size_t>(0, 2)];
    const auto secondOfDay = input.ConsumeIntegralInRange<std::int64_t>(0, 86399);
    const auto dayOffset = input.ConsumeIntegralInRange<int>(-1, 1);
    const std::string log = input.ConsumeRemainingBytesAsString();

    const auto folder = ScratchFolder();
    amperlog::fuzz::WriteBytes(folder / "amperlog.ini", ini);
    amperlog::fuzz::WriteBytes(folder / fileName, log);

    amperlog::SettingsStore settings(folder / "amperlog.ini", nullptr);
    amperlog::MonitorState state;
    state.DataFolder = folder;
    state.LayoutUnit = 15;
    state.GraphScale = 1;
    amperlog::MainWindowModel window;
    window.lblTargetName = fileName;
    const amperlog::CivilTime now =
        amperlog::CivilTime::FromParts(2024, 2, 29)->AddSeconds(dayOffset * 86400 + secondOfDay);

    const std::int32_t count = amperlog::LoadDaySamples(state, window, now);
    AMPERLOG_FUZZ_CHECK(count >= 0);
    AMPERLOG_FUZZ_CHECK(static_cast<std::size_t>(count) <= amperlog::kMaxDaySamples);
    AMPERLOG_FUZZ_CHECK(window.lblLineCount.ends_with("/" + std::to_string(count)));
    if (count > 0) {
        AMPERLOG_FUZZ_CHECK(state.DaySamples->size() == static_cast<std::size_t>(count));
        for (const amperlog::DaySample& sample : *state.DaySamples) {
            AMPERLOG_FUZZ_CHECK(sample.Power.size() <= amperlog::kMaxSampleFieldBytes);
            AMPERLOG_FUZZ_CHECK(sample.Remain.size() <= amperlog::kMaxSampleFieldBytes);
            AMPERLOG_FUZZ_CHECK(sample.Marker.size() <= amperlog::kMaxSampleFieldBytes);
        }
    }

    amperlog::FakeScreenMetrics screen;
    amperlog::GraphState graphs;
    amperlog::test::CountingSurface picMonitor(24000, 2112);
    amperlog::test::CountingSurface picPercentRate(24000, 1200);
    amperlog::test::CountingSurface picBattery(600, 300);
    amperlog::GraphContext ctx{state,  window,     settings,       graphs,
                               screen, picMonitor, picPercentRate, now};
    amperlog::DrawBarGraph(ctx);
    amperlog::RefreshChangeRate(ctx);
    amperlog::DrawTimelineGraph(ctx);
    amperlog::RefreshChangeRate(ctx);
    for (const double x : {-1e9, 0.0, 600.0, 5000.0, 12000.0, 23999.0, 1e12}) {
        static_cast<void>(amperlog::TimelineReadout(ctx, x));
        static_cast<void>(amperlog::RateReadout(ctx, x));
    }
    amperlog::DispPanel(state, window, settings, picBattery, now);
    return 0;
}
