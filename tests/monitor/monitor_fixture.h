#pragma once

#include "datalog/daily_log.h"
#include "monitor/monitor.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/scripted_power_source.h"
#include "settings/settings_store.h"
#include "temp_folder.h"
#include "window/monitor_views.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace amperlog::test {

CivilTime At(int y, int mo, int d, int h, int mi, int s) {
    return *CivilTime::FromParts(y, mo, d, h, mi, s);
}

constexpr PowerStatus kOnBattery{0, 1, 85, 3600, 10800};
constexpr PowerStatus kNoBattery{1, 128, 255, -1, -1};

struct RecordingViews final : MonitorViews {
    void DispPanel() override { ++panels; }
    void RefreshChangeRate() override { ++rates; }
    void RefreshGraphs() override { ++graphs; }
    void SpeakText(const std::string& text) override { spoken.push_back(text); }
    int panels = 0;
    int rates = 0;
    int graphs = 0;
    std::vector<std::string> spoken;
};

inline std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(test::ReadFileBytes(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

inline std::string Marker(const std::string& line) {
    return line.substr(line.rfind(',') + 1);
}

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest()
        : clock(At(2026, 12, 6, 9, 0, 0)), settings(folder / "amperlog.ini", nullptr),
          monitor(state, model, settings, power, clock, views, folder.Path()) {
        power.Set(kOnBattery);
    }
    std::filesystem::path LogOf(CivilTime t) const { return folder / "Data" / LogFileName(t); }
    void TickFor(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.Advance(1);
            monitor.Tick();
        }
    }

    test::TempFolder folder;
    FakeClock clock;
    ScriptedPowerSource power;
    SettingsStore settings;
    MonitorState state;
    MainWindowModel model;
    RecordingViews views;
    Monitor monitor;
};

} // namespace amperlog::test
