#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace amperlog {

class ScreenMetrics;

// A control's rectangle in twips, relative to its container.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    friend constexpr bool operator==(const TwipRect&, const TwipRect&) = default;
};

// Where every placed control of the main window is. The values are whole multiples of the
// LayoutUnit they were made with: a control lives on screen pixels, so a size read back is
// the size the screen shows, as the layout's read-backs expect.
struct MainWindowGeometry {
    int unit = 0; // LayoutUnit the rectangles were snapped with; 0 before the first layout

    TwipRect picPercentRate;
    TwipRect picStop;
    TwipRect picDebug;
    TwipRect lblRate;
    TwipRect lblRemain;
    TwipRect lblLineCount;
    TwipRect imgTools;
    TwipRect lblTools;
    TwipRect imgSEP;
    TwipRect lblSEP;
    TwipRect lblCount;
    TwipRect Picture1;
    TwipRect picClose;
    TwipRect picMonitor;
    TwipRect picTitle;
    TwipRect lblTargetName;
    TwipRect picRt;
    TwipRect picPanel;
    TwipRect picAC;
    TwipRect picBattery;
    TwipRect imgStay;
    TwipRect imgConsent;
    TwipRect lblBattPercent;
    TwipRect picIcon;
    TwipRect imgFile;
    TwipRect imgRemain;
    TwipRect imgVoice;
    TwipRect imgScale;
    TwipRect imgGraph;
    TwipRect imgPen;
    TwipRect Label3;
    TwipRect Label2;
    TwipRect picStatus;
    TwipRect lblSys;
};

// One placed control: its name, its container ("" for the window), its design rectangle in
// twips and where the geometry keeps it. An icon is 32 x 32 pixels whatever the screen, so
// its design size depends on the LayoutUnit.
struct ControlPlace {
    std::string_view name;
    std::string_view container;
    TwipRect design;
    bool icon;
    TwipRect MainWindowGeometry::*rect;
};

inline constexpr double kIconPixels = 32;
// The client area the window is designed for, in twips.
inline constexpr double kDesignClientWidth = 9528;
inline constexpr double kDesignClientHeight = 4860;

#define AMPERLOG_PLACE(name, container, l, t, w, h, icon)                                          \
    ControlPlace {                                                                                 \
#name, container, TwipRect{l, t, w, h }, icon, &MainWindowGeometry::name                   \
    }

