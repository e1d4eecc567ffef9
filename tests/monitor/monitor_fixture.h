#pragma once

#include "datalog/daily_log.h"
#include "fake_services.h"
#include "program/program.h"
#include "recording_views.h"
#include "temp_folder.h"

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
    MonitorTest() {
        program.AttachViews(&views);
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
    test::FakeServices fakes{folder.Path(), At(2026, 12, 6, 9, 0, 0)};
    FakeClock& clock = fakes.clock;
    ScriptedPowerSource& power = fakes.power;
    RecordingViews views;
    Program program{fakes.services, folder.Path(), "amperlog"};
    SettingsStore& settings = program.Settings();
    MonitorState& state = program.State();
    MainWindowModel& model = program.Model();
    Monitor& monitor = program.Monitor();
};

} // namespace amperlog::test
