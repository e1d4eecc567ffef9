#include "alerts/alert_ladder.h"

namespace amperlog {
namespace {

bool HasBattery(std::uint8_t flag) {
    // An unknown flag says nothing against a battery that reports its charge.
    return flag == kBatteryUnknown || (flag & kBatteryNone) == 0;
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
    if (percent >= limits.low + kRearmPoints) {
        m_lowArmed = true;
    }
    if (percent >= limits.critical + kRearmPoints) {
        m_criticalArmed = true;
        m_criticalAt.reset();
    }
    if (percent <= limits.charged - kRearmPoints) {
        m_chargedArmed = true;
    }

    if (ac == kAcOffline) {
        return OnBattery(percent, limits, now);
    }
    if (limits.charged > 0 && percent >= limits.charged && m_chargedArmed) {
        m_chargedArmed = false;
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
    m_criticalAt.reset();
}

} // namespace amperlog
