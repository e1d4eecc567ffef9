#pragma once

#include "counting_surface.h"
#include "fake_services.h"
#include "program/program.h"
#include "recording_surface.h"
#include "recording_views.h"
#include "window/graph_refresh.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace amperlog::test {

// What the main window does for the monitor, recorded, and its drawing: the graph refresh
// (the program's own, through its handlers) draws on recording surfaces, the tick's
// change-rate curve and gauge on counting ones. The recordings are dropped after each refresh
// so that a long run keeps only counts.
class DrawingViews final : public RecordingViews {
public:
    explicit DrawingViews(Program& program);

    void DispPanel() override;
    void RefreshChangeRate() override;
    void RefreshGraphs() override;
    void DrawBarGraph() override;
    void DrawTimelineGraph() override;

    // Drawing operations of the last graph refresh.
    std::size_t lastGraphOps = 0;
    // Operations drawn by the ticks' change-rate curves and gauges.
    std::size_t TickOps() const {
        return m_tickPercentRate.Operations() + m_picBattery.Operations();
    }
    GraphState graphs;

private:
    GraphContext Context();

    Program& m_program;
    bool m_refreshing = false;
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
    FakeServices fakes;
    FakeClock& clock = fakes.clock;
    ScriptedPowerSource& power = fakes.power;
    Program program;
    MonitorState& state = program.State();
    MainWindowModel& model = program.Model();
    SettingsStore& settings = program.Settings();
    DrawingViews views{program};
    Monitor& monitor = program.Monitor();

    std::filesystem::path SettingsPath() const { return folder / "amperlog.ini"; }
    std::filesystem::path LogPath(CivilTime day) const;
};

// Bytes the process holds from the heap where the sanitizer's allocator counts them, else 0.
std::size_t HeapBytes();

// The highest resident size of the process since it was last reset, where the system keeps
// one that can be reset (Linux's /proc), else nullopt.
class PeakResident {
public:
    // Starts counting from the present resident size.
    PeakResident();
    // Bytes by which the resident size rose at most since the start.
    std::optional<std::size_t> Growth() const;

private:
    std::optional<std::size_t> m_start;
};

// A battery at percent on mains (ac 1) or not (ac 0), with lifetime seconds left (-1 unknown).
PowerStatus Battery(int ac, int percent, int lifetime);

} // namespace amperlog::test
