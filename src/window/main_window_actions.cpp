#include "window/main_window_actions.h"

#include "datalog/daily_log.h"
#include "datalog/data_folder.h"
#include "helpers/numeric.h"
#include "platform/clock.h"
#include "platform/screen_metrics.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "texts/catalogue.h"
#include "window/main_window_layout.h"
#include "window/main_window_views.h"
#include "window/status_panel.h"
#include "window/window_model.h"

#include <cmath>

namespace amperlog {
namespace {

constexpr int kSepStep = 2;
constexpr int kSepMin = 4;
constexpr int kSepMax = 20;
constexpr int kBandMin = 1;
constexpr int kBandMax = 10;
// Heights of the drag bands along the top of picMonitor and picPanel, in LayoutUnits.
constexpr int kMonitorBandUnits = 48;
constexpr int kPanelBandUnits = 64;

bool LeftHeld(int buttons) {
    return (buttons & kLeftButton) != 0;
}

// The pointer lies within the top band of a control, `units` LayoutUnits high.
bool InTopBand(double y, int units, int layoutUnit) {
    const auto band = UnitProduct(units, layoutUnit);
    return band && y < *band;
}

} // namespace

std::uint32_t ElapsedMilliseconds(std::uint32_t t0, std::uint32_t t1) {
    // Unsigned subtraction is modulo 2^32, so a reading after the wrap still gives the
    // distance.
    return t1 - t0;
}

MainWindowActions::MainWindowActions(MonitorState& state, MainWindowModel& model,
                                     SettingsStore& settings, const Clock& clock,
                                     const MillisecondCounter& counter, const ScreenMetrics& screen,
                                     MainWindowViews& views, std::filesystem::path programFolder,
                                     std::string exeName)
    : m_state(state), m_model(model), m_settings(settings), m_clock(clock), m_counter(counter),
      m_screen(screen), m_views(views), m_programFolder(std::move(programFolder)),
      m_exeName(std::move(exeName)) {}

std::string MainWindowActions::TodayLogName() const {
    return LogFileName(m_clock.Now());
}

void MainWindowActions::Resize(int clientWidthPixels, int clientHeightPixels) {
    const auto unit = ToInt16(m_screen.TwipsPerPixel());
    if (!unit || *unit <= 0) {
        return;
    }
    m_state.LayoutUnit = *unit;
    LayoutMainWindow(m_model.geometry, static_cast<double>(clientWidthPixels) * *unit,
                     static_cast<double>(clientHeightPixels) * *unit, *unit, m_screen);
    m_views.PlaceControls();
    // Before start-up has finished the first refresh is timDelay's.
    if (m_model.FormReady) {
        m_views.RefreshGraphs();
    }
}

void MainWindowActions::RefreshGraphs() {
    const std::uint32_t t0 = m_counter.Milliseconds();
    m_model.CurrentGraphMode = ReadWorkInt16(m_settings, kKeyGraphMode);
    if (m_model.CurrentGraphMode == 0) {
        m_views.DrawBarGraph();
    } else if (m_model.CurrentGraphMode == 1) {
        m_views.DrawTimelineGraph();
    }
    m_views.RefreshChangeRate();
    const std::uint32_t t1 = m_counter.Milliseconds();
    m_settings.WriteWorkSetting(kKeyStarting, std::to_string(ElapsedMilliseconds(t0, t1)) + "ms");
}

void MainWindowActions::CycleGraphMode() {
    const int mode = (ReadWorkInt16(m_settings, kKeyGraphMode) + 1) % 2;
    m_model.CurrentGraphMode = static_cast<std::int16_t>(mode);
    m_settings.WriteWorkSetting(kKeyGraphMode, std::to_string(mode));
    m_views.RefreshGraphs();
}

void MainWindowActions::DelayTick() {
    m_model.timDelayEnabled = false;
    m_views.RefreshGraphs();
}

void MainWindowActions::ScaleClick() {
    const float current = ReadGraphScale(m_settings);
    const float scale = current == 1.0F ? 0.5F : 1.0F;
    m_state.GraphScale = scale;
    m_settings.WriteWorkSetting(kKeyExpand, scale == 1.0F ? "1" : "0.5");
    m_model.imgScale = scale == 1.0F ? Face::Big : Face::Small;
}

void MainWindowActions::RemainClick() {
    m_state.RemainMode = static_cast<std::int16_t>((m_state.RemainMode + 1) & 1);
    m_settings.WriteWorkSetting(kKeyRemain, std::to_string(m_state.RemainMode));
    m_views.RefreshGraphs();
}

void MainWindowActions::GraphClick() {
    CycleGraphMode();
}

void MainWindowActions::SepPress(int button) {
    int sep = ReadWorkInt16(m_settings, kKeySep);
    if (button == kLeftButton) {
        sep += kSepStep;
        if (sep > kSepMax) {
            sep = kSepMax;
        }
    } else {
        sep -= kSepStep;
        if (sep < kSepMin) {
            sep = kSepMin;
        }
    }
    m_state.SepMinutes = static_cast<std::int16_t>(sep);
    m_settings.WriteWorkSetting(kKeySep, std::to_string(sep));
    m_model.lblSEP = std::to_string(sep);
    m_views.RefreshGraphs();
}

void MainWindowActions::ToolsPress(int button) {
    int band = ReadWorkInt16(m_settings, kKeyBand) + (button == kLeftButton ? 1 : -1);
    if (band > kBandMax) {
        band = kBandMax;
    }
    if (band < kBandMin) {
        band = kBandMin;
    }
    m_state.RateBand = static_cast<std::int16_t>(band);
    m_settings.WriteWorkSetting(kKeyBand, std::to_string(band));
    m_views.RefreshChangeRate();
    ShowChangeRate(m_state, m_model, m_settings, m_clock.Now());
    m_model.lblTools = std::to_string(band);
}

void MainWindowActions::VoiceClick() {
    const int voice = (ReadWorkInt16(m_settings, kKeyVoice) + 1) % 2;
    m_settings.WriteWorkSetting(kKeyVoice, std::to_string(voice));
    m_model.imgVoice = ReadWorkSwitch(m_settings, kKeyVoice) ? Face::VoiceOn : Face::VoiceOff;
    if (voice == 1) {
        m_views.Render();
        m_views.SpeakText(std::string(Text(TextId::SpokenOk)));
    }
}

void MainWindowActions::StayClick() {
    // A click during start-up is ignored rather than half done.
    if (!m_model.FormReady) {
        return;
    }
    // Without a notification area a hidden window could not be brought back: it stays shown,
    // and nothing is stored that says otherwise.
    if (!m_views.AddTrayIcon(m_exeName)) {
        return;
    }
    m_model.timMonitorPanelInterval = kStayTickInterval;
    m_model.windowVisible = false;
    m_views.Render();
    m_settings.WriteWorkSetting(kKeyStay, "1");
    m_views.SpeakText(std::string(Text(TextId::SpokenStaying)));
}

void MainWindowActions::PopupExitClick() {
    m_views.RemoveTrayIcon();
    m_model.windowVisible = true;
    m_model.timMonitorPanelInterval = kTickInterval;
    m_views.Render();
    m_model.StayMode = 0;
    m_settings.WriteWorkSetting(kKeyStay, "0");
}

void MainWindowActions::FillFileMenu() {
    const std::vector<std::string> names = ListLogCatalogue(m_state.DataFolder);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i >= m_model.mnuFileSub.size()) {
            m_model.mnuFileSub.emplace_back();
        }
        MenuItem& item = m_model.mnuFileSub[i];
        item.visible = true;
        item.caption = names[i];
        item.checked = item.caption == m_model.lblTargetName;
    }
}

