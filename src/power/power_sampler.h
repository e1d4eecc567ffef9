#pragma once

#include "platform/power_source.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace amperlog {

// Change codes of SamplePowerStatus: the number of the last stored text that differed.
enum class SampleChange : std::int16_t {
    None = 0,
    Percent = 1,
    Remain = 2,
    Power = 3,
    BatteryStatus = 4,
    FullLife = 5,
};

// BatteryStatusText of a battery that is charging, whatever its level.
inline constexpr std::string_view kBatteryStatusCharging = "Charge";

// Queries the power status, sets PowerText, BatteryStatusText, FullLifeText, RemainText and
// PercentText, compares them with the previous sample kept in the settings file ("Work" keys
// BattPercent, RemainTime, ACStatus, BattStatus, LifeTime), stores the new texts there and
// returns the code of the last key that differed (0 when none did). When the file refused the
// previous sample, the comparison is with that sample as kept in state.UnstoredSample. A
// failed query sets PowerText to "Error", returns 0 and leaves the settings file alone.
std::int16_t SamplePowerStatus(PowerSource& source, SettingsStore& settings, MonitorState& state);
// The same for a status already queried (nullopt: the query failed), for a caller that needs it
// too.
std::int16_t SamplePowerStatus(const std::optional<PowerStatus>& status, SettingsStore& settings,
                               MonitorState& state);

} // namespace amperlog
