#include "sleep/sleep_watch.h"

#include "platform/battery_health.h"
#include "sleep/sleep_diary.h"

namespace amperlog {
namespace {

std::optional<int> Percent(const std::optional<PowerStatus>& status) {
    if (!status || status->batteryLifePercent > 100) {
        return std::nullopt;
    }
    return status->batteryLifePercent;
}

std::optional<bool> OnMains(const std::optional<PowerStatus>& status) {
    if (!status || status->acLineStatus == kAcUnknown) {
        return std::nullopt;
    }
    return status->acLineStatus == kAcOnline;
}

} // namespace

std::optional<std::int64_t> SleepDetector::Look(SleepClockReading reading) {
    const std::int64_t asleepMs = reading.sinceBootMs - reading.awakeMs;
    const std::optional<std::int64_t> last = m_lastAsleepMs;
    m_lastAsleepMs = asleepMs;
    if (!last) {
        return std::nullopt;
    }
    const std::int64_t seconds = (asleepMs - *last) / 1000;
    if (seconds < kShortestSleepSeconds) {
        return std::nullopt;
    }
    return seconds;
}

void SleepWatch::Tick(CivilTime now, const std::optional<PowerStatus>& status,
                      const std::filesystem::path& diary) {
    const std::optional<std::int64_t> slept = m_detector.Look(m_clocks.Read());
    const std::optional<double> wh = m_energy != nullptr ? m_energy->EnergyNowWh() : std::nullopt;
    if (slept) {
        SleepRecord record;
        record.start = now.AddSeconds(-*slept);
        record.end = now;
        record.seconds = *slept;
        record.percentBefore = Percent(m_lastStatus);
        record.percentAfter = Percent(status);
        record.whBefore = m_lastWh;
        record.whAfter = wh;
        record.onMainsBefore = OnMains(m_lastStatus);
        record.onMainsAfter = OnMains(status);
        WriteSleepLine(diary, record);
    }
    m_lastStatus = status;
    m_lastWh = wh;
}

} // namespace amperlog
