#include "power/change_rate.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

CivilTime At(int hour, int minute, int second = 0) {
    return *CivilTime::FromParts(2026, 12, 6, hour, minute, second);
}

DaySample Sample(CivilTime time, const char* power, float percent) {
    return DaySample{time, power, percent, "", ""};
}

// Five samples on battery, five minutes apart from 10:00, falling from 90 to 86, after an
// older sample at 9:55 that the band of 5 does not reach.
std::vector<DaySample> Discharge() {
    return {
        Sample(At(9, 55), "Batt", 97),  Sample(At(10, 0), "Batt", 90),
        Sample(At(10, 5), "Batt", 89),  Sample(At(10, 10), "Batt", 88),
        Sample(At(10, 15), "Batt", 87), Sample(At(10, 20), "Batt", 86),
    };
}

std::vector<DaySample> WithoutFirst(std::vector<DaySample> samples) {
    samples.erase(samples.begin());
    return samples;
}

MonitorState State(std::vector<DaySample> samples, std::int16_t band, const char* power,
                   const char* percent) {
    MonitorState state;
    state.DaySamples = std::move(samples);
    state.RateBand = band;
    state.PowerText = power;
    state.PercentText = percent;
    return state;
}

TEST(ChangeRate, FromTheOldestMatchingSampleOfTheBand) {
    // 90 to 85 over the 20 minutes from 10:00 to 10:20.
    const MonitorState state = State(Discharge(), 5, "Batt", "85%");
    EXPECT_FLOAT_EQ(GetEstimateRate(state, At(10, 20, 30)), -0.25F);
}

TEST(ChangeRate, SamplesUnderAnotherPowerSourceAreSkipped) {
    std::vector<DaySample> samples = Discharge();
    samples[1].Power = "Power";
    samples[2].Power = "Power";
    samples[4].Power = "Power"; // skipped without ending the look-back
    // From the 10:10 sample at 88 to 85 at 10:22: 12 minutes.
    const MonitorState state = State(samples, 5, "Batt", "85%");
    EXPECT_FLOAT_EQ(GetEstimateRate(state, At(10, 22)), -0.25F);
}

TEST(ChangeRate, TheFirstSampleIsNeverUsedWithBandPlusOneSamples) {
    std::vector<DaySample> samples = Discharge();
    for (std::size_t i = 1; i < samples.size(); ++i) {
        samples[i].Power = "Power";
    }
    // Only index 0 is on battery, and it lies outside the window: no estimate.
    const MonitorState state = State(samples, 5, "Batt", "85%");
    EXPECT_EQ(GetEstimateRate(state, At(10, 30)), 0.0F);
}

TEST(ChangeRate, NoEstimate) {
    struct Case {
        const char* what;
        std::optional<std::vector<DaySample>> samples;
        std::int16_t band;
        CivilTime now;
    } cases[] = {
        {"never loaded", std::nullopt, 5, At(10, 30)},
        {"loaded but empty", std::vector<DaySample>{}, 5, At(10, 30)},
        {"only band samples", WithoutFirst(Discharge()), 5, At(10, 30)},
        {"band larger than the day", Discharge(), 32767, At(10, 30)},
        {"band of zero", Discharge(), 0, At(10, 30)},
        {"negative band", Discharge(), -3, At(10, 30)},
        {"now in the oldest sample's minute", Discharge(), 1, At(10, 20, 59)},
        {"now before the samples", Discharge(), 5, At(9, 0)},
    };
    for (const Case& c : cases) {
        MonitorState state = State({}, c.band, "Batt", "85%");
        state.DaySamples = c.samples;
        EXPECT_EQ(GetEstimateRate(state, c.now), 0.0F) << c.what;
    }
}

TEST(ChangeRate, NoMatchingPowerSourceIsNoEstimate) {
    const MonitorState state = State(Discharge(), 5, "Power", "85%");
    EXPECT_EQ(GetEstimateRate(state, At(10, 30)), 0.0F);
}

TEST(ChangeRate, MinutesCountBoundaries) {
    // 10:20:59 to 10:21:01 is one minute: 86 to 85.
    std::vector<DaySample> samples = Discharge();
    samples.back().Time = At(10, 20, 59);
    const MonitorState state = State(samples, 1, "Batt", "85%");
    EXPECT_FLOAT_EQ(GetEstimateRate(state, At(10, 21, 1)), -1.0F);
}

TEST(ChangeRate, UnknownChargeReadsAsZero) {
    // Three blanks read as 0 %: the estimate plunges for that call.
    const MonitorState state = State(Discharge(), 5, "Batt", "   ");
    EXPECT_FLOAT_EQ(GetEstimateRate(state, At(10, 20)), -4.5F);
}

TEST(ChangeRate, Charging) {
    std::vector<DaySample> samples = Discharge();
    for (DaySample& sample : samples) {
        sample.Power = "Power";
    }
    const MonitorState state = State(samples, 2, "Power", "92%");
    // From the 10:15 sample at 87: 5 points in 5 minutes.
    EXPECT_FLOAT_EQ(GetEstimateRate(state, At(10, 20)), 1.0F);
}

} // namespace
} // namespace amperlog
