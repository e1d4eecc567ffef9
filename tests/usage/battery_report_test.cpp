#include "datalog/log_format.h"
#include "platform/fake/fake_time_zone.h"
#include "temp_folder.h"
#include "usage/battery_report.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 3600;

std::int64_t Day(int year, int month, int day) {
    return CivilTime::FromParts(year, month, day)->DayNumber();
}

// The week of tests/data/report-week (make-week.py says what happened when), counted by hand
// for an interval of 8 minutes: a line's state holds up to 9 minutes after it.
TEST(BatteryReport, CraftedWeekMatchesTheHandCount) {
    struct Expected {
        int day; // of October 2026
        std::int64_t battery;
        std::int64_t mains;
        std::int64_t asleep;
        std::int64_t unseen;
        double usedPercent;
        double usedWh; // used percent of the day's full capacity, 45 Wh, from the 23rd 44 Wh
    };
    const std::vector<Expected> expected = {
        // 12-16 and 22-24 on battery; the program started at 8.
        {20, 6 * kHour, 10 * kHour, 0, 8 * kHour, 55, 24.75},
        // Battery across midnight to 0:40 and 9 minutes more; restarted at 9; stopped at 18:04.
        {21, 4 * kHour + 49 * kMinute, 5 * kHour + 13 * kMinute, 0, 13 * kHour + 58 * kMinute, 35,
         15.75},
        // Asleep 12:15-15:15 on battery, 3 points lost asleep; stopped at 19:07.
        {22, 4 * kHour + 51 * kMinute, 4 * kHour + 25 * kMinute, 3 * kHour,
         11 * kHour + 44 * kMinute, 39, 17.55},
        // Started at 8; no line 12:00-14:00 (9 minutes of it on battery), the 5 points lost
        // then not counted.
        {23, 3 * kHour + 13 * kMinute, 10 * kHour + 56 * kMinute, 0, 9 * kHour + 51 * kMinute, 23,
         10.12},
        // Asleep on mains 2-6.
        {24, 64 * kMinute, 18 * kHour + 56 * kMinute, 4 * kHour, 0, 8, 3.52},
        // 25 hours: on battery 1:00 to the change and 20-22, the repeated hour on mains.
        {25, 4 * kHour, 21 * kHour, 0, 0, 30, 13.2},
        // Stopped at 12:00; the report made at 23:59:59.
        {26, 2 * kHour, 10 * kHour + 9 * kMinute, 0, 11 * kHour + 51 * kMinute - 1, 20, 8.8},
    };
    const FakeTimeZoneRules berlin = FakeTimeZoneRules::CentralEurope();
    // Made the last evening, and weeks later: the report ends with the last log either way.
    for (const CivilTime now : {*CivilTime::FromParts(2026, 10, 26, 23, 59, 59),
                                *CivilTime::FromParts(2026, 12, 8, 12, 0, 0)}) {
        SCOPED_TRACE(FormatIsoTime(now));
        const BatteryReport report =
            BuildBatteryReport(test::TestDataDir() / "report-week", now, 8, berlin);
        ASSERT_EQ(report.days.size(), static_cast<std::size_t>(kReportDays));
        const std::size_t first = report.days.size() - expected.size();
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Expected& e = expected[i];
            const DayUsage& day = report.days[first + i];
            SCOPED_TRACE(e.day);
            ASSERT_EQ(day.day, Day(2026, 10, e.day));
            EXPECT_NEAR(day.batterySeconds, e.battery, kMinute);
            EXPECT_NEAR(day.mainsSeconds, e.mains, kMinute);
            EXPECT_NEAR(day.asleepSeconds, e.asleep, kMinute);
            EXPECT_NEAR(day.unseenSeconds, e.unseen, kMinute);
            EXPECT_NEAR(day.usedPercent, e.usedPercent, 1e-6);
            ASSERT_TRUE(day.drainWatts);
            EXPECT_NEAR(*day.drainWatts * static_cast<double>(day.batterySeconds) / kHour, e.usedWh,
                        1e-6);
        }
        // 93.69 Wh over 25.95 hours on battery: 3.6104 W, from 44 Wh full and 50 Wh design.
        EXPECT_NEAR(report.estimate.batteryHours, 25.95, 0.01);
        ASSERT_TRUE(report.estimate.fullChargeHours && report.estimate.designChargeHours);
        EXPECT_NEAR(*report.estimate.fullChargeHours, 12.187, 0.01);
        EXPECT_NEAR(*report.estimate.designChargeHours, 13.849, 0.01);
        // 3 points in 3 hours, 1.35 Wh; the sleep on mains is no drain to go by.
        ASSERT_EQ(report.sleeps.size(), 2U);
        EXPECT_NEAR(report.sleeps[0].watts.value_or(0), 0.45, 1e-9);
        EXPECT_EQ(report.medianPercentPerHourAsleep, 1.0);
        ASSERT_EQ(report.batteries.size(), 1U);
        EXPECT_EQ(report.batteries[0].fullWh, 44.0);
    }
}

