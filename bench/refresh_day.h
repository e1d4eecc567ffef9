#pragma once

// A day's log in a temporary program folder and the main window's graph logic over two
// drawing surfaces, for the RefreshGraphs benchmarks; and the window's side of a tick.
#include "datalog/daily_log.h"
#include "fake_services.h"
#include "helpers/civil_time.h"
#include "platform/drawing_surface.h"
#include "program/program.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"
#include "window/main_window_views.h"
#include "window/status_panel.h"

#include <memory>
#include <string>

namespace amperlog::bench {

// The window's side of a tick over any surfaces, as the Qt window runs it: the graphs, the
// change-rate curve and, when given a gauge picture, the status panel.
class GraphViews final : public MainWindowViews {
public:
    GraphViews(Program& program, DrawingSurface& monitor, DrawingSurface& rate,
               DrawingSurface* battery = nullptr)
        : m_state(program.State()), m_model(program.Model()), m_settings(program.Settings()),
          m_screen(*program.Platform().screen), m_clock(*program.Platform().clock),
          m_actions(program.Actions()), m_monitor(monitor), m_rate(rate), m_battery(battery) {}

    void DispPanel() override {
        if (m_battery != nullptr) {
            amperlog::DispPanel(m_state, m_model, m_settings, *m_battery, m_clock.Now());
        }
    }
    void RefreshGraphs() override { m_actions.RefreshGraphs(); }
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
    bool AddTrayIcon(const std::string& /*tip*/) override { return false; }
    void PlaceControls() override {}
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
    MainWindowActions& m_actions;
    DrawingSurface& m_monitor;
    DrawingSurface& m_rate;
    DrawingSurface* m_battery;
    GraphState m_graphs;
};

// A program folder whose today's log has `lines` lines spread over the day, and the window
// logic that refreshes its graphs on the given surfaces.
class RefreshDay {
public:
    RefreshDay(int lines, int graphMode, DrawingSurface& monitor, DrawingSurface& rate)
        : m_fakes(m_folder.Path(), *CivilTime::FromParts(2026, 12, 7, 23, 59, 59)),
          m_program(m_fakes.services, m_folder.Path(), "amperlog"),
          m_views(m_program, monitor, rate) {
        m_program.AttachViews(&m_views);
        m_settings.WriteWorkSetting("Remain", "1");
        m_settings.WriteWorkSetting("GraphMode", std::to_string(graphMode));
        m_state.DataFolder = m_folder / "Data";
        std::filesystem::create_directory(m_state.DataFolder);
        m_state.LayoutUnit = 15;
        m_state.GraphScale = 1.0F;
        m_model.lblTargetName = LogFileName(m_fakes.clock.Now());

        const CivilTime midnight = m_fakes.clock.Now().Date();
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

    void Refresh() { m_program.Actions().RefreshGraphs(); }

private:
    test::TempFolder m_folder;
    test::FakeServices m_fakes;
    Program m_program;
    SettingsStore& m_settings = m_program.Settings();
    MonitorState& m_state = m_program.State();
    MainWindowModel& m_model = m_program.Model();
    GraphViews m_views;
};

} // namespace amperlog::bench
