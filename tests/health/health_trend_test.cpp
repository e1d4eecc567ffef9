#include "health/health_trend.h"

#include <gtest/gtest.h>
#include <vector>

namespace amperlog {
namespace {

constexpr std::int64_t kToday = 20700;

// A battery read every `step` days over `days` days up to today, starting at `start` % and
// losing `perYear` % a year.
std::vector<HealthEntry> Wearing(double start, double perYear, int days, int step = 1) {
    std::vector<HealthEntry> series;
    for (int d = days; d >= 0; d -= step) {
        HealthEntry entry;
        entry.day = kToday - d;
        entry.identity = "SMP 01AV421 1422";
        entry.healthPercent = start - perYear * (days - d) / 365.0;
        series.push_back(entry);
    }
    return series;
}

TEST(HealthTrendTest, FivePercentAYearReadsAsWearPerHundredDays) {
    // Older, faster wear lies outside the last 180 days and must not count.
    std::vector<HealthEntry> series = Wearing(100, 20, 200);
    const std::vector<HealthEntry> recent = Wearing(series.back().healthPercent, 5, 365);
    for (HealthEntry& entry : series) {
        entry.day -= 366;
    }
    series.insert(series.end(), recent.begin(), recent.end());
    const std::optional<HealthTrend> trend = FitHealthTrend(series, kToday);
    ASSERT_TRUE(trend);
    EXPECT_NEAR(trend->wearPer100Days, 1.4, 0.1);
    ASSERT_TRUE(trend->wornOutDay);
    const double healthToday = series.back().healthPercent;
    EXPECT_NEAR(static_cast<double>(*trend->wornOutDay - kToday), (healthToday - 80) / 5 * 365, 2);
}

TEST(HealthTrendTest, SaysNothingOrNoDateWhereTheFitCannotTell) {
    struct Case {
        const char* name;
        std::vector<HealthEntry> series;
        bool trend;
        bool date;
    };
    const std::vector<Case> cases = {
        {"29 days", Wearing(95, 5, 29), false, false},
        {"9 readings over 40 days", Wearing(95, 5, 40, 5), false, false},
        {"10 readings over 45 days", Wearing(95, 5, 45, 5), true, true},
        {"already below 80 %", Wearing(79, 5, 60), true, false},
        {"more than 20 years ahead", Wearing(99, 0.5, 60), true, false},
        {"rising", Wearing(90, -2, 60), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<HealthTrend> trend = FitHealthTrend(c.series, kToday);
        ASSERT_EQ(trend.has_value(), c.trend);
        if (trend) {
            EXPECT_EQ(trend->wornOutDay.has_value(), c.date);
        }
    }
}

} // namespace
} // namespace amperlog
