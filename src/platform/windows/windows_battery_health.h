#pragma once

#include "platform/battery_health.h"

#include <optional>
#include <string>
#include <vector>
#include <windows.h>
// After windows.h.
#include <poclass.h>

namespace amperlog {

// A battery's identity strings as the driver gives them.
struct BatteryNames {
    std::wstring manufacturer;
    std::wstring device;
    std::wstring serial;
    // The device's slot: the instance part of its interface path.
    std::wstring slot;
};

// One battery's information as its driver answers IOCTL_BATTERY_QUERY_INFORMATION: capacities
// in mWh, or in the driver's own unit when it says BATTERY_CAPACITY_RELATIVE; nullopt for an
// unknown or absurd capacity.
std::optional<BatteryHealthReading> DecodeBatteryHealth(const BATTERY_INFORMATION& info,
                                                        const BatteryNames& names);

// The energy a battery holds now, from IOCTL_BATTERY_QUERY_STATUS's capacity in mWh; nullopt
// where the driver does not know it or counts in a unit of its own.
std::optional<double> DecodeBatteryEnergy(const BATTERY_INFORMATION& info,
                                          const BATTERY_STATUS& status);

// The batteries of the battery device class, each asked through its device interface.
class WindowsBatteryHealth final : public BatteryHealthSource {
public:
    std::vector<BatteryHealthReading> Read() override;
    // Asked every tick: the device paths are looked up again only when one fails to answer.
    std::optional<double> EnergyNowWh() override;

private:
    std::optional<std::vector<std::wstring>> m_paths;
};

} // namespace amperlog
