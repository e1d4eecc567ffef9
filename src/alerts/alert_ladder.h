#pragma once

#include "helpers/civil_time.h"
#include "platform/power_source.h"
#include "settings/settings_keys.h"

#include <cstdint>
#include <optional>

namespace amperlog {

enum class Alert : std::uint8_t { None, Low, Critical, Charged };

// Decides, tick by tick, when the charge deserves a warning. On battery: "Low" once when the
// charge falls to or below its threshold, "Critical" likewise and again every "Repeat"
// minutes while it stays there. On mains: "Charged" once when the charge rises to it, never
// for a charge already there at plug-in or start. An alert that fired waits until the charge
// has moved kRearmPoints back past its threshold (at most to 0 or 100), or the adapter was
// plugged in or out, so that a gauge flickering at a threshold does not chatter.
// A status without a battery, with an unknown charge or an unknown adapter changes nothing.
class AlertLadder {
public:
    static constexpr int kRearmPoints = 2;

    // At most one alert a tick: the gravest due.
    Alert Update(const PowerStatus& status, const AlertThresholds& limits, CivilTime now);

private:
    Alert OnBattery(int percent, const AlertThresholds& limits, CivilTime now);
    void Rearm();

    bool m_lowArmed = true;
    bool m_criticalArmed = true;
    bool m_chargedArmed = true;
    // Seen below "Charged" on mains since the adapter was plugged in or the alert fired.
    bool m_belowChargedOnMains = false;
    std::optional<std::uint8_t> m_acLineStatus;
    // When the critical alert last fired, while it lasts.
    std::optional<CivilTime> m_criticalAt;
};

} // namespace amperlog
