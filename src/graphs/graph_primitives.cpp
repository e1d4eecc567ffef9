#include "graphs/graph_primitives.h"

#include "helpers/numeric.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace amperlog {

double TimeToX(CivilTime start, CivilTime t, int layoutUnit, float scale, double left) {
    return static_cast<double>(MinutesBetween(start, t)) * layoutUnit * static_cast<double>(scale) +
           left;
}

bool IsOnPower(const std::string& power) {
    return power == "Power";
}

Rgb SampleColor(const DaySample& sample) {
    return IsOnPower(sample.Power) ? kGraphGreen : kButtonFace;
}

std::string FormatWhole(double value) {
    const double rounded = RoundHalfEven(value);
    if (rounded == 0) {
        return "0"; // no "-0"
    }
    if (std::fabs(rounded) < 1e15) {
        return std::to_string(static_cast<long long>(rounded));
    }
    return FormatNumber(rounded);
}

std::string FormatPercentLabel(int percent) {
    std::string text = std::to_string(percent);
    if (text.size() < 4) {
        text.insert(0, 4 - text.size(), ' ');
    }
    return text;
}

std::string FormatPrintedNumber(int value) {
    return (value < 0 ? "" : " ") + std::to_string(value) + " ";
}

void PrintAt(DrawingSurface& surface, double x, double y, const std::string& text) {
    surface.SetCurrentPoint({x, y});
    surface.Print(text);
}

void DrawHourTicks(DrawingSurface& surface, int firstHour, double left, double base, int layoutUnit,
                   float scale) {
    const double unit = layoutUnit;
    for (int i = 0; i <= 24; ++i) {
        const double x = i * 60 * unit * static_cast<double>(scale) + left;
        surface.LineRelative({x, base + 2 * unit}, {0, 4 * unit}, BoxMode::Line, kButtonShadow);
        PrintAt(surface, x - 6 * unit, base + 8 * unit, FormatPrintedNumber((firstHour + i) % 24));
    }
}

std::int16_t ReadSepMinutes(SettingsStore& settings) {
    return ReadWorkInt16(settings, kKeySep);
}

bool IsRemainLineOn(SettingsStore& settings) {
    return ReadWorkSwitch(settings, kKeyRemain);
}

float RemainSeconds(const std::string& remain) {
    const double value = NumericValue(remain);
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        return 0;
    }
    return static_cast<float>(value);
}

void RemainLinePen::To(PointF at) {
    const int pieceWidth = m_inPiece ? m_width : 1;
    if (pieceWidth != m_lineWidth) {
        m_surface.SetLineWidth(pieceWidth);
        m_lineWidth = pieceWidth;
    }
    if (m_inPiece) {
        m_surface.LineTo(at, BoxMode::Line, m_color);
    } else {
        m_surface.Point(at, m_color);
        m_inPiece = true;
    }
}

} // namespace amperlog
