#include "datalog/log_format.h"

#include <gtest/gtest.h>

namespace amperlog {
namespace {

CivilTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return *CivilTime::FromParts(y, mo, d, h, mi, s);
}

TEST(LogFormat, StampAndFileName) {
    EXPECT_EQ(FormatLogStamp(At(2026, 1, 7, 0, 0, 1)), "1/07 00:00:01");
    EXPECT_EQ(FormatLogStamp(At(2026, 12, 6, 9, 5, 7)), "12/06 09:05:07");
    EXPECT_EQ(FormatFileDate(At(2026, 1, 7)), "20260107");
    EXPECT_EQ(LogFileName(At(987, 12, 31, 23, 59, 59)), "09871231.txt");
}

TEST(LogFormat, ParsesLogStamps) {
    EXPECT_EQ(ParseLogStamp("12/06 14:05:00", 2026), At(2026, 12, 6, 14, 5, 0));
    EXPECT_EQ(ParseLogStamp("1/07 00:00:01", 2027), At(2027, 1, 7, 0, 0, 1));
    EXPECT_EQ(ParseLogStamp("2/29 10:00:00", 2028), At(2028, 2, 29, 10));
    // Hand-edited spellings that the writer's own parser leaves to the general one.
    EXPECT_EQ(ParseLogStamp("12/6 9:5:7", 2026), At(2026, 12, 6, 9, 5, 7));
    EXPECT_EQ(ParseLogStamp(" 12/06  14:05 ", 2026), At(2026, 12, 6, 14, 5, 0));
    EXPECT_EQ(ParseLogStamp("12/06", 2026), At(2026, 12, 6));
    for (const char* bad :
         {"2/29 10:00:00", "2/30 10:00:00", "13/45 10:00:00", "", "garbage", "12/06 25:00:00",
          "12/06 10:00:00x", "12/06 10:61:00", "99999999999/1 1:00:00"}) {
        EXPECT_FALSE(ParseLogStamp(bad, 2026)) << bad;
    }
}

TEST(LogFormat, YearFromLogFileName) {
    EXPECT_EQ(YearFromLogFileName("20251231.txt"), 2025);
    EXPECT_EQ(YearFromLogFileName("20280229.txt"), 2028);
    EXPECT_FALSE(YearFromLogFileName("20270229.txt"));
    EXPECT_FALSE(YearFromLogFileName("summary.txt"));
    EXPECT_FALSE(YearFromLogFileName("2025123x.txt"));
}

} // namespace
} // namespace amperlog
