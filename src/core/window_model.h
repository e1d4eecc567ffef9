#pragma once

#include <string>
#include <vector>

#include "rgb.h"

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
    std::string lblLineCount = "データ数";
    std::string lblCount;
    std::string lblSys;
    std::string lblSEP;
    std::string lblTools;

    Face imgConsent = Face::AdapterOff;
    Face imgVoice = Face::VoiceOff;
    Face imgScale = Face::Big;
    Face picClose = Face::CloseOff;
    bool imgPenVisible = true;
    bool picBatteryVisible = false;

    Rgb background = kWindowBackground;
    Rgb picIconBackground = kBlack;

    bool windowVisible = false;
    int timMonitorPanelInterval = 1000;
    bool timMonitorPanelEnabled = true;
    bool timDelayEnabled = false;

    // Items of the log list; created on demand and never removed.
    std::vector<MenuItem> mnuFileSub{MenuItem{}};
};

} // namespace amperlog
