#include "monitor_rig.h"

#include "datalog/daily_log.h"
#include "graphs/bar_graph.h"
#include "graphs/change_rate_graph.h"
#include "graphs/timeline_graph.h"
#include "settings/settings_keys.h"
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

RecordingViews::RecordingViews(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                               const Clock& clock)
    : m_state(state), m_model(model), m_settings(settings), m_clock(clock) {}

GraphContext RecordingViews::Context(DrawingSurface& picPercentRate) {
    return GraphContext{m_state,  m_model,      m_settings,     graphs,
                        m_screen, m_picMonitor, picPercentRate, m_clock.Now()};
}

void RecordingViews::DispPanel() {
    ++panelRefreshes;
    amperlog::DispPanel(m_state, m_model, m_settings, m_picBattery, m_clock.Now());
}

void RecordingViews::RefreshChangeRate() {
    GraphContext ctx = Context(m_tickPercentRate);
    amperlog::RefreshChangeRate(ctx);
}

void RecordingViews::RefreshGraphs() {
    ++graphRefreshes;
    GraphContext ctx = Context(m_picPercentRate);
    m_model.CurrentGraphMode = ReadWorkInt16(m_settings, kKeyGraphMode, 0);
    if (m_model.CurrentGraphMode == 0) {
        DrawBarGraph(ctx);
    } else if (m_model.CurrentGraphMode == 1) {
        DrawTimelineGraph(ctx);
    }
    amperlog::RefreshChangeRate(ctx);
    lastGraphOps = m_picMonitor.Ops().size() + m_picPercentRate.Ops().size();
    m_picMonitor.ClearRecording();
    m_picPercentRate.ClearRecording();
}

void RecordingViews::SpeakText(const std::string& text) {
    ++spoken[text];
}

MonitorRig::MonitorRig(const std::filesystem::path& programFolder, CivilTime start)
    : folder(programFolder), clock(start), settings(programFolder / "amperlog.ini", nullptr),
      views(state, model, settings, clock),
      monitor(state, model, settings, power, clock, views, programFolder) {
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
