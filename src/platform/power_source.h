#pragma once

#include <cstdint>
#include <optional>

namespace amperlog {

// The values of the five fields of the platform's power status, with the Windows meanings.
inline constexpr std::uint8_t kAcOffline = 0;
inline constexpr std::uint8_t kAcOnline = 1;
inline constexpr std::uint8_t kAcUnknown = 255;
// Battery flag: a combination of these bits, or kBatteryUnknown alone.
inline constexpr std::uint8_t kBatteryHigh = 1;
inline constexpr std::uint8_t kBatteryLow = 2;
inline constexpr std::uint8_t kBatteryCritical = 4;
inline constexpr std::uint8_t kBatteryCharging = 8;
inline constexpr std::uint8_t kBatteryNone = 128;
inline constexpr std::uint8_t kBatteryUnknown = 255;
inline constexpr std::uint8_t kPercentUnknown = 255;
inline constexpr std::int32_t kLifeTimeUnknown = -1;

// Percent 0-100, times in seconds.
struct PowerStatus {
    std::uint8_t acLineStatus = kAcUnknown;
    std::uint8_t batteryFlag = kBatteryUnknown;
    std::uint8_t batteryLifePercent = kPercentUnknown;
    std::int32_t batteryLifeTime = kLifeTimeUnknown;
    std::int32_t batteryFullLifeTime = kLifeTimeUnknown;

    friend bool operator==(const PowerStatus&, const PowerStatus&) = default;
};

class PowerSource {
public:
    virtual ~PowerSource() = default;
    // nullopt when the query fails.
    virtual std::optional<PowerStatus> Query() = 0;
};

} // namespace amperlog
