#pragma once

#include "helpers/civil_time.h"
#include "helpers/rgb.h"
#include "texts/catalogue.h"
#include "window/main_window_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace amperlog {

// Pictures of the image store that buttons copy.
enum class Face {
    None,
    VoiceOn,
    VoiceOff,
    Big,
    Small,
    CloseOn,
    CloseOff,
    Adapter,
    AdapterOff,
};

inline constexpr Rgb kWindowBackground{0, 71, 85};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kBlack{0, 0, 0};
// Label2, the window's title text.
inline constexpr Rgb kTitleText{192, 192, 192};

// Interval of the monitor tick while the window is shown and while it sits in the
// notification area, in milliseconds.
inline constexpr int kTickInterval = 1000;
inline constexpr int kStayTickInterval = 10000;
inline constexpr int kDelayInterval = 100;

struct MenuItem {
    std::string caption;
    bool checked = false;
    bool visible = true;
};

// What the main window shows, kept in plain values so that the logic's tests can read it
// without a display; the Qt window renders it. Field names are the controls' names.
struct MainWindowModel {
    std::string lblTargetName;
    std::string lblBattPercent;
    Rgb lblBattPercentColor = kWhite;
    std::string lblRemain;
    std::string lblRate;
    std::string lblLineCount{Text(TextId::LineCountEmpty)};
    std::string lblCount;
    std::string lblSys;
    std::string lblSEP;
    std::string lblTools;
    std::string Label2{Text(TextId::WindowTitle)};
    std::string Label3 = "FillCount";

    Face imgConsent = Face::AdapterOff;
    Face imgVoice = Face::VoiceOff;
    Face imgScale = Face::Big;
    Face picClose = Face::CloseOff;
    bool imgPenVisible = true;
    bool picStopVisible = false;

    Rgb background = kWindowBackground;
    Rgb picIconBackground = kBlack;

    bool windowVisible = false;
    int timMonitorPanelInterval = kTickInterval;
    bool timMonitorPanelEnabled = true;
    bool timDelayEnabled = false;

    MainWindowGeometry geometry;

    // Items of the log list; created on demand and never removed.
    std::vector<MenuItem> mnuFileSub{MenuItem{}};

    // Members of the main window's form.
    CivilTime MonitorDay;
    std::int32_t SecondsSinceLog = 0; // full width: the interval can be a whole day
    std::int16_t StayMode = 0;
    std::int16_t CurrentGraphMode = 0;
    bool FormReady = false;
};

} // namespace amperlog
