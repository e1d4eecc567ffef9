#include "monitor_rig.h"

#include "datalog/daily_log.h"
#include "platform/services.h"
#include "window/status_panel.h"

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
