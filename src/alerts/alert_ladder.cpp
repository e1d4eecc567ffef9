#include "alerts/alert_ladder.h"

#include <algorithm>

namespace amperlog {
namespace {

bool HasBattery(std::uint8_t flag) {
    // An unknown flag says nothing against a battery that reports its charge.
    return flag == kBatteryUnknown || (flag & kBatteryNone) == 0;
}

// Where a threshold is armed again: kRearmPoints back, but within the gauge, so that a
// threshold near either end is armed again too.
int RearmAbove(int threshold) {
    return std::min(threshold + AlertLadder::kRearmPoints, 100);
}
int RearmBelow(int threshold) {
    return std::max(threshold - AlertLadder::kRearmPoints, 0);
}

} // namespace

Alert AlertLadder::Update(const PowerStatus& status, const AlertThresholds& limits, CivilTime now) {
    const std::uint8_t ac = status.acLineStatus;
    if (status.batteryLifePercent == kPercentUnknown || !HasBattery(status.batteryFlag) ||
        (ac != kAcOffline && ac != kAcOnline)) {
        return Alert::None;
    }
    if (m_acLineStatus && *m_acLineStatus != ac) {
        Rearm();
    }
    m_acLineStatus = ac;

    const int percent = status.batteryLifePercent;
    if (percent >= RearmAbove(limits.low)) {
        m_lowArmed = true;
    }
    if (percent >= RearmAbove(limits.critical)) {
        m_criticalArmed = true;
        m_criticalAt.reset();
    }
    if (percent <= RearmBelow(limits.charged)) {
        m_chargedArmed = true;
    }

    if (ac == kAcOffline) {
        return OnBattery(percent, limits, now);
    }
    if (percent < limits.charged) {
        m_belowChargedOnMains = true;
    } else if (limits.charged > 0 && m_chargedArmed && m_belowChargedOnMains) {
        m_chargedArmed = false;
        m_belowChargedOnMains = false;
        return Alert::Charged;
    }
    return Alert::None;
}

Alert AlertLadder::OnBattery(int percent, const AlertThresholds& limits, CivilTime now) {
    if (percent <= limits.critical) {
        // Low is passed on the way down: a fall straight past it says only the graver.
        m_lowArmed = false;
        if (m_criticalArmed) {
            m_criticalArmed = false;
            m_criticalAt = now;
            return Alert::Critical;
        }
        // A clock set back would hold the repeat off until it caught up again.
        if (m_criticalAt && now < *m_criticalAt) {
            m_criticalAt = now;
        }
        if (limits.repeatMinutes > 0 && m_criticalAt &&
            SecondsBetween(*m_criticalAt, now) >= std::int64_t{limits.repeatMinutes} * 60) {
            m_criticalAt = now;
            return Alert::Critical;
        }
        return Alert::None;
    }
    if (percent <= limits.low && m_lowArmed) {
        m_lowArmed = false;
        return Alert::Low;
    }
    return Alert::None;
}

void AlertLadder::Rearm() {
    m_lowArmed = true;
    m_criticalArmed = true;
    m_chargedArmed = true;
    // Plugged in above "Charged" is no rise to it.
    m_belowChargedOnMains = false;
    m_criticalAt.reset();
}

} // namespace amperlog
