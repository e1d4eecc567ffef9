#include "health/health_view.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

constexpr std::int64_t kToday = 20700;

HealthEntry Entry(const std::string& identity, std::int64_t day, double percent) {
    HealthEntry entry;
    entry.identity = identity;
    entry.day = day;
    entry.healthPercent = percent;
    return entry;
}

// A line written after the clock was set back, and one dated ahead of today.
TEST(HealthViewTest, PointsInDateOrderUpToToday) {
    const std::vector<HealthEntry> diary = {Entry("A", kToday - 2, 90), Entry("A", kToday + 40, 50),
                                            Entry("A", kToday - 5, 91), Entry("A", kToday, 89)};
    const HealthGraphInput input = HealthViewInput({}, diary, kToday);
    ASSERT_EQ(input.series.size(), 1U);
    std::vector<std::int64_t> days;
    for (const HealthPoint& point : input.series[0]) {
        days.push_back(point.day);
    }
    EXPECT_EQ(days, (std::vector<std::int64_t>{kToday - 5, kToday - 2, kToday}));
}

// Six batteries over the years: the captions name the one of the last 180 days.
TEST(HealthViewTest, CaptionsOnlyForBatteriesOfTheLastHalfYear) {
    std::vector<HealthEntry> diary;
    for (int i = 0; i < 5; ++i) {
        diary.push_back(Entry("old " + std::to_string(i), kToday - 1000 + i * 150, 90));
    }
    diary.push_back(Entry("new", kToday - 3, 99));
    const HealthGraphInput input = HealthViewInput({}, diary, kToday);
    EXPECT_EQ(input.series.size(), 6U);
    std::vector<std::string> named;
    for (const HealthCaption& caption : input.captions) {
        if (caption.series >= 0) {
            named.push_back(caption.text.substr(0, caption.text.find(':')));
            EXPECT_EQ(caption.series, 5);
        }
    }
    EXPECT_EQ(named, std::vector<std::string>{"new"});
}

} // namespace
} // namespace amperlog
