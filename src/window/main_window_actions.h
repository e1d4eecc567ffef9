#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace amperlog {

class Clock;
class MainWindowViews;
class MillisecondCounter;
class ScreenMetrics;
class SettingsStore;
struct MainWindowModel;
struct MonitorState;

// Mouse buttons as the handlers receive them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
// Shift state of a key: a mask.
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;
// Key codes the main window acts on.
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyF = 70;
inline constexpr int kKeyS = 83;
inline constexpr int kKeyF2 = 113;
inline constexpr int kKeyF4 = 115;

// Controls from which a pointer movement with the left button held moves the window.
enum class DragZone { picTitle, picStatus, Label2, picBattery, Background, picPanel };

// The main window's event handlers as logic: each updates the state, the settings and the
// window model, and asks the window (MainWindowViews) for what only it can do. The Qt window
// forwards its events here and renders the model afterwards. Positions are twips within the
// control, buttons and shift states the masks above.
class MainWindowActions {
public:
    MainWindowActions(MonitorState& state, MainWindowModel& model, SettingsStore& settings,
                      const Clock& clock, const MillisecondCounter& counter,
                      const ScreenMetrics& screen, MainWindowViews& views,
                      std::filesystem::path programFolder, std::string exeName);

    // Every resize: LayoutUnit from the screen, the layout, the controls moved to it, and once
    // FormReady the graphs, drawn at their new size.
    void Resize(int clientWidthPixels, int clientHeightPixels);

    // Redraws both graph surfaces in the stored "GraphMode" and records the time it took
    // under "Starting".
    void RefreshGraphs();
    // "GraphMode" 0, 1, 0, ...; then redraws.
    void CycleGraphMode();
    // The one-shot first refresh.
    void DelayTick();

    void ScaleClick();
    void RemainClick();
    void GraphClick();
    void SepPress(int button);
    void ToolsPress(int button);
    void VoiceClick();
    // Hides the window into the notification area where the desktop has one.
    void StayClick();
    void PopupExitClick();
    void FileClick();
    void FileMenuChoose(std::size_t index);
    void PenClick();
    void StopClick();
    void KeyDown(int keyCode, int shift);

    // Rebuilds mnuFileSub from the daily logs; items beyond the catalogue stay as they were.
    void FillFileMenu();

    // Pointer over picMonitor (x, y within it): plain close face, the drag band, the read-out.
    void MonitorMove(double x, double y, int buttons);
    void MonitorRelease(int button);
    void PercentRateMove(double x);
    void CloseMove();
    void ClosePress(int button);
    void DragZoneMove(DragZone zone, double y, int buttons);
    // The notification icon asks for its menu (a right button press on it): mnuPopup opens
    // while the window is hidden in the notification area; otherwise nothing happens.
    void TrayMenuRequest();
    // A later start asks for the window: out of the notification area it comes as "Exit"
    // brings it back. True when the window is up to be raised; false during start-up, which
    // shows the window itself.
    bool ShowRequest();

private:
    std::string TodayLogName() const;

    MonitorState& m_state;
    MainWindowModel& m_model;
    SettingsStore& m_settings;
    const Clock& m_clock;
    const MillisecondCounter& m_counter;
    const ScreenMetrics& m_screen;
    MainWindowViews& m_views;
    std::filesystem::path m_programFolder;
    std::string m_exeName;
};

// Milliseconds from t0 to t1 of a 32-bit counter, right across its wrap.
std::uint32_t ElapsedMilliseconds(std::uint32_t t0, std::uint32_t t1);

} // namespace amperlog
