#include "window/main_window_layout.h"

#include "helpers/numeric.h"
#include "platform/screen_metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace amperlog {
namespace {

// The window refuses a rectangle with a negative size; the control then stays where it was.
bool TryMove(TwipRect& rect, double left, double top, double width, double height, int unit) {
    if (width < 0 || height < 0) {
        return false;
    }
    rect = {SnapToPixels(left, unit), SnapToPixels(top, unit), SnapToPixels(width, unit),
            SnapToPixels(height, unit)};
    return true;
}

void MoveTo(TwipRect& rect, double left, double top, int unit) {
    rect.left = SnapToPixels(left, unit);
    rect.top = SnapToPixels(top, unit);
}

} // namespace

const ControlPlace* FindControlPlace(std::string_view name) {
    for (const ControlPlace& place : kControlPlaces) {
        if (place.name == name) {
            return &place;
        }
    }
    return nullptr;
}

double SnapToPixels(double twips, int unit) {
    if (unit <= 0) {
        return twips;
    }
    return RoundHalfEven(twips / unit) * unit;
}

MainWindowGeometry DesignGeometry(int unit) {
    MainWindowGeometry g;
    g.unit = unit;
    for (const ControlPlace& place : kControlPlaces) {
        TwipRect rect = place.design;
        if (place.icon) {
            rect.width = kIconPixels * unit;
            rect.height = kIconPixels * unit;
        }
        g.*place.rect = {SnapToPixels(rect.left, unit), SnapToPixels(rect.top, unit),
                         SnapToPixels(rect.width, unit), SnapToPixels(rect.height, unit)};
    }
    return g;
}

std::optional<std::int16_t> UnitProduct(int k, int unit) {
    const long long product = static_cast<long long>(k) * unit;
    if (product < std::numeric_limits<std::int16_t>::min() ||
        product > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(product);
}

std::optional<std::int16_t> IconStep(const ScreenMetrics& screen, int unit) {
    const double height = screen.HeightTwips();
    if (!(height > 0)) {
        return UnitProduct(36, unit);
    }
    // Compared in single precision, so that a 16:10 screen (exactly 1.6) gets the narrow step.
    const auto ratio = static_cast<float>(screen.WidthTwips() / height);
    return UnitProduct(ratio > 1.6F ? 44 : 36, unit);
}

void DockStrips(MainWindowGeometry& g, double clientWidth, double clientHeight) {
    const double status = g.picStatus.height;
    g.picStatus = {0, clientHeight - status, clientWidth, status};
    const double right = g.picRt.width;
    const double rightHeight = clientHeight - status;
    g.picRt = {clientWidth - right, 0, right, rightHeight > 0 ? rightHeight : 0};
}

void LayoutMainWindow(MainWindowGeometry& g, double clientWidth, double clientHeight, int unit,
                      const ScreenMetrics& screen) {
    if (unit <= 0) {
        return;
    }
    if (g.unit != unit) {
        g = DesignGeometry(unit);
    }
    DockStrips(g, clientWidth, clientHeight);

    const double panel = g.picPanel.width;
    const double right = g.picRt.width;
    const double title = g.picTitle.height;
    const double status = g.picStatus.height;
    const double graphWidth = clientWidth - panel - right;

    TryMove(g.picTitle, panel, 0, graphWidth, g.picTitle.height, unit);

    const auto gap = UnitProduct(8, unit);
    if (gap) {
        const double free = clientHeight - title - status - *gap;
        TryMove(g.picMonitor, panel, title, graphWidth, free * 0.6, unit);
    }
    const auto stopRight = UnitProduct(64, unit);
    const auto stopBottom = UnitProduct(40, unit);
    if (stopRight && stopBottom) {
        MoveTo(g.picStop, clientWidth - *stopRight, clientHeight - *stopBottom, unit);
    }
    if (gap) {
        const double free = clientHeight - title - status - *gap;
        TryMove(g.picPercentRate, panel, title + g.picMonitor.height + *gap, graphWidth, free * 0.4,
                unit);
    }
    MoveTo(g.picClose, clientWidth - g.picClose.width, 0, unit);
    const auto nameLeft = UnitProduct(48, unit);
    if (nameLeft && gap) {
        MoveTo(g.lblTargetName, *nameLeft, *gap, unit);
    }
    LayoutIcons(g, unit, screen);
}

std::optional<std::int16_t> FittedIconStep(const MainWindowGeometry& g, const ScreenMetrics& screen,
                                           int unit) {
    const auto step = IconStep(screen, unit);
    const auto narrow = UnitProduct(36, unit);
    if (!step || !narrow || *step <= *narrow || unit <= 0) {
        return step;
    }
    // Four icons in a row take 8 + 3 steps + 32 pixels; below 120 dpi the design widths of
    // the rows are too narrow for the wide step, and the last icon would be cut off.
    const double room = std::min(g.picAC.width, g.picIcon.width) - (8.0 + kIconPixels) * unit;
    const double fit = std::floor(room / 3.0 / unit) * unit;
    if (fit >= *step) {
        return step;
    }
    return static_cast<std::int16_t>(fit > *narrow ? fit : *narrow);
}

void LayoutIcons(MainWindowGeometry& g, int unit, const ScreenMetrics& screen) {
    const auto step = FittedIconStep(g, screen, unit);
    const auto edge = UnitProduct(8, unit);
    if (!step || !edge) {
        return;
    }
    const double s = *step;
    const double e = *edge;
    MoveTo(g.imgConsent, e, e, unit);
    MoveTo(g.picBattery, e + s, e, unit);
    if (const auto percentTop = UnitProduct(14, unit)) {
        MoveTo(g.lblBattPercent, e + 2 * s, *percentTop, unit);
    }
    MoveTo(g.imgStay, e + 3 * s, e, unit);

    MoveTo(g.imgGraph, e, e, unit);
    MoveTo(g.imgRemain, e + s, e, unit);
    MoveTo(g.imgVoice, e + 2 * s, e, unit);
    MoveTo(g.imgScale, e + 3 * s, e, unit);
    MoveTo(g.imgFile, e, e + s, unit);
    MoveTo(g.imgPen, e + s, e + s, unit);
}

} // namespace amperlog
