#include "health/health_trend.h"

#include <gtest/gtest.h>
#include <utility>
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
    EXPECT_NEAR(trend->healthToday, healthToday, 0.05);
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

// A clock set wrong once wrote a line far ahead; another was set back: the lines are taken in
// date order and the fit ends today.
TEST(HealthTrendTest, LinesAfterTodayOrOutOfOrderDoNotBendTheFit) {
    std::vector<HealthEntry> series = Wearing(95, 5, 365);
    std::swap(series[100], series[300]);
    HealthEntry ahead = series.back();
    ahead.day = kToday + 300;
    ahead.healthPercent = 99;
    series.insert(series.begin() + 200, ahead);
    const std::optional<HealthTrend> trend = FitHealthTrend(series, kToday);
    ASSERT_TRUE(trend);
    EXPECT_NEAR(trend->wearPer100Days, 1.4, 0.1);
}

// A battery replaced by one of the same model: its count starts again. An unknown count does
// not part a series.
TEST(HealthTrendTest, CycleCountGoingDownStartsANewSeries) {
    std::vector<HealthEntry> entries = Wearing(95, 5, 5);
    const int cycles[] = {300, 301, 0, 302, 2, 3};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].cycles = cycles[i];
    }
    const std::vector<HealthSeries> series = SplitByBattery(entries, kToday);
    ASSERT_EQ(series.size(), 2U);
    EXPECT_EQ(series[0].entries.size(), 4U);
    EXPECT_EQ(series[1].entries.front().cycles, 2);
}

} // namespace
} // namespace amperlog
