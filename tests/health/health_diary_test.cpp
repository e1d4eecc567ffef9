#include "health/health_diary.h"
#include "health/health_trend.h"
#include "platform/fake/fixed_battery_health.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

BatteryHealthReading Battery(const std::string& serial, double design, double full) {
    return {"SMP", "01AV421", serial, design, full, false, 317, "BAT0"};
}

CivilTime At(int day, int hour, int minute = 0) {
    return *CivilTime::FromParts(2026, 12, day, hour, minute);
}

class HealthDiaryTest : public ::testing::Test {
protected:
    fs::path Path() const { return m_folder.Path() / "Data" / "health.csv"; }
    std::vector<HealthEntry> Entries() const { return ReadHealthDiary(Path()); }

    test::TempFolder m_folder;
    FixedBatteryHealth m_source{{Battery("1422", 24.05, 20.17)}};
};

TEST_F(HealthDiaryTest, LineReadsBackWithHealthFromFullOverDesign) {
    HealthKeeper(m_source, Path()).Tick(At(7, 9));
    const std::string text = test::ReadFileBytes(Path());
    EXPECT_EQ(text, "date,battery,design_wh,full_wh,health_percent,cycles\n"
                    "2026-12-07,SMP 01AV421 1422,24.05,20.17,83.9,317\n");
    const std::vector<HealthEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].day, At(7, 0).DayNumber());
    EXPECT_EQ(entries[0].identity, "SMP 01AV421 1422");
    EXPECT_DOUBLE_EQ(*entries[0].fullWh, 20.17);
    EXPECT_DOUBLE_EQ(entries[0].healthPercent, 83.9);
}

// A charge gauge without a design voltage: its ratio is the health, it has no Wh to write.
TEST_F(HealthDiaryTest, RatioOnlyBatteryWritesHealthWithoutWattHours) {
    m_source.Set({{"LGC", "5B10W13975", "860", 4.19, 3.849, true, 0, "BAT1"}});
    HealthKeeper(m_source, Path()).Tick(At(7, 9));
    EXPECT_NE(test::ReadFileBytes(Path()).find("\n2026-12-07,LGC 5B10W13975 860,,,91.9,0\n"),
              std::string::npos);
    const std::vector<HealthEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_FALSE(entries[0].designWh);
    EXPECT_DOUBLE_EQ(entries[0].healthPercent, 91.9);
}

TEST_F(HealthDiaryTest, OneLineADayAcrossMidnightAndRestarts) {
    {
        HealthKeeper keeper(m_source, Path());
        keeper.Tick(At(7, 23, 58));
        keeper.Tick(At(7, 23, 59));
        EXPECT_EQ(m_source.Reads(), 1); // not every tick
    }
    HealthKeeper restarted(m_source, Path());
    restarted.Tick(At(7, 23, 59));
    EXPECT_EQ(Entries().size(), 1U);
    restarted.Tick(At(8, 0, 0));
    restarted.Tick(At(8, 12, 0));
    const std::vector<HealthEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[1].day, At(8, 0).DayNumber());
}

TEST_F(HealthDiaryTest, AnotherBatteryTheSameDayStartsItsOwnSeries) {
    HealthKeeper(m_source, Path()).Tick(At(7, 9));
    m_source.Set({Battery("2001", 57.0, 56.1)});
    HealthKeeper(m_source, Path()).Tick(At(7, 15));
    const std::vector<HealthEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 2U);
    EXPECT_EQ(entries[1].identity, "SMP 01AV421 2001");
}

TEST_F(HealthDiaryTest, NoGoodReadingWritesNothingAndTriesAgainInAnHour) {
    m_source.Set({Battery("1422", 0, 20), Battery("1423", 20, 31)});
    HealthKeeper keeper(m_source, Path());
    keeper.Tick(At(7, 9));
    keeper.Tick(At(7, 9, 30));
    EXPECT_EQ(m_source.Reads(), 1);
    m_source.Set({Battery("1422", 24.05, 20.17)});
    keeper.Tick(At(7, 10, 0));
    EXPECT_EQ(m_source.Reads(), 2);
    EXPECT_EQ(Entries().size(), 1U);
}

