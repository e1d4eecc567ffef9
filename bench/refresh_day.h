#pragma once

// A day's log in a temporary program folder and the main window's graph logic over two
// drawing surfaces, for the RefreshGraphs benchmarks; and the window's side of a tick.
#include "datalog/daily_log.h"
#include "graphs/bar_graph.h"
#include "graphs/change_rate_graph.h"
#include "graphs/graph_context.h"
#include "graphs/timeline_graph.h"
#include "helpers/civil_time.h"
#include "monitor/monitor.h"
#include "platform/drawing_surface.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_screen_metrics.h"
#include "platform/fake/scripted_power_source.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"
#include "window/main_window_actions.h"
#include "window/main_window_views.h"
#include "window/status_panel.h"
#include "window/window_model.h"

#include <memory>
#include <string>

namespace amperlog::bench {

// The window's side of a tick over any surfaces, as the Qt window runs it: the graphs, the
// change-rate curve and, when given a gauge picture, the status panel.
class GraphViews final : public MainWindowViews {
public:
    GraphViews(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
               const ScreenMetrics& screen, const Clock& clock, DrawingSurface& monitor,
               DrawingSurface& rate, DrawingSurface* battery = nullptr)
        : m_state(state), m_model(model), m_settings(settings), m_screen(screen), m_clock(clock),
          m_monitor(monitor), m_rate(rate), m_battery(battery) {}

    void SetActions(MainWindowActions* actions) { m_actions = actions; }

    void DispPanel() override {
        if (m_battery != nullptr) {
            amperlog::DispPanel(m_state, m_model, m_settings, *m_battery, m_clock.Now());
        }
    }
    void RefreshGraphs() override { m_actions->RefreshGraphs(); }
    void RefreshChangeRate() override {
        GraphContext ctx = Context();
        amperlog::RefreshChangeRate(ctx);
    }
    void DrawBarGraph() override {
        GraphContext ctx = Context();
        amperlog::DrawBarGraph(ctx);
    }
    void DrawTimelineGraph() override {
        GraphContext ctx = Context();
        amperlog::DrawTimelineGraph(ctx);
    }
    std::string TimelineReadout(double /*x*/) override { return {}; }
    std::string RateReadout(double /*x*/) override { return {}; }
    void OpenInEditor(const std::filesystem::path& /*path*/) override {}
    void AddTrayIcon(const std::string& /*tip*/) override {}
    void RemoveTrayIcon() override {}
    void Render() override {}
    void PopupFileMenu() override {}
    void PopupTrayMenu() override {}
    void CloseWindow() override {}
    void StartWindowDrag() override {}

private:
    GraphContext Context() {
        return {m_state, m_model, m_settings, m_graphs, m_screen, m_monitor, m_rate, m_clock.Now()};
    }

    MonitorState& m_state;
    MainWindowModel& m_model;
    SettingsStore& m_settings;
    const ScreenMetrics& m_screen;
    const Clock& m_clock;
    DrawingSurface& m_monitor;
    DrawingSurface& m_rate;
    DrawingSurface* m_battery;
    GraphState m_graphs;
    MainWindowActions* m_actions = nullptr;
};

// A program folder whose today's log has `lines` lines spread over the day, and the window
// logic that refreshes its graphs on the given surfaces.
class RefreshDay {
public:
    RefreshDay(int lines, int graphMode, DrawingSurface& monitor, DrawingSurface& rate)
        : m_clock(*CivilTime::FromParts(2026, 12, 7, 23, 59, 59)),
          m_settings(m_folder / "amperlog.ini", &m_screen),
          m_monitorLogic(m_state, m_model, m_settings, m_power, m_clock, m_views, m_folder.Path()),
          m_views(m_state, m_model, m_settings, m_screen, m_clock, monitor, rate),
          m_actions(m_state, m_model, m_settings, m_clock, m_counter, m_screen, m_views,
                    m_folder.Path(), "amperlog") {
        m_views.SetActions(&m_actions);
        m_settings.WriteWorkSetting("Remain", "1");
        m_settings.WriteWorkSetting("GraphMode", std::to_string(graphMode));
        m_state.DataFolder = m_folder / "Data";
        std::filesystem::create_directory(m_state.DataFolder);
        m_state.LayoutUnit = 15;
        m_state.GraphScale = 1.0F;
        m_model.lblTargetName = LogFileName(m_clock.Now());

        const CivilTime midnight = m_clock.Now().Date();
        std::string bytes;
        const int step = 86'400 / lines;
        for (int i = 0; i < lines; ++i) {
            const bool discharging = (i * 8 / lines) % 2 == 0;
            const int percent = discharging ? 100 - (i * 100 / lines) % 60 : 40 + (i * 7) % 60;
            const CivilTime t = midnight.AddSeconds(static_cast<std::int64_t>(i) * step);
            m_state.PowerText = discharging ? "Batt" : "Power";
            m_state.PercentText = std::to_string(percent) + "%";
            m_state.RemainText = discharging ? std::to_string(3600 + percent * 60) : "Charge";
            bytes += FormatLogLine(t, m_state, i % 5 == 0 ? "+" : "") + "\r\n";
        }
        test::WriteFileBytes(m_state.DataFolder / m_model.lblTargetName, bytes);
    }

    void Refresh() { m_actions.RefreshGraphs(); }

private:
    test::TempFolder m_folder;
    FakeClock m_clock;
    FakeMillisecondCounter m_counter;
    FakeScreenMetrics m_screen;
    ScriptedPowerSource m_power;
    SettingsStore m_settings;
    MonitorState m_state;
    MainWindowModel m_model;
    Monitor m_monitorLogic;
    GraphViews m_views;
    MainWindowActions m_actions;
};

} // namespace amperlog::bench
