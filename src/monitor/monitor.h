#pragma once

#include "alerts/alert_ladder.h"
#include "sleep/sleep_watch.h"
#include "state/monitor_state.h"
#include "window/window_model.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace amperlog {

class BatteryHealthSource;
class Clock;
class DesktopNotifier;
class MonitorViews;
class PowerSource;
class SettingsStore;

// Start-up, the once-a-second monitor tick and its bookkeeping, over the shared state.
class Monitor {
public:
    Monitor(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
            PowerSource& power, const Clock& clock, MonitorViews& views,
            std::filesystem::path programFolder, DesktopNotifier* notifier = nullptr);

    // The logic part of start-up: MonitorDay, the data folder, LoadConfig and the first line
    // of the day. Single-copy check, placement and showing the window are the window's.
    void Startup();
    void LoadConfig();
    void WriteStartupLine();

    // From now on each tick looks for a sleep and writes it to the sleep diary; energy may be
    // null.
    void WatchSleeps(const SleepClocks& clocks, BatteryHealthSource* energy);

    void Tick();
    // Whole seconds since the last line, 0 to a whole day.
    std::int32_t SecondsSinceLastLine();
    void UpdateElapsedCounter();

    const std::filesystem::path& ProgramFolder() const { return m_programFolder; }

private:
    std::string TodayFileName() const;
    // Warns of a low, critical or charged battery; status is nullopt when the query failed.
    void CheckAlerts(const std::optional<PowerStatus>& status, CivilTime now);

    MonitorState& m_state;
    MainWindowModel& m_model;
    SettingsStore& m_settings;
    PowerSource& m_power;
    const Clock& m_clock;
    MonitorViews& m_views;
    std::filesystem::path m_programFolder;
    DesktopNotifier* m_notifier;
    AlertLadder m_alerts;
    std::optional<SleepWatch> m_sleeps;
    // The last notification was critical and has not been withdrawn.
    bool m_criticalShown = false;
};

} // namespace amperlog
