#include "power/change_rate.h"

#include "helpers/numeric.h"

#include <cmath>
#include <cstdint>

namespace amperlog {

float GetEstimateRate(const MonitorState& state, CivilTime now) {
    if (!state.DaySamples) {
        return 0;
    }
    const std::vector<DaySample>& samples = *state.DaySamples;
    const std::int64_t last = static_cast<std::int64_t>(samples.size()) - 1;
    const std::int64_t band = state.RateBand;
    // With last >= band every index visited below is at least 1, so index 0 is never read; a
    // band of 0 or less visits nothing and yields 0.
    if (last < band) {
        return 0;
    }

    const double present = NumericValue(state.PercentText);
    CivilTime startTime = now;
    double startPercent = present;
    for (std::int64_t i = 0; i < band; ++i) {
        const DaySample& sample = samples[static_cast<std::size_t>(last - i)];
        if (sample.Power == state.PowerText) {
            startTime = sample.Time;
            startPercent = sample.Percent;
        }
    }

    const auto minutes = static_cast<float>(MinutesBetween(startTime, now));
    if (!(minutes > 0)) {
        return 0;
    }
    const auto rate = static_cast<float>((present - startPercent) / minutes);
    return std::isfinite(rate) ? rate : 0.0F;
}

} // namespace amperlog
