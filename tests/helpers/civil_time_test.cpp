#include "helpers/civil_time.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

CivilTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return *CivilTime::FromParts(y, mo, d, h, mi, s);
}

TEST(CivilTime, RoundTripsPartsAcrossEras) {
    for (const auto& t : {At(1970, 1, 1), At(2024, 2, 29, 23, 59, 59), At(1969, 12, 31, 0, 0, 1),
                          At(2000, 3, 1, 12, 30, 0), At(9999, 12, 31, 23, 59, 59)}) {
        const auto back =
            CivilTime::FromParts(t.Year(), t.Month(), t.Day(), t.Hour(), t.Minute(), t.Second());
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, t);
    }
}

TEST(CivilTime, RejectsImpossibleDates) {
    EXPECT_FALSE(CivilTime::FromParts(2026, 2, 29));
    EXPECT_TRUE(CivilTime::FromParts(2028, 2, 29));
    EXPECT_FALSE(CivilTime::FromParts(2100, 2, 29));
    EXPECT_TRUE(CivilTime::FromParts(2000, 2, 29));
    EXPECT_FALSE(CivilTime::FromParts(2026, 13, 1));
    EXPECT_FALSE(CivilTime::FromParts(2026, 4, 31));
    EXPECT_FALSE(CivilTime::FromParts(2026, 1, 1, 24));
}

TEST(CivilTime, MinutesBetweenCountsMinuteBoundaries) {
    struct Case {
        CivilTime a, b;
        long long minutes;
    } cases[] = {
        {At(2026, 12, 6, 10, 0, 59), At(2026, 12, 6, 10, 1, 0), 1},
        {At(2026, 12, 6, 9, 5, 59), At(2026, 12, 6, 9, 6, 1), 1},
        {At(2026, 12, 6, 10, 0, 0), At(2026, 12, 6, 10, 0, 59), 0},
        {At(2026, 12, 6, 10, 1, 0), At(2026, 12, 6, 10, 0, 59), -1},
        {At(2026, 12, 6, 23, 59, 0), At(2026, 12, 7, 0, 1, 0), 2},
        {At(1969, 12, 31, 23, 59, 30), At(1970, 1, 1, 0, 0, 0), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MinutesBetween(c.a, c.b), c.minutes) << FormatSettingsTime(c.a);
    }
}

TEST(CivilTime, Formats) {
    EXPECT_EQ(FormatHourMinute(At(2026, 1, 7, 9, 5)), "09:05");
    EXPECT_EQ(FormatSettingsTime(At(2026, 12, 6, 9, 5, 7)), "2026/12/06 9:05:07");
}

TEST(CivilTime, ParsesMonthDayTime) {
    EXPECT_EQ(ParseMonthDayTime("12/6 9:05", 2026), At(2026, 12, 6, 9, 5, 0));
    EXPECT_EQ(ParseMonthDayTime(" 2/29 ", 2028), At(2028, 2, 29, 0));
    for (const char* bad : {"2/29", "12/06 10:00:00x", "12/06 10:61:00", "12-06 10:00:00"}) {
        EXPECT_FALSE(ParseMonthDayTime(bad, 2026)) << bad;
    }
}

TEST(CivilTime, ParsesSettingsTimeInCommonRegionalForms) {
    const CivilTime expected = At(2026, 12, 6, 9, 5, 7);
    for (const char* text : {"2026/12/06 9:05:07", "2026-12-06 09:05:07", "2026-12-06T09:05:07",
                             "2026.12.6 9:05:07", "06.12.2026 09:05:07", "12/06/2026 9:05:07 AM",
                             "26/12/06 9:05:07", "2026/12/06 午前 9:05:07"}) {
        EXPECT_EQ(ParseSettingsTime(text), expected) << text;
    }
    EXPECT_EQ(ParseSettingsTime("12/06/2026 9:05:07 PM"), At(2026, 12, 6, 21, 5, 7));
    EXPECT_EQ(ParseSettingsTime("2026/12/06"), At(2026, 12, 6));
    for (const char* bad : {"", "yesterday", "2026/02/30 1:00:00", "2026/13/45",
                            "2026/12/06 1:", "nan", "2026/12/06 9:05:07 extra"}) {
        EXPECT_FALSE(ParseSettingsTime(bad)) << bad;
    }
}

TEST(CivilTime, SettingsFormRoundTrips) {
    for (const auto& t : {At(2026, 12, 6, 9, 5, 7), At(2028, 2, 29, 0, 0, 0), At(1999, 1, 1, 23)}) {
        EXPECT_EQ(ParseSettingsTime(FormatSettingsTime(t)), t);
    }
}

} // namespace
} // namespace amperlog
