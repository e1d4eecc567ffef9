#include "notify/tray_message.h"

#include <cmath>

namespace amperlog {

std::int16_t DecodeTrayMessage(double x, double unitsPerPixel) {
    if (!std::isfinite(x) || !std::isfinite(unitsPerPixel) || unitsPerPixel <= 0) {
        return 0;
    }
    // Halves go to the even neighbour, as every rounding of the program does.
    const double pixels = std::nearbyint(x / unitsPerPixel);
    if (pixels == kTrayLeftButtonDown || pixels == kTrayRightButtonDown) {
        return static_cast<std::int16_t>(pixels);
    }
    return 0;
}

TrayAction DecideTrayAction(std::int16_t message) {
    return message == kTrayRightButtonDown ? TrayAction::ShowPopupMenu : TrayAction::None;
}

} // namespace amperlog
