#pragma once

#include <cstdint>
#include <string>

namespace amperlog {

// Mouse message numbers that the notification icon reports.
inline constexpr std::int16_t kTrayLeftButtonDown = 513;
inline constexpr std::int16_t kTrayLeftButtonDoubleClick = 515;
inline constexpr std::int16_t kTrayRightButtonDown = 516;
inline constexpr std::int16_t kTrayMiddleButtonDown = 519;

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    // Shows the icon with the tip text; false when there is no notification area to show it
    // in, and then nothing is shown.
    virtual bool Add(const std::string& tip) = 0;
    virtual void Remove() = 0;
};

} // namespace amperlog
