#include "monitor_rig.h"

#include "datalog/daily_log.h"
#include "platform/services.h"
#include "window/status_panel.h"

#include <charconv>
#include <fstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count of live heap bytes; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace amperlog::test {

std::size_t HeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return 0;
#endif
}

namespace {

// A "Name:   123 kB" line of /proc/self/status, in bytes.
std::optional<std::size_t> StatusBytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (!line.starts_with(name + ":")) {
            continue;
        }
        const std::size_t digits = line.find_first_not_of(" \t", name.size() + 1);
        std::size_t kib = 0;
        if (digits == std::string::npos ||
            std::from_chars(line.data() + digits, line.data() + line.size(), kib).ec !=
                std::errc{}) {
            return std::nullopt;
        }
        return kib * 1024;
    }
    return std::nullopt;
}

} // namespace

PeakResident::PeakResident() {
    // "5" sets the peak back to the present resident size.
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5";
    reset.close();
    if (reset) {
        m_start = StatusBytes("VmHWM");
    }
}

std::optional<std::size_t> PeakResident::Growth() const {
    const std::optional<std::size_t> peak = StatusBytes("VmHWM");
    if (!m_start || !peak) {
        return std::nullopt;
    }
    return *peak > *m_start ? *peak - *m_start : 0;
}

DrawingViews::DrawingViews(Program& program) : m_program(program) {}

GraphContext DrawingViews::Context() {
    DrawingSurface& picPercentRate =
        m_refreshing ? static_cast<DrawingSurface&>(m_picPercentRate) : m_tickPercentRate;
    Services& services = m_program.Platform();
    return GraphContext{
        m_program.State(), m_program.Model(), m_program.Settings(), graphs,
        *services.screen,  m_picMonitor,      picPercentRate,       services.clock->Now()};
}

void DrawingViews::DispPanel() {
    RecordingViews::DispPanel();
    amperlog::DispPanel(m_program.State(), m_program.Model(), m_program.Settings(), m_picBattery,
                        m_program.Platform().clock->Now());
}

void DrawingViews::RefreshChangeRate() {
    RecordingViews::RefreshChangeRate();
    GraphContext ctx = Context();
    amperlog::RefreshChangeRate(ctx);
}

void DrawingViews::RefreshGraphs() {
    RecordingViews::RefreshGraphs();
    m_refreshing = true;
    m_program.Actions().RefreshGraphs();
    m_refreshing = false;
    lastGraphOps = m_picMonitor.Ops().size() + m_picPercentRate.Ops().size();
    m_picMonitor.ClearRecording();
    m_picPercentRate.ClearRecording();
}

void DrawingViews::DrawBarGraph() {
    RecordingViews::DrawBarGraph();
    GraphContext ctx = Context();
    amperlog::DrawBarGraph(ctx);
}

void DrawingViews::DrawTimelineGraph() {
    RecordingViews::DrawTimelineGraph();
    GraphContext ctx = Context();
    amperlog::DrawTimelineGraph(ctx);
}

MonitorRig::MonitorRig(const std::filesystem::path& programFolder, CivilTime start)
    : folder(programFolder), fakes(programFolder, start),
      program(fakes.services, programFolder, "amperlog") {
    program.AttachViews(&views);
    state.LayoutUnit = 15;
}

std::filesystem::path MonitorRig::LogPath(CivilTime day) const {
    return folder / "Data" / LogFileName(day);
}

PowerStatus Battery(int ac, int percent, int lifetime) {
    PowerStatus status;
    status.acLineStatus = static_cast<std::uint8_t>(ac);
    status.batteryFlag = static_cast<std::uint8_t>(ac == 1 ? 8 : (percent > 66 ? 1 : 2));
    status.batteryLifePercent = static_cast<std::uint8_t>(percent);
    status.batteryLifeTime = lifetime;
    status.batteryFullLifeTime = -1;
    return status;
}

} // namespace amperlog::test
