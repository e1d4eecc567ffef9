#pragma once

#include "helpers/civil_time.h"
#include "platform/fake/fake_screen_metrics.h"
#include "recording_surface.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"
#include "window/graph_refresh.h"
#include "window/window_model.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace amperlog::test {

// 6 December 2026 at the given time.
CivilTime At(int hour, int minute, int second = 0);

// A log line as the writer spells it.
std::string LogLine(CivilTime t, std::string_view power, std::string_view percent,
                    std::string_view remain = "", std::string_view marker = "");

// A program folder with its settings file and data folder, the shared state, and two
// recording surfaces: picMonitor 2112 twips high, picPercentRate 1200, both 24000 wide.
class GraphTest : public ::testing::Test {
protected:
    GraphTest();

    GraphContext Context() {
        return {state, window, *settings, graphs, screen, monitor, rate, now};
    }
    // Writes the lines, each ended by CR LF, as the graphed log (lblTargetName).
    void WriteGraphedLog(std::initializer_list<std::string> lines);
    void WriteGraphedLogBytes(std::string_view bytes);
    void SetWork(std::string_view key, std::string_view value) {
        settings->WriteWorkSetting(key, value);
    }

    TempFolder folder;
    MonitorState state;
    MainWindowModel window;
    std::unique_ptr<SettingsStore> settings;
    GraphState graphs;
    FakeScreenMetrics screen;
    RecordingSurface monitor{24000, 2112, 15};
    RecordingSurface rate{24000, 1200, 15};
    CivilTime now = At(18, 0);
};

} // namespace amperlog::test
