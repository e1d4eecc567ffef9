#include "platform/linux/lifetime_estimator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace amperlog {
namespace {

std::int32_t MinutesToSeconds(std::int64_t minutes) {
    constexpr std::int64_t kMaxMinutes = std::numeric_limits<std::int32_t>::max() / 60;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(minutes, 0, kMaxMinutes) * 60);
}

} // namespace

std::int32_t LifetimeEstimator::ShownMinutes::Update(double minutes) {
    const std::int64_t target = std::llround(std::clamp(minutes, 0.0, 1e9));
    if (!m_minutes) {
        m_minutes = target;
    } else if (target != *m_minutes) {
        const int direction = target < *m_minutes ? -1 : 1;
        const auto current = static_cast<double>(*m_minutes);
        const bool turning = m_direction != 0 && direction != m_direction;
        if (!turning || std::abs(minutes - current) >= std::max(1.0, 0.02 * current)) {
            m_minutes = target;
            m_direction = direction;
        }
    }
    return MinutesToSeconds(*m_minutes);
}

void LifetimeEstimator::ShownMinutes::Reset() {
    m_minutes.reset();
    m_direction = 0;
}

std::optional<LifetimeEstimator::Lifetimes>
LifetimeEstimator::Update(std::int64_t nowMs, std::optional<double> drawMicrowatts,
                          std::optional<StoredEnergy> energy) {
    while (!m_draws.empty() && nowMs - m_draws.front().ms >= kSmoothingWindowMs) {
        m_draws.pop_front();
    }
    // Right after the adapter is pulled many batteries report no draw for a few seconds;
    // such readings would drag the average down and the lifetime up.
    if (drawMicrowatts && *drawMicrowatts > kMinDrawMicrowatts) {
        if (m_draws.size() >= kMaxDrawSamples) {
            m_draws.pop_front();
        }
        m_draws.push_back({nowMs, *drawMicrowatts});
    }
    if (m_draws.empty() || !energy) {
        m_shownLife.Reset();
        m_shownFull.Reset();
        return std::nullopt;
    }
    double sum = 0;
    for (const DrawSample& sample : m_draws) {
        sum += sample.microwatts;
    }
    const double draw = sum / static_cast<double>(m_draws.size());
    // µWh / µW = hours.
    return Lifetimes{m_shownLife.Update(60.0 * energy->now / draw),
                     m_shownFull.Update(60.0 * energy->full / draw)};
}

void LifetimeEstimator::Reset() {
    m_draws.clear();
    m_shownLife.Reset();
    m_shownFull.Reset();
}

} // namespace amperlog
