#pragma once

#include <cstdint>

namespace amperlog {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The platform's 3-D face and shadow colours, fixed so the graphs look the same on dark and
// light desktops.
inline constexpr Rgb kButtonFace{240, 240, 240};
inline constexpr Rgb kButtonShadow{160, 160, 160};

} // namespace amperlog
