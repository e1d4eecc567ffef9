#pragma once

#include "counting_surface.h"
#include "graphs/graph_context.h"
#include "monitor/monitor.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_screen_metrics.h"
#include "platform/fake/scripted_power_source.h"
#include "recording_surface.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "window/monitor_views.h"
#include "window/window_model.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace amperlog::test {

// What the main window does for the monitor: the graph refresh draws the bar or the
// timeline graph as "GraphMode" says and the change-rate curve on recording surfaces, the
// tick's change-rate curve and gauge are counted. The recordings are dropped after each call
// so that a long run keeps only counts.
class RecordingViews final : public MonitorViews {
public:
    RecordingViews(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                   const Clock& clock);

    void DispPanel() override;
    void RefreshChangeRate() override;
    void RefreshGraphs() override;
    void SpeakText(const std::string& text) override;

    std::size_t graphRefreshes = 0;
    std::size_t panelRefreshes = 0;
    // Drawing operations of the last graph refresh.
    std::size_t lastGraphOps = 0;
    // Operations drawn by the ticks' change-rate curves and gauges.
    std::size_t TickOps() const {
        return m_tickPercentRate.Operations() + m_picBattery.Operations();
    }
    std::map<std::string, std::size_t> spoken;
    GraphState graphs;

private:
    GraphContext Context(DrawingSurface& picPercentRate);

    MonitorState& m_state;
    MainWindowModel& m_model;
    SettingsStore& m_settings;
    const Clock& m_clock;
    FakeScreenMetrics m_screen;
    RecordingSurface m_picMonitor{24000, 2112};
    RecordingSurface m_picPercentRate{24000, 1200};
    CountingSurface m_tickPercentRate{24000, 1200};
    CountingSurface m_picBattery{600, 300};
};

// A program folder with the monitor wired as the program wires it, on a fake clock and a
// scripted power source.
struct MonitorRig {
    MonitorRig(const std::filesystem::path& programFolder, CivilTime start);

    std::filesystem::path folder;
    FakeClock clock;
    ScriptedPowerSource power;
    MonitorState state;
    MainWindowModel model;
    SettingsStore settings;
    RecordingViews views;
    Monitor monitor;

    std::filesystem::path SettingsPath() const { return folder / "amperlog.ini"; }
    std::filesystem::path LogPath(CivilTime day) const;
};

// Bytes the process holds from the heap where the sanitizer's allocator counts them, else 0.
std::size_t HeapBytes();

// A battery at percent on mains (ac 1) or not (ac 0), with lifetime seconds left (-1 unknown).
PowerStatus Battery(int ac, int percent, int lifetime);

} // namespace amperlog::test