// A day the clock changes is as long as it really was: every second once, the hour the clock
// repeats too, whose lines come out of order.
TEST(BatteryReport, DaysTheClockChangesSumToTheirRealLength) {
    struct Case {
        std::int64_t day;
        std::int64_t length;
    };
    const std::vector<Case> cases = {
        {Day(2026, 3, 29), 23 * kHour},
        {Day(2026, 10, 25), 25 * kHour},
        {Day(2026, 10, 24), 24 * kHour},
    };
    const FakeTimeZoneRules zone = FakeTimeZoneRules::CentralEurope();
    for (const Case& c : cases) {
        for (const std::int64_t step : {5 * kMinute, 6 * kMinute}) {
            SCOPED_TRACE(FormatIsoTime(CivilTime::FromSerial(c.day * CivilTime::kSecondsPerDay)));
            SCOPED_TRACE(step);
            const test::TempFolder folder;
            // Lines at real instants around the day, on battery in the even hours since 1970.
            const std::int64_t midnight =
                c.day * CivilTime::kSecondsPerDay -
                zone.UtcOffsetAt(c.day * CivilTime::kSecondsPerDay - kHour);
            std::int64_t evenHours = 0;
            std::string text[3];
            for (std::int64_t at = midnight - 2 * kHour; at < midnight + c.length + 2 * kHour;
                 at += step) {
                const CivilTime local = CivilTime::FromSerial(at + zone.UtcOffsetAt(at));
                const bool onBattery = (at / kHour) % 2 == 0;
                text[local.DayNumber() - c.day + 1] +=
                    FormatLogStamp(local) + (onBattery ? ",Batt,50%,,+\r\n" : ",Power,50%,,+\r\n");
                evenHours +=
                    onBattery && at >= midnight && at < midnight + c.length && at % kHour == 0;
            }
            for (int i = 0; i < 3; ++i) {
                test::WriteFileBytes(folder / LogFileName(CivilTime::FromSerial(
                                                  (c.day - 1 + i) * CivilTime::kSecondsPerDay)),
                                     text[i]);
            }
            const std::vector<DayUsage> days =
                ComputeDayUsage(folder.Path(), c.day, c.day, 8, {}, {}, zone);
            ASSERT_EQ(days.size(), 1U);
            EXPECT_EQ(days[0].unseenSeconds, 0);
            EXPECT_EQ(days[0].batterySeconds, evenHours * kHour);
            EXPECT_EQ(days[0].batterySeconds + days[0].mainsSeconds, c.length);
        }
    }
}

// Under two hours on battery there is nothing to go by; without Wh only the full charge.
TEST(BatteryReport, EstimatesWantTwoHoursOnBattery) {
    HealthEntry inWh;
    inWh.fullWh = 40;
    inWh.designWh = 50;
    const HealthEntry inRatio;
    struct Case {
        const char* name;
        std::int64_t batterySeconds;
        std::optional<double> watts; // of the day, with 20 percentage points used
        HealthEntry battery;
        std::optional<double> fullHours;
        std::optional<double> designHours;
    };
    // 20 points in 2 hours are 10 % an hour: 10 hours for a full charge; 4 W: 10 and 12.5 h.
    const std::vector<Case> cases = {
        {"a second short of two hours", 2 * kHour - 1, 4, inWh, {}, {}},
        {"two hours in W", 2 * kHour, 4, inWh, 10, 12.5},
        {"two hours, capacities as a ratio", 2 * kHour, {}, inRatio, 10, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DayUsage day;
        day.batterySeconds = c.batterySeconds;
        day.usedPercent = 20;
        day.drainWatts = c.watts;
        const LifeEstimate estimate = EstimateLife({day, DayUsage{}}, {c.battery});
        EXPECT_EQ(estimate.fullChargeHours.has_value(), c.fullHours.has_value());
        EXPECT_EQ(estimate.designChargeHours.has_value(), c.designHours.has_value());
        if (c.fullHours && estimate.fullChargeHours) {
            EXPECT_NEAR(*estimate.fullChargeHours, *c.fullHours, 1e-9);
        }
        if (c.designHours && estimate.designChargeHours) {
            EXPECT_NEAR(*estimate.designChargeHours, *c.designHours, 1e-9);
        }
    }
}

} // namespace
} // namespace amperlog
