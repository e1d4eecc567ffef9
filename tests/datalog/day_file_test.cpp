#include "datalog/day_file.h"
#include "datalog/log_format.h"
#include "temp_folder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace amperlog::test {
namespace {

// 6 December 2026 at the given time.
CivilTime At(int hour, int minute, int second = 0) {
    return *CivilTime::FromParts(2026, 12, 6, hour, minute, second);
}

std::string LogLine(CivilTime t, std::string_view power, std::string_view percent,
                    std::string_view remain = "", std::string_view marker = "") {
    std::string line = FormatLogStamp(t);
    for (const std::string_view field : {power, percent, remain, marker}) {
        line += ',';
        line += field;
    }
    return line;
}

// A data folder with one daily log, loaded as the graphs load it in 2026.
class DayFileTest : public ::testing::Test {
protected:
    std::int32_t Load() {
        last = LoadDayFile(folder / fileName, 2026, samples);
        return last.count;
    }
    const std::vector<DaySample>& Samples() { return samples.value(); }
    // Writes the lines, each ended by CR LF.
    void WriteLog(std::initializer_list<std::string> lines) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + "\r\n";
        }
        WriteLogBytes(bytes);
    }
    void WriteLogBytes(std::string_view bytes) { WriteFileBytes(folder / fileName, bytes); }

    TempFolder folder;
    std::string fileName = "20261206.txt";
    std::optional<std::vector<DaySample>> samples;
    DayFileLoad last;
};

TEST_F(DayFileTest, FourFieldLineFillsTheRecordAndIsNoSixthFieldLine) {
    WriteLog({"12/06 14:05:00,Power,85%,Charge"});
    ASSERT_EQ(Load(), 1);
    const DaySample& s = Samples().at(0);
    EXPECT_EQ(s.Time, At(14, 5));
    EXPECT_EQ(s.Power, "Power");
    EXPECT_FLOAT_EQ(s.Percent, 85);
    EXPECT_EQ(s.Remain, "Charge");
    EXPECT_EQ(s.Marker, "");
    EXPECT_EQ(last.sixthFieldCount, 0);
}

TEST_F(DayFileTest, DataCountCountsSixthFieldsAndSkipsEmptyLines) {
    WriteLog({LogLine(At(9, 0), "Batt", "85%", "3600", "+"), "",
              LogLine(At(9, 5), "Batt", "   ", "3500", "") + ",note", "   ",
              LogLine(At(9, 9), "Batt", "84%", "3400", "") + ",,"});
    ASSERT_EQ(Load(), 3) << "a line of blanks is no sample: its stamp is no date";
    EXPECT_EQ(last.sixthFieldCount, 1);
    EXPECT_FLOAT_EQ(Samples()[1].Percent, 0) << "three blanks read as 0";
    EXPECT_EQ(Samples()[0].Marker, "+");
}

TEST_F(DayFileTest, FileOfEmptyLinesKeepsThePreviousSamples) {
    WriteLog({LogLine(At(9, 0), "Batt", "85%"), LogLine(At(9, 8), "Batt", "84%")});
    ASSERT_EQ(Load(), 2);
    WriteLogBytes("\r\n\r\n\n\r");
    EXPECT_EQ(Load(), 0);
    EXPECT_TRUE(last.opened);
    ASSERT_EQ(Samples().size(), 2u);
    EXPECT_EQ(Samples()[1].Time, At(9, 8));
}

TEST_F(DayFileTest, MissingFileDoesNotOpenAndLoadsNothing) {
    fileName = "20261130.txt";
    EXPECT_EQ(Load(), 0);
    EXPECT_FALSE(last.opened);
    EXPECT_FALSE(samples.has_value());
}

TEST_F(DayFileTest, YearComesFromTheFileNameWhenItIsADate) {
    struct Case {
        const char* fileName;
        const char* line;
        int year;
    } cases[] = {
        {"20240229.txt", "2/29 10:00:00,Batt,50%,3600,", 2024},
        {"20251231.txt", "12/31 23:59:59,Batt,50%,3600,", 2025},
        {"notes123.txt", "12/06 10:00:00,Batt,50%,3600,", 2026},
        {"20261340.txt", "12/06 10:00:00,Batt,50%,3600,", 2026},
    };
    for (const auto& c : cases) {
        fileName = c.fileName;
        WriteLog({c.line});
        ASSERT_EQ(Load(), 1) << c.fileName;
        EXPECT_EQ(Samples()[0].Time.Year(), c.year) << c.fileName;
    }
}

TEST_F(DayFileTest, LeapDayOfAnotherYearIsNoSampleInTheCurrentYear) {
    fileName = "notes.txt"; // no year in the name: 2026 has no 29 February
    WriteLog({"2/29 10:00:00,Batt,50%,3600,"});
    EXPECT_EQ(Load(), 0);
}

TEST_F(DayFileTest, WholeDayOfOneLineASecondLoads) {
    std::string bytes;
    const CivilTime midnight = At(0, 0);
    for (int s = 0; s < 86'400; ++s) {
        bytes += LogLine(midnight.AddSeconds(s), "Batt", std::to_string(100 - s / 1000) + "%",
                         "3600", "") +
                 "\r\n";
    }
    WriteLogBytes(bytes);
    ASSERT_EQ(Load(), 86'400);
    EXPECT_EQ(last.sixthFieldCount, 0);
    EXPECT_EQ(Samples().back().Time, At(23, 59, 59));
}

TEST_F(DayFileTest, HostileLinesAreSkippedOrCut) {
    const std::string good = LogLine(At(9, 0), "Batt", "85%", "3600", "");
    std::string bytes;
    bytes += std::string("\0\0\0\0\0\0", 6) + "\r\n";                // a torn write's NULs
    bytes += "garbage,Batt,85%\r\n";                                 // no date
    bytes += "13/45 99:99:99,Batt,85%\r\n";                          // no valid date
    bytes += good + std::string(10 * 1024 * 1024, 'z') + "\r\n";     // a 10 MB line
    bytes += "12/06 09:01:00,Batt,1e99%,3600,\r\n";                  // beyond a single
    bytes += "12/06 09:02:00," + std::string(500, 'P') + ",84%\r\n"; // a long field
    bytes += "12/06 09:0";                                           // torn last line
    WriteLogBytes(bytes);
    ASSERT_EQ(Load(), 4);
    EXPECT_EQ(Samples()[0].Time, At(9, 0));
    EXPECT_EQ(Samples()[0].Marker.size(), kMaxSampleFieldBytes);
    EXPECT_FLOAT_EQ(Samples()[1].Percent, 0);
    EXPECT_EQ(Samples()[2].Power.size(), kMaxSampleFieldBytes);
    EXPECT_EQ(Samples()[3].Time, At(9, 0)) << "the torn stamp reads as 9:00";
}

TEST_F(DayFileTest, HugeFileLoadsAtMostTheSampleLimit) {
    // Some 100 MB: a few stamps, a long run of bytes with no line end, then many short lines.
    const std::string line = LogLine(At(9, 0), "Batt", "85%", "3600", "") + "\r\n";
    {
        std::ofstream out(folder / fileName, std::ios::binary);
        out << line;
        const std::string block(1024 * 1024, 'q');
        for (int i = 0; i < 90; ++i) {
            out << block;
        }
        out << "\r\n";
        for (std::size_t i = 0; i <= kMaxDaySamples; ++i) {
            out << line;
        }
    }
    EXPECT_EQ(Load(), static_cast<std::int32_t>(kMaxDaySamples));
}

} // namespace
} // namespace amperlog::test
