#include "platform/linux/lifetime_estimator.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace amperlog {
namespace {

constexpr double kFullWh = 50;

// One reading: watts and watt-hours (nullopt: not reported), the minutes expected back.
struct Step {
    std::int64_t ms;
    std::optional<double> watts;
    std::optional<double> wattHours;
    std::optional<int> minutes;
    std::optional<int> fullMinutes = std::nullopt;
    bool resetFirst = false;
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

TEST(LifetimeEstimator, Scenarios) {
    const std::vector<Scenario> scenarios = {
        {"the draw is averaged over two minutes",
         {{0, 10, 30, 180, 300}, {60'000, 20, 30, 120, 200}, {120'000, 20, 30, 90, 150}}},
        {"a draw too small to trust is left out",
         {{0, 0.05, 30, std::nullopt},
          {1'000, 10, 30, 180},
          {2'000, 0.05, 30, 180},
          {3'000, std::nullopt, 30, 180}}},
        {"unknown energy hides the minutes but keeps the draws",
         {{0, 10, 30, 180}, {1'000, 10, std::nullopt, std::nullopt}, {2'000, 30, 30, 108}}},
        {"the minutes turn back only on a lasting change",
         {{0, 10, 30, 180},
          {1'000, 10, 29.9, 179},   // down: followed at once
          {2'000, 10, 30.05, 179},  // 1.3 minutes up is under 2 %
          {3'000, 10, 30.5, 183},   // 4 minutes up is over it
          {4'000, 10, 30.3, 183},   // 1.2 minutes back down is not
          {5'000, 10, 30.6, 184}}}, // up again, the way it last moved
        {"a reset forgets the draws", {{0, 10, 30, 180}, {1'000, 20, 30, 90, std::nullopt, true}}},
    };
    for (const Scenario& scenario : scenarios) {
        LifetimeEstimator estimator;
        for (const Step& step : scenario.steps) {
            if (step.resetFirst) {
                estimator.Reset();
            }
            std::optional<double> draw;
            if (step.watts) {
                draw = *step.watts * 1e6;
            }
            std::optional<StoredEnergy> energy;
            if (step.wattHours) {
                energy = StoredEnergy{*step.wattHours * 1e6, kFullWh * 1e6};
            }
            const auto lifetimes = estimator.Update(step.ms, draw, energy);
            SCOPED_TRACE(testing::Message() << scenario.name << " at " << step.ms << " ms");
            ASSERT_EQ(lifetimes.has_value(), step.minutes.has_value());
            if (lifetimes) {
                EXPECT_EQ(lifetimes->remaining, *step.minutes * 60);
                if (step.fullMinutes) {
                    EXPECT_EQ(lifetimes->full, *step.fullMinutes * 60);
                }
            }
        }
    }
}

} // namespace
} // namespace amperlog