void MainWindowActions::FileClick() {
    FillFileMenu();
    m_views.PopupFileMenu();
}

void MainWindowActions::FileMenuChoose(std::size_t index) {
    if (index >= m_model.mnuFileSub.size()) {
        return;
    }
    m_model.lblTargetName = m_model.mnuFileSub[index].caption;
    m_views.RefreshGraphs();
    for (MenuItem& item : m_model.mnuFileSub) {
        item.checked = false;
    }
    m_model.mnuFileSub[index].checked = true;
}

void MainWindowActions::PenClick() {
    if (m_model.lblTargetName.empty()) {
        m_state.TodayFileName = TodayLogName();
        m_model.lblTargetName = m_state.TodayFileName;
    }
    m_views.Render();
    m_views.OpenInEditor(m_state.DataFolder / m_model.lblTargetName);
    // Edits show at once.
    m_views.RefreshGraphs();
}

void MainWindowActions::StopClick() {
    m_model.timMonitorPanelEnabled = false;
    m_model.picStopVisible = false;
}

void MainWindowActions::KeyDown(int keyCode, int shift) {
    switch (keyCode) {
    case kKeyEscape:
        m_model.lblTargetName = TodayLogName();
        m_views.RefreshGraphs();
        return;
    case kKeyF2:
        m_views.OpenInEditor(m_settings.SettingsPath());
        return;
    case kKeyF4:
        if (shift != 0) {
            m_views.CloseWindow();
        }
        return;
    case kKeyF:
        if (shift == kCtrlMask) {
            m_views.OpenInEditor(m_programFolder / "Sys.log");
        }
        return;
    case kKeyS:
        if (shift == kCtrlMask) {
            m_views.OpenInEditor(m_settings.SettingsPath());
        }
        return;
    default:
        return;
    }
}

void MainWindowActions::MonitorMove(double x, double y, int buttons) {
    m_model.picClose = Face::CloseOff;
    if (LeftHeld(buttons) && InTopBand(y, kMonitorBandUnits, m_state.LayoutUnit)) {
        m_views.StartWindowDrag();
    }
    m_model.lblSys = m_views.TimelineReadout(x);
}

void MainWindowActions::MonitorRelease(int button) {
    if (button == kLeftButton) {
        CycleGraphMode();
    }
}

void MainWindowActions::PercentRateMove(double x) {
    m_model.lblSys = m_views.RateReadout(x);
}

void MainWindowActions::CloseMove() {
    m_model.picClose = Face::CloseOn;
}

void MainWindowActions::ClosePress(int /*button*/) {
    m_views.CloseWindow();
}

void MainWindowActions::DragZoneMove(DragZone zone, double y, int buttons) {
    if (!LeftHeld(buttons)) {
        return;
    }
    switch (zone) {
    case DragZone::Background:
        // While hidden the window's pointer events are the notification icon's.
        if (!m_model.windowVisible) {
            return;
        }
        break;
    case DragZone::picPanel:
        if (!InTopBand(y, kPanelBandUnits, m_state.LayoutUnit)) {
            return;
        }
        break;
    case DragZone::picTitle:
    case DragZone::picStatus:
    case DragZone::Label2:
    case DragZone::picBattery:
        break;
    }
    m_views.StartWindowDrag();
}

void MainWindowActions::TrayMenuRequest() {
    if (!m_model.windowVisible) {
        m_views.PopupTrayMenu();
    }
}

bool MainWindowActions::ShowRequest() {
    if (!m_model.FormReady) {
        return false;
    }
    if (!m_model.windowVisible) {
        PopupExitClick();
    }
    return true;
}

} // namespace amperlog
