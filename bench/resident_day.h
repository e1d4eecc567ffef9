#pragma once

// The resident program's once-a-second work without its window system: the monitor and the
// main window's logic over a program folder whose today's log holds a day of lines up to the
// present, drawing on whichever surfaces the benchmark gives (recording or QPainter).
#include "datalog/daily_log.h"
#include "fake_services.h"
#include "helpers/civil_time.h"
#include "platform/drawing_surface.h"
#include "program/program.h"
#include "refresh_day.h"
#include "temp_folder.h"

#include <cstdint>
#include <string>

namespace amperlog::bench {

// A program folder at 23:59 whose today's log holds `lines` lines spread evenly over the
// day, on a discharging battery, after start-up and a first refresh of the graphs.
class ResidentDay {
public:
    static constexpr PowerStatus kSteady{0, 0, 62, 8000, 15000};

    ResidentDay(int lines, int graphMode, DrawingSurface& monitor, DrawingSurface& rate,
                DrawingSurface& battery)
        : m_start(*CivilTime::FromParts(2026, 12, 7, 23, 59, 0)), m_fakes(m_folder.Path(), m_start),
          m_program(m_fakes.services, m_folder.Path(), "amperlog"),
          m_views(m_program, monitor, rate, &battery) {
        m_program.AttachViews(&m_views);
        m_settings.WriteWorkSetting("GraphMode", std::to_string(graphMode));
        m_settings.WriteWorkSetting("Remain", "1");
        m_state.LayoutUnit = 15;
        m_power.Set(kSteady);
        m_monitor.Startup();

        MonitorState line;
        const CivilTime midnight = m_start.Date();
        const std::int64_t span = SecondsBetween(midnight, m_start);
        for (int i = 0; i < lines; ++i) {
            const bool discharging = (i * 4 / lines) % 2 == 0;
            const int percent = discharging ? 95 - (i * 60 / lines) % 60 : 35 + (i * 7) % 60;
            line.PowerText = discharging ? "Batt" : "Power";
            line.PercentText = std::to_string(percent) + "%";
            line.RemainText = discharging ? std::to_string(3600 + percent * 60) : "Charge";
            m_log +=
                FormatLogLine(midnight.AddSeconds(i * span / lines), line, i % 5 == 0 ? "+" : "");
            m_log += "\r\n";
        }
        RestoreLog();
        m_model.FormReady = true;
        m_actions.RefreshGraphs();
    }

    // The log and the clock as they were after construction.
    void RestoreLog() {
        test::WriteFileBytes(m_state.DataFolder / LogFileName(m_start), m_log);
        Rewind();
    }
    // The clock back to the moment of construction, so that ticks never reach an interval
    // line or the next day.
    void Rewind() { m_clock.SetNow(m_start); }

    // One tick of timMonitorPanel, one second after the last.
    void Tick() {
        m_clock.Advance(1);
        m_monitor.Tick();
    }

    // The log as it was after construction and a status other than the last tick's, so that
    // the next tick logs a line and refreshes the graphs.
    void PrepareChangingTick() {
        RestoreLog();
        m_changing.batteryLifeTime = m_changing.batteryLifeTime == 8000 ? 7940 : 8000;
        m_power.Set(m_changing);
    }
    void RefreshGraphs() { m_actions.RefreshGraphs(); }
    void RefreshChangeRate() { m_views.RefreshChangeRate(); }
    void DispPanel() { m_views.DispPanel(); }
    const MonitorState& State() const { return m_state; }

private:
    test::TempFolder m_folder;
    CivilTime m_start;
    test::FakeServices m_fakes;
    FakeClock& m_clock = m_fakes.clock;
    ScriptedPowerSource& m_power = m_fakes.power;
    Program m_program;
    SettingsStore& m_settings = m_program.Settings();
    MonitorState& m_state = m_program.State();
    MainWindowModel& m_model = m_program.Model();
    Monitor& m_monitor = m_program.Monitor();
    MainWindowActions& m_actions = m_program.Actions();
    GraphViews m_views;
    std::string m_log;
    PowerStatus m_changing = kSteady;
};

} // namespace amperlog::bench
