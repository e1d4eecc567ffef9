#pragma once

#include <cstdint>

namespace amperlog {

// Mouse message numbers that the notification icon reports.
inline constexpr std::int16_t kTrayLeftButtonDown = 513;
inline constexpr std::int16_t kTrayLeftButtonDoubleClick = 515;
inline constexpr std::int16_t kTrayRightButtonDown = 516;
inline constexpr std::int16_t kTrayMiddleButtonDown = 519;

// The message number carried in the horizontal coordinate x of the hidden main window's
// mouse-move event, x in surface units with unitsPerPixel of them to a pixel: 513 or 516,
// and 0 for every other number and for anything unreadable.
std::int16_t DecodeTrayMessage(double x, double unitsPerPixel);

enum class TrayAction { None, ShowPopupMenu };

// Only the right button opens the icon's menu; the left button, releases and double clicks
// do nothing.
TrayAction DecideTrayAction(std::int16_t message);

} // namespace amperlog