// Containers come before their children.
inline constexpr std::array<ControlPlace, 34> kControlPlaces{{
    AMPERLOG_PLACE(picStatus, "", 0, 4488, 9528, 372, false),
    AMPERLOG_PLACE(picRt, "", 9276, 0, 252, 4488, false),
    AMPERLOG_PLACE(picPanel, "", 60, 0, 2772, 4356, false),
    AMPERLOG_PLACE(picTitle, "", 2940, 0, 5052, 372, false),
    AMPERLOG_PLACE(picMonitor, "", 3000, 420, 2532, 2112, false),
    AMPERLOG_PLACE(picPercentRate, "", 3000, 2580, 2532, 1632, false),
    AMPERLOG_PLACE(picDebug, "", 300, 2580, 2352, 1692, false),
    AMPERLOG_PLACE(Picture1, "", 5640, 480, 3504, 1152, false),
    AMPERLOG_PLACE(picStop, "", 8700, 4020, 384, 384, true),
    AMPERLOG_PLACE(picClose, "", 6840, 0, 924, 348, false),
    AMPERLOG_PLACE(lblSys, "", 3060, 4380, 3312, 192, false),
    AMPERLOG_PLACE(lblRate, "picDebug", 180, 60, 1872, 252, false),
    AMPERLOG_PLACE(lblRemain, "picDebug", 180, 360, 1812, 252, false),
    AMPERLOG_PLACE(lblLineCount, "picDebug", 180, 660, 1872, 312, false),
    AMPERLOG_PLACE(imgTools, "picDebug", 120, 1080, 384, 384, true),
    AMPERLOG_PLACE(lblTools, "picDebug", 600, 1140, 492, 252, false),
    AMPERLOG_PLACE(imgSEP, "picDebug", 1020, 1080, 384, 384, true),
    AMPERLOG_PLACE(lblSEP, "picDebug", 1500, 1140, 372, 252, false),
    AMPERLOG_PLACE(lblCount, "picDebug", 1860, 1140, 672, 252, false),
    AMPERLOG_PLACE(lblTargetName, "picTitle", 480, 120, 1152, 312, false),
    AMPERLOG_PLACE(picAC, "picPanel", 240, 360, 2412, 672, false),
    AMPERLOG_PLACE(picIcon, "picPanel", 240, 1140, 2412, 1332, false),
    AMPERLOG_PLACE(Label3, "picPanel", 1620, 2940, 1092, 252, false),
    AMPERLOG_PLACE(Label2, "picPanel", 360, 60, 1596, 240, false),
    AMPERLOG_PLACE(picBattery, "picAC", 840, 120, 432, 372, false),
    AMPERLOG_PLACE(imgStay, "picAC", 1860, 60, 384, 384, true),
    AMPERLOG_PLACE(imgConsent, "picAC", 300, 60, 384, 384, true),
    AMPERLOG_PLACE(lblBattPercent, "picAC", 1380, 180, 492, 312, false),
    AMPERLOG_PLACE(imgFile, "picIcon", 180, 660, 384, 384, true),
    AMPERLOG_PLACE(imgRemain, "picIcon", 780, 120, 384, 384, true),
    AMPERLOG_PLACE(imgVoice, "picIcon", 1320, 660, 384, 384, true),
    AMPERLOG_PLACE(imgScale, "picIcon", 1860, 120, 384, 384, true),
    AMPERLOG_PLACE(imgGraph, "picIcon", 180, 120, 384, 384, true),
    AMPERLOG_PLACE(imgPen, "picIcon", 720, 660, 384, 384, true),
}};

#undef AMPERLOG_PLACE

// The place of the named control, or null.
const ControlPlace* FindControlPlace(std::string_view name);

// A length in twips brought to whole pixels of unit twips each (halves to even).
double SnapToPixels(double twips, int unit);

// The design geometry on a screen of unit twips per pixel.
MainWindowGeometry DesignGeometry(int unit);

// k x unit as the 16-bit product the layout computes with; nullopt when it overflows.
std::optional<std::int16_t> UnitProduct(int k, int unit);

// The icon grid step in twips: 44 units on a screen wider than 16:10, else 36; 36 units
// when the screen's height is unknown (0 or less). nullopt when the product overflows.
std::optional<std::int16_t> IconStep(const ScreenMetrics& screen, int unit);

// The step LayoutIcons uses: IconStep, narrowed (never below 36 units) where the power row
// or the button grid is too narrow to hold four icons at that step.
std::optional<std::int16_t> FittedIconStep(const MainWindowGeometry& g, const ScreenMetrics& screen,
                                           int unit);

// The docked strips: picStatus across the bottom, picRt against the right edge above it.
void DockStrips(MainWindowGeometry& g, double clientWidth, double clientHeight);

// Places the title strip, the two graph surfaces, picStop, picClose and lblTargetName for a
// client area of the given size (twips), then the icon grid. A move the window could not
// make (a negative size, a product beyond 16 bits) is skipped and the rest goes on. The
// geometry is first brought to unit when it was made for another LayoutUnit.
void LayoutMainWindow(MainWindowGeometry& g, double clientWidth, double clientHeight, int unit,
                      const ScreenMetrics& screen);

// The power row and the button grid on the icon step of this screen.
void LayoutIcons(MainWindowGeometry& g, int unit, const ScreenMetrics& screen);

} // namespace amperlog
