#pragma once

#include "platform/power_source.h"

#include <cstdint>
#include <optional>

namespace amperlog {

// The raw fields of SYSTEM_POWER_STATUS that the program uses, kept free of <windows.h> so
// the mapping can be tested with any values.
struct SystemPowerFields {
    std::uint8_t acLineStatus = 255;
    std::uint8_t batteryFlag = 255;
    std::uint8_t batteryLifePercent = 255;
    std::uint32_t batteryLifeTime = 0xFFFFFFFFu;
    std::uint32_t batteryFullLifeTime = 0xFFFFFFFFu;
};

// The platform's fields in the program's terms. Lifetimes are DWORDs whose all-ones value
// means unknown; any other value beyond the signed 32 bits is no lifetime and counts as
// unknown too, rather than turning negative.
PowerStatus PowerStatusFromSystem(const SystemPowerFields& fields);

// GetSystemPowerStatus.
class WindowsPowerSource final : public PowerSource {
public:
    std::optional<PowerStatus> Query() override;
};

} // namespace amperlog
