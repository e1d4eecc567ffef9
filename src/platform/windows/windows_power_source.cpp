#include "platform/windows/windows_power_source.h"

#include <limits>
#include <windows.h>

namespace amperlog {
namespace {

std::int32_t Lifetime(std::uint32_t seconds) {
    if (seconds > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        return -1;
    }
    return static_cast<std::int32_t>(seconds);
}

} // namespace

PowerStatus PowerStatusFromSystem(const SystemPowerFields& fields) {
    PowerStatus status;
    status.acLineStatus = fields.acLineStatus;
    status.batteryFlag = fields.batteryFlag;
    status.batteryLifePercent = fields.batteryLifePercent;
    status.batteryLifeTime = Lifetime(fields.batteryLifeTime);
    status.batteryFullLifeTime = Lifetime(fields.batteryFullLifeTime);
    return status;
}

std::optional<PowerStatus> WindowsPowerSource::Query() {
    SYSTEM_POWER_STATUS raw{};
    if (!::GetSystemPowerStatus(&raw)) {
        return std::nullopt;
    }
    SystemPowerFields fields;
    fields.acLineStatus = raw.ACLineStatus;
    fields.batteryFlag = raw.BatteryFlag;
    fields.batteryLifePercent = raw.BatteryLifePercent;
    fields.batteryLifeTime = raw.BatteryLifeTime;
    fields.batteryFullLifeTime = raw.BatteryFullLifeTime;
    return PowerStatusFromSystem(fields);
}

} // namespace amperlog
