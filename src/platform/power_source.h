#pragma once

#include <cstdint>
#include <optional>

namespace amperlog {

// The five fields of the platform's power status, with the Windows meanings:
// AC line 0 offline, 1 online, 255 unknown; battery flag bits 1 high, 2 low, 4 critical,
// 8 charging, 128 no battery, 255 unknown; percent 0-100 or 255; times in seconds or -1.
struct PowerStatus {
    std::uint8_t acLineStatus = 255;
    std::uint8_t batteryFlag = 255;
    std::uint8_t batteryLifePercent = 255;
    std::int32_t batteryLifeTime = -1;
    std::int32_t batteryFullLifeTime = -1;

    friend bool operator==(const PowerStatus&, const PowerStatus&) = default;
};

class PowerSource {
public:
    virtual ~PowerSource() = default;
    // nullopt when the query fails.
    virtual std::optional<PowerStatus> Query() = 0;
};

} // namespace amperlog