TEST_F(HealthDiaryTest, UnwritableFolderIsAbsorbed) {
    test::WriteFileBytes(m_folder.Path() / "Data", "a file where the folder goes");
    EXPECT_EQ(WriteHealthLines(Path(), At(7, 0).DayNumber(), m_source.Read()).count, 0);
    EXPECT_TRUE(Entries().empty());
}

// Names that do not tell two batteries apart: the supply's name does, in the diary and on
// the view.
TEST_F(HealthDiaryTest, BatteriesWithTheSameNamesKeepSeriesOfTheirOwn) {
    const std::vector<std::vector<BatteryHealthReading>> cases = {
        {{"", "", "", 50, 45, false, 0, "BAT0"}, {"", "", "", 40, 30, false, 0, "BAT1"}},
        {{"SMP", "01AV421", "", 50, 45, false, 12, "BAT0"},
         {"SMP", "01AV421", "", 40, 30, false, 40, "BAT1"}},
        {{"SMP", "01AV421", "1422", 50, 45, false, 12, "BAT0"},
         {"SMP", "01AV421", "1422", 40, 30, false, 40, "BAT1"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path path = m_folder.Path() / std::to_string(i) / "health.csv";
        FixedBatteryHealth source(cases[i]);
        HealthKeeper(source, path).Tick(At(7, 9));
        HealthKeeper(source, path).Tick(At(8, 9));
        const std::vector<HealthEntry> entries = ReadHealthDiary(path);
        ASSERT_EQ(entries.size(), 4U);
        const std::vector<HealthSeries> series = SplitByBattery(entries, At(8, 0).DayNumber());
        ASSERT_EQ(series.size(), 2U);
        EXPECT_NE(series[0].identity, series[1].identity);
        EXPECT_EQ(series[0].entries.size(), 2U);
    }
}

// A diary is a text file: a value typed into it that is no reading skips its line.
TEST_F(HealthDiaryTest, HandEditedValuesSkipTheirLine) {
    fs::create_directories(Path().parent_path());
    test::WriteFileBytes(Path(), "date,battery,design_wh,full_wh,health_percent,cycles\n"
                                 "2026-12-01,A,50.00,40.00,80.0,10\n"
                                 "2026-12-02,A,50.00,40.00,nan,10\n"
                                 "2026-12-03,A,50.00,40.00,-nan,10\n"
                                 "2026-12-04,A,50.00,40.00,inf,10\n"
                                 "2026-12-05,A,50.00,40.00,1e99,10\n"
                                 "2026-12-06,A,50.00,40.00,80.0,3000000000\n"
                                 "2026-12-07,A,inf,40.00,80.0,10\n"
                                 "2026-12-08,A,50.00,1e99,80.0,10\n"
                                 "2026-12-09,A,50.00,40.00,80.0,1.5\n");
    const std::vector<HealthEntry> entries = Entries();
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].day, At(1, 0).DayNumber());
}

// One battery that does not read at the moment, or a diary that does not take the line,
// is tried again within the hour; the battery that did read keeps its line.
TEST_F(HealthDiaryTest, EachBatteryIsDoneOnItsOwn) {
    struct Case {
        const char* name;
        std::vector<BatteryHealthReading> first;
        bool blocked;
    };
    const BatteryHealthReading unread{"LGC", "5B10W13975", "860", 0, 0, false, 0, "BAT1"};
    const std::vector<Case> cases = {
        {"one battery unread", {Battery("1422", 24.05, 20.17), unread}, false},
        {"diary not writable", {Battery("1422", 24.05, 20.17)}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const fs::path path = folder.Path() / "Data" / "health.csv";
        if (c.blocked) {
            test::WriteFileBytes(folder.Path() / "Data", "a file where the folder goes");
        }
        FixedBatteryHealth source(c.first);
        HealthKeeper keeper(source, path);
        keeper.Tick(At(7, 9));
        EXPECT_EQ(ReadHealthDiary(path).size(), c.blocked ? 0U : 1U);
        if (c.blocked) {
            fs::remove(folder.Path() / "Data");
        }
        source.Set(
            {Battery("1422", 24.05, 20.17), {"LGC", "5B10W13975", "860", 4, 3, true, 0, "BAT1"}});
        keeper.Tick(At(7, 10, 0));
        EXPECT_EQ(ReadHealthDiary(path).size(), 2U);
    }
}

} // namespace
} // namespace amperlog
