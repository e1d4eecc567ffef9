#pragma once

#include "helpers/civil_time.h"
#include "helpers/rgb.h"
#include "platform/drawing_surface.h"

#include <cstdint>
#include <string>

namespace amperlog {

struct DaySample;

inline constexpr Rgb kGraphRed{255, 0, 0};
inline constexpr Rgb kGraphGreen{0, 255, 0};
inline constexpr Rgb kGraphYellow{255, 255, 0};
inline constexpr Rgb kGraphWhite{255, 255, 255};

inline CivilTime AddMinutes(CivilTime t, std::int64_t minutes) {
    return t.AddSeconds(minutes * 60);
}

// The shared time axis: minutes from `start` to t (minute boundaries) times layoutUnit times
// scale, plus the graph's left margin. Twips.
double TimeToX(CivilTime start, CivilTime t, int layoutUnit, float scale, double left);

// True for a sample taken on external power.
bool IsOnPower(const std::string& power);
// Green on external power, the 3-D face colour on battery.
Rgb SampleColor(const DaySample& sample);

// A whole number with a minus sign when negative, rounded halves to even: "85", "-12".
std::string FormatWhole(double value);
// Right-aligned in four characters: "   0", "  20", " 100".
std::string FormatPercentLabel(int percent);
// A number printed as such: one blank for the sign before it, one after: " 9 ".
std::string FormatPrintedNumber(int value);

// Moves the current point to (x, y) and prints the text there.
void PrintAt(DrawingSurface& surface, double x, double y, const std::string& text);

// The 25 ticks and hour numbers under a graph whose time origin lies at x = left and whose
// 0 % line lies at y = base; the text colour is the surface's foreground colour.
void DrawHourTicks(DrawingSurface& surface, int firstHour, double left, double base, int layoutUnit,
                   float scale);

// The number a Remain text starts with, in seconds; 0 when none (or beyond a single).
float RemainSeconds(const std::string& remain);

// Draws a remaining-time line in pieces that break on mains: a piece starts with a point one
// pixel wide and goes on with lines of the given width. Leaves the line width at 1.
class RemainLinePen {
public:
    RemainLinePen(DrawingSurface& surface, Rgb color, int width)
        : m_surface(surface), m_color(color), m_width(width) {}
    ~RemainLinePen() { m_surface.SetLineWidth(1); }
    RemainLinePen(const RemainLinePen&) = delete;
    RemainLinePen& operator=(const RemainLinePen&) = delete;

    bool InPiece() const { return m_inPiece; }
    void Break() { m_inPiece = false; }
    void To(PointF at);

private:
    DrawingSurface& m_surface;
    Rgb m_color;
    int m_width;
    int m_lineWidth = 1;
    bool m_inPiece = false;
};

} // namespace amperlog
