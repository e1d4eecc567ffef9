#include "platform/fake/fake_clock.h"
#include "platform/fake/fixed_battery_health.h"
#include "sleep/sleep_diary.h"
#include "sleep/sleep_watch.h"
#include "temp_folder.h"

#include <clocale>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

constexpr PowerStatus kOnBattery{kAcOffline, kBatteryHigh, 80, 7200, -1};
constexpr PowerStatus kOnMains{kAcOnline, kBatteryCharging, 78, -1, -1};

CivilTime At(int hour, int minute = 0, int second = 0) {
    return *CivilTime::FromParts(2026, 12, 8, hour, minute, second);
}

// The diary's lines after the header, each cut to its "seconds" field.
std::vector<std::string> SleptSeconds(const fs::path& path) {
    std::istringstream in(test::ReadFileBytes(path));
    std::vector<std::string> seconds;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const std::size_t second = line.find(',', line.find(',') + 1);
        seconds.push_back(line.substr(second + 1, line.find(',', second + 1) - second - 1));
    }
    return seconds;
}

class SleepTest : public ::testing::Test {
protected:
    fs::path Diary() const { return m_folder.Path() / "Data" / "sleep.csv"; }

    test::TempFolder m_folder;
    FakeSleepClocks m_clocks;
    FixedBatteryHealth m_energy;
    SleepWatch m_watch{m_clocks, &m_energy};
};

// Each step runs the machine, lets it sleep and moves the wall clock by the given seconds,
// then ticks.
TEST_F(SleepTest, ASleepIsTheClocksDriftingApartBySixtySecondsOrMore) {
    struct Step {
        std::int64_t awake;
        std::int64_t asleep;
        std::int64_t wallShift;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> slept;
    };
    const std::vector<Case> cases = {
        {"59 s is no sleep", {{1, 59, 0}, {1, 0, 0}}, {}},
        {"60 s is a sleep", {{1, 60, 0}, {1, 0, 0}}, {"60"}},
        {"two sleeps in a row", {{1, 3600, 0}, {0, 120, 0}, {1, 0, 0}}, {"3600", "120"}},
        {"the wall clock set forward", {{1, 0, 3600}, {1, 0, 0}}, {}},
        {"the wall clock set back", {{1, 0, -3600}, {1, 0, 0}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path diary = m_folder.Path() / c.name / "sleep.csv";
        FakeSleepClocks clocks;
        SleepWatch watch(clocks, nullptr);
        CivilTime now = At(9);
        watch.Tick(now, kOnBattery, diary);
        for (const Step& step : c.steps) {
            clocks.Run(step.awake);
            clocks.Sleep(step.asleep);
            now = now.AddSeconds(step.awake + step.asleep + step.wallShift);
            watch.Tick(now, kOnBattery, diary);
        }
        EXPECT_EQ(SleptSeconds(diary), c.slept);
    }
}

// The Wh with a point and two decimals under a locale whose decimal mark is a comma; what the
// system does not tell stays empty.
TEST_F(SleepTest, LineHoldsTheBatteryOnEitherSideWhateverTheLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    // The name on Linux, then Windows' names for it.
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr ||
                        std::setlocale(LC_ALL, "de-DE") != nullptr ||
                        std::setlocale(LC_ALL, "German") != nullptr;
    if (!german) {
        GTEST_SKIP() << "de_DE.UTF-8 is missing: scripts/install-deps.sh --test";
    }
    struct Case {
        std::optional<double> whBefore;
        std::optional<double> whAfter;
        PowerStatus after;
        std::string line;
    };
    const std::vector<Case> cases = {
        {40.5, 39.254, kOnMains,
         "2026-12-08T01:50:00,2026-12-08T02:00:00,600,80,78,40.50,39.25,0,1"},
        {std::nullopt,
         std::nullopt,
         {kAcUnknown, kBatteryUnknown, kPercentUnknown, -1, -1},
         "2026-12-08T01:50:00,2026-12-08T02:00:00,600,80,,,,0,"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path diary = m_folder.Path() / std::to_string(i) / "sleep.csv";
        FakeSleepClocks clocks;
        FixedBatteryHealth energy;
        SleepWatch watch(clocks, &energy);
        energy.SetEnergy(cases[i].whBefore);
        watch.Tick(At(1, 50), kOnBattery, diary);
        clocks.Sleep(600);
        energy.SetEnergy(cases[i].whAfter);
        watch.Tick(At(2), cases[i].after, diary);
        EXPECT_EQ(test::ReadFileBytes(diary),
                  std::string(kSleepDiaryHeader) + cases[i].line + "\n");
    }
    std::setlocale(LC_ALL, before.c_str());
}

// A sleep whose line the folder did not take is let go, not tried again at every tick.
TEST_F(SleepTest, UnwritableFolderIsAbsorbed) {
    test::WriteFileBytes(m_folder.Path() / "Data", "a file where the folder goes");
    m_watch.Tick(At(9), kOnBattery, Diary());
    m_clocks.Sleep(600);
    m_watch.Tick(At(9, 10), kOnBattery, Diary());
    EXPECT_FALSE(fs::exists(Diary()));

    fs::remove(m_folder.Path() / "Data");
    for (int second = 1; second <= 3; ++second) {
        m_clocks.Run(1);
        m_watch.Tick(At(9, 10, second), kOnBattery, Diary());
    }
    EXPECT_FALSE(fs::exists(Diary()));
}

// What the diary holds reads back, empty figures as unknown; a line a hand edit spoiled is
// skipped and the lines after it still read.
TEST_F(SleepTest, DiaryReadsBackWhatWasWrittenAndSkipsABadLine) {
    SleepRecord full{At(1, 50), At(2), 600, 80, 78, 40.5, 39.25, false, true};
    SleepRecord bare{At(3), At(4, 0, 5), 3605, 60, {}, {}, {}, {}, {}};
    ASSERT_TRUE(WriteSleepLine(Diary(), full));
    for (const char* spoiled :
         {"2026-12-08T02:10:00,2026-12-08T02:20:00,600,80,7x,,,0,0\n", "not a sleep\n",
          "2026-12-08T02:10:00,2026-12-08T02:20:00,600,80,78,,,0\n"}) {
        std::string bytes = test::ReadFileBytes(Diary()) + spoiled;
        test::WriteFileBytes(Diary(), bytes);
    }
    ASSERT_TRUE(WriteSleepLine(Diary(), bare));

    const std::vector<SleepRecord> read = ReadSleepDiary(Diary());
    ASSERT_EQ(read.size(), 2U);
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FormatSleepLine(read[i]), FormatSleepLine(i == 0 ? full : bare));
    }
    EXPECT_EQ(read[1].percentAfter, std::nullopt);
    EXPECT_EQ(read[0].onMainsAfter, true);
}

} // namespace
} // namespace amperlog
