#pragma once

#include "monitor/monitor.h"
#include "program/forwarding_views.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "window/main_window_actions.h"
#include "window/window_model.h"

#include <filesystem>
#include <string>

namespace amperlog {

struct Services;

// One run's logic, built once from the platform services: the settings store of
// "<exe name>.ini" in the program folder, the shared state, the window model, the monitor and
// the main window's handlers. The program, its tests and the benchmarks all start here; the
// window (or a test's recording) attaches as the views once it exists.
class Program {
public:
    // The services must outlive the program; clock, power, counter and screen must be set.
    Program(Services& services, std::filesystem::path programFolder, std::string exeName);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // What the monitor and the handlers ask of the window from now on; nullptr for nothing.
    void AttachViews(MainWindowViews* views) { m_views.Attach(views); }

    Services& Platform() { return m_services; }
    SettingsStore& Settings() { return m_settings; }
    MonitorState& State() { return m_state; }
    MainWindowModel& Model() { return m_model; }
    amperlog::Monitor& Monitor() { return m_monitor; }
    MainWindowActions& Actions() { return m_actions; }
    const std::filesystem::path& ProgramFolder() const { return m_programFolder; }
    const std::string& ExeName() const { return m_exeName; }

private:
    Services& m_services;
    std::filesystem::path m_programFolder;
    std::string m_exeName;
    SettingsStore m_settings;
    MonitorState m_state;
    MainWindowModel m_model;
    ForwardingViews m_views;
    amperlog::Monitor m_monitor;
    MainWindowActions m_actions;
};

} // namespace amperlog
