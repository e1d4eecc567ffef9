#pragma once

#include "platform/tray_icon.h"

#include <cstdint>

namespace amperlog {

enum class TrayAction { None, ShowPopupMenu };

// Only the right button opens the icon's menu; the left button, releases and double clicks
// do nothing.
TrayAction DecideTrayAction(std::int16_t message);

} // namespace amperlog
