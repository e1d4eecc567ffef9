#include "datalog/daily_log.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace amperlog {
namespace {

CivilTime At(int y, int mo, int d, int h, int mi, int s) {
    return *CivilTime::FromParts(y, mo, d, h, mi, s);
}

class DailyLogTest : public ::testing::Test {
protected:
    DailyLogTest() : settings(folder / "amperlog.ini", nullptr) {
        state.DataFolder = folder.Path();
        state.PowerText = "Batt";
        state.PercentText = "85%";
        state.RemainText = "3600";
    }
    test::TempFolder folder;
    SettingsStore settings;
    MonitorState state;
};

TEST_F(DailyLogTest, LineFormats) {
    struct Case {
        CivilTime now;
        const char* power;
        const char* percent;
        const char* remain;
        const char* marker;
        const char* line;
    } cases[] = {
        {At(2026, 12, 6, 8, 0, 3), "Power", "100%", "Charge", "Monitor",
         "12/06 08:00:03,Power,100%,Charge,Monitor"},
        {At(2026, 12, 6, 9, 5, 7), "Batt", "85%", "3600", "", "12/06 09:05:07,Batt,85%,3600,"},
        {At(2027, 1, 7, 0, 0, 1), "Batt", "57%", "3600", "day changed",
         "1/07 00:00:01,Batt,57%,3600,day changed"},
        {At(2026, 3, 1, 23, 59, 59), "   ", "   ", "", "+", "3/01 23:59:59,   ,   ,,+"},
    };
    for (const auto& c : cases) {
        state.PowerText = c.power;
        state.PercentText = c.percent;
        state.RemainText = c.remain;
        EXPECT_EQ(FormatLogLine(c.now, state, c.marker), c.line);
    }
}

TEST_F(DailyLogTest, WriteCreatesTheDaysFileAndRecordsTheTime) {
    const CivilTime now = At(2026, 12, 6, 9, 5, 7);
    ASSERT_TRUE(WriteLogLine(state, settings, now, ""));
    ASSERT_TRUE(WriteLogLine(state, settings, now.AddSeconds(30), "+"));
    EXPECT_EQ(test::ReadFileBytes(folder / "20261206.txt"),
              "12/06 09:05:07,Batt,85%,3600,\r\n12/06 09:05:37,Batt,85%,3600,+\r\n");
    EXPECT_EQ(state.LastLogTime, now.AddSeconds(30));
    EXPECT_EQ(settings.ReadWorkSetting("LogTime"), "2026/12/06 9:05:37");
}

TEST_F(DailyLogTest, FailedOpenLosesTheLineAndKeepsTheTime) {
    state.DataFolder = folder / "missing";
    settings.WriteWorkSetting("Logtime", "2026/12/06 9:00:00");
    EXPECT_FALSE(WriteLogLine(state, settings, At(2026, 12, 6, 9, 5, 7), ""));
    EXPECT_FALSE(state.LastLogTime);
    EXPECT_EQ(settings.ReadWorkSetting("LogTime"), "2026/12/06 9:00:00");
}

TEST_F(DailyLogTest, TornLastLineIsNeverGluedToTheNext) {
    test::WriteFileBytes(folder / "20261206.txt", "12/06 09:00:00,Batt,8");
    ASSERT_TRUE(WriteLogLine(state, settings, At(2026, 12, 6, 9, 5, 7), ""));
    EXPECT_EQ(test::ReadFileBytes(folder / "20261206.txt"),
              "12/06 09:00:00,Batt,8\r\n12/06 09:05:07,Batt,85%,3600,\r\n");
}

TEST_F(DailyLogTest, ReadLastLogTimeTakesTheLastReadableStamp) {
    const auto path = folder / "20261206.txt";
    using namespace std::string_view_literals;
    struct Case {
        std::string_view content;
        std::optional<CivilTime> expected;
    } cases[] = {
        {""sv, std::nullopt},
        {"\r\n\r\n"sv, std::nullopt},
        {"12/06 09:00:00,Batt,85%,,\r\n12/06 10:00:00,Batt,84%,,\r\n"sv, At(2026, 12, 6, 10, 0, 0)},
        {"12/06 09:00:00,Batt,85%,,\r\ngarbage\r\n\r\n"sv, At(2026, 12, 6, 9, 0, 0)},
        {"12/06 09:00:00,Batt\r12/06 09:30:00,Batt\n12/06 09:45:00"sv, At(2026, 12, 6, 9, 45, 0)},
        {"12/06 09:00:00,Batt\r\n\0\0\0\0\r\n2/30 10:00:00,x\r\n"sv, At(2026, 12, 6, 9, 0, 0)},
        {"12/06 09:00:00\r\n12/0"sv, At(2026, 12, 6, 9, 0, 0)},
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(path, c.content);
        EXPECT_EQ(ReadLastLogTime(path, 2026), c.expected) << c.content;
    }
    EXPECT_FALSE(ReadLastLogTime(folder / "missing.txt", 2026));
}

TEST_F(DailyLogTest, ReadLastLogTimeTakesTheYearFromTheFileName) {
    const auto path = folder / "20240229.txt";
    test::WriteFileBytes(path, "2/29 23:00:00,Batt,85%,,\r\n");
    EXPECT_EQ(ReadLastLogTime(path, 2026), At(2024, 2, 29, 23, 0, 0));
}

TEST_F(DailyLogTest, ReadLastLogTimeSurvivesAHugeLine) {
    const auto path = folder / "20261206.txt";
    std::string content = "12/06 09:00:00,Batt,85%,,\r\n";
    content += std::string(10 * 1024 * 1024, 'x');
    content += "\r\n12/06 10:00:00,Batt,84%,,\r\n";
    test::WriteFileBytes(path, content);
    EXPECT_EQ(ReadLastLogTime(path, 2026), At(2026, 12, 6, 10, 0, 0));
}

TEST_F(DailyLogTest, ReadLastLogTimeSkipsALineTooLongToBeOurs) {
    const auto path = folder / "20261206.txt";
    const std::string head = "12/06 09:00:00,Batt,85%,,\r\n";
    for (const auto& [tail, expected] :
         {std::pair{std::size_t{4096 - 15}, At(2026, 12, 6, 10, 0, 0)},
          std::pair{std::size_t{4096 - 14}, At(2026, 12, 6, 9, 0, 0)}}) {
        test::WriteFileBytes(path, head + "12/06 10:00:00," + std::string(tail, 'x') + "\r\n");
        EXPECT_EQ(ReadLastLogTime(path, 2026), expected) << tail;
    }
}

} // namespace
} // namespace amperlog
