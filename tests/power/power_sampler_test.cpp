#include "platform/fake/scripted_power_source.h"
#include "power/power_sampler.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempFolder;

PowerStatus Status(std::uint8_t ac, std::uint8_t flag, std::uint8_t percent, std::int32_t life,
                   std::int32_t full) {
    return PowerStatus{ac, flag, percent, life, full};
}

class SamplerTest : public ::testing::Test {
protected:
    fs::path IniPath() const { return m_folder / "amperlog.ini"; }
    SettingsStore& Settings() { return m_settings; }

    std::int16_t Sample(PowerStatus status) {
        m_source.Set(status);
        return SamplePowerStatus(m_source, m_settings, m_state);
    }

    TempFolder m_folder;
    SettingsStore m_settings{IniPath(), nullptr};
    ScriptedPowerSource m_source;
    MonitorState m_state;
};

TEST_F(SamplerTest, TextsOfEachField) {
    struct Case {
        PowerStatus status;
        const char* previousPower;
        const char* power;
        const char* battery;
        const char* fullLife;
        const char* remain;
        const char* percent;
    } cases[] = {
        // On mains, charging, lifetime unknown.
        {Status(1, 9, 80, -1, -1), "", "Power", "Charge", "Unknown", "Charge", "80%"},
        {Status(1, 8, 50, -1, -1), "", "Power", "Charge", "Unknown", "Charge", "50%"},
        // On battery before the platform has an estimate.
        {Status(0, 1, 70, -1, -1), "", "Batt", "66%+", "Unknown", "", "70%"},
        {Status(0, 2, 20, 3600, 10800), "", "Batt", "33%-", "10800", "3600", "20%"},
        {Status(0, 6, 4, 0, 0), "", "Batt", "5%-", "0", "0", "4%"},
        {Status(0, 0, 50, 1800, 7200), "", "Batt", "", "7200", "1800", "50%"},
        // A desktop.
        {Status(1, 128, 255, -1, -1), "", "Power", "No batt", "Unknown", "Charge", "   "},
        {Status(255, 255, 255, -1, -1), "", "   ", "Unkown", "Unknown", "", "   "},
        {Status(1, 1, 100, -1, -1), "", "Power", "66%+", "Unknown", "Charge", "100%"},
        {Status(0, 6, 0, 60, 9000), "", "Batt", "5%-", "9000", "60", "0%"},
        // An AC state the platform does not define keeps the previous text, and the remaining
        // time follows that text.
        {Status(7, 1, 90, -1, -1), "Power", "Power", "66%+", "Unknown", "Charge", "90%"},
        {Status(7, 1, 90, -1, -1), "Batt", "Batt", "66%+", "Unknown", "", "90%"},
        {Status(7, 1, 90, -1, -1), "Error", "Error", "66%+", "Unknown", "", "90%"},
    };
    for (const Case& c : cases) {
        m_state.PowerText = c.previousPower;
        Sample(c.status);
        const std::string label = "flag " + std::to_string(c.status.batteryFlag) + " ac " +
                                  std::to_string(c.status.acLineStatus);
        EXPECT_EQ(m_state.PowerText, c.power) << label;
        EXPECT_EQ(m_state.BatteryStatusText, c.battery) << label;
        EXPECT_EQ(m_state.FullLifeText, c.fullLife) << label;
        EXPECT_EQ(m_state.RemainText, c.remain) << label;
        EXPECT_EQ(m_state.PercentText, c.percent) << label;
    }
}

TEST_F(SamplerTest, BatteryFlagLaterBitsWin) {
    struct Case {
        std::uint8_t flag;
        const char* text;
    } cases[] = {
        {0, ""},         {1, "66%+"},   {2, "33%-"},     {4, "5%-"},       {6, "5%-"},
        {8, "Charge"},   {9, "Charge"}, {10, "Charge"},  {128, "No batt"}, {129, "66%+"},
        {136, "Charge"}, {16, ""},      {255, "Unkown"},
    };
    for (const Case& c : cases) {
        Sample(Status(0, c.flag, 50, -1, -1));
        EXPECT_EQ(m_state.BatteryStatusText, c.text) << int{c.flag};
    }
}

TEST_F(SamplerTest, FirstSampleWithoutSettingsFileCreatesTheKeys) {
    ASSERT_FALSE(fs::exists(IniPath()));
    EXPECT_EQ(Sample(Status(0, 1, 85, 5400, 18000)), 5);

    SettingsStore reread(IniPath(), nullptr);
    EXPECT_EQ(reread.ReadWorkSetting("BattPercent"), "85%");
    EXPECT_EQ(reread.ReadWorkSetting("RemainTime"), "5400");
    EXPECT_EQ(reread.ReadWorkSetting("ACStatus"), "Batt");
    EXPECT_EQ(reread.ReadWorkSetting("BattStatus"), "66%+");
    EXPECT_EQ(reread.ReadWorkSetting("LifeTime"), "18000");
}

TEST_F(SamplerTest, KeysAreWrittenInTheirOrder) {
    Sample(Status(0, 1, 85, 5400, 18000));
    const std::string file = ReadFileBytes(IniPath());
    const std::vector<std::string> order{
        "LifeTime=", "BattStatus=", "RemainTime=", "ACStatus=", "BattPercent="};
    std::size_t previous = 0;
    for (const std::string& key : order) {
        const std::size_t at = file.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        EXPECT_GE(at, previous) << key;
        previous = at;
    }
}

TEST_F(SamplerTest, SameStatusTwiceIsNoChange) {
    const PowerStatus status = Status(0, 2, 30, 2400, 9000);
    EXPECT_EQ(Sample(status), 5);
    EXPECT_EQ(Sample(status), 0);
    // Also after a restart: the previous sample lives in the file, not in memory.
    MonitorState fresh;
    SettingsStore reopened(IniPath(), nullptr);
    EXPECT_EQ(SamplePowerStatus(m_source, reopened, fresh), 0);
}

TEST_F(SamplerTest, ChangeCodeIsTheLastDifferingKey) {
    struct Case {
        const char* what;
        PowerStatus next;
        std::int16_t code;
    } cases[] = {
        {"nothing", Status(0, 1, 80, 3600, 16200), 0},
        {"charge alone", Status(0, 1, 79, 3600, 16200), 1},
        {"remaining time alone", Status(0, 1, 80, 3540, 16200), 2},
        {"power source alone", Status(255, 1, 80, 3600, 16200), 3},
        {"battery flag alone", Status(0, 9, 80, 3600, 16200), 4},
        {"full lifetime alone", Status(0, 1, 80, 3600, 16140), 5},
        {"charge and lifetime", Status(0, 1, 79, 3600, 16140), 5},
        {"charge and remaining time", Status(0, 1, 79, 3540, 16200), 2},
        {"charge and flag", Status(0, 0, 66, 3600, 16200), 4},
        {"plugged in", Status(1, 9, 80, -1, -1), 5},
    };
    const PowerStatus base = Status(0, 1, 80, 3600, 16200);
    for (const Case& c : cases) {
        Sample(base);
        EXPECT_EQ(Sample(c.next), c.code) << c.what;
    }
}

TEST_F(SamplerTest, FailedQueryLeavesTextsAndFileAlone) {
    Sample(Status(0, 1, 85, 5400, 18000));
    const std::string before = ReadFileBytes(IniPath());
    const auto stamp = fs::last_write_time(IniPath()) - std::chrono::hours(1);
    fs::last_write_time(IniPath(), stamp);

    m_source.SetFailure();
    EXPECT_EQ(SamplePowerStatus(m_source, m_settings, m_state), 0);
    EXPECT_EQ(m_state.PowerText, "Error");
    EXPECT_EQ(m_state.PercentText, "85%");
    EXPECT_EQ(m_state.RemainText, "5400");
    EXPECT_EQ(m_state.BatteryStatusText, "66%+");
    EXPECT_EQ(m_state.FullLifeText, "18000");
    EXPECT_EQ(ReadFileBytes(IniPath()), before);
    EXPECT_EQ(fs::last_write_time(IniPath()), stamp);
}

TEST_F(SamplerTest, FailedQueryCreatesNoSettingsFile) {
    m_source.SetFailure();
    EXPECT_EQ(SamplePowerStatus(m_source, m_settings, m_state), 0);
    EXPECT_EQ(m_state.PowerText, "Error");
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(SamplerTest, SameStatusAfterAFailureIsNoChange) {
    Sample(Status(0, 1, 85, 5400, 18000));
    m_source.SetFailure();
    SamplePowerStatus(m_source, m_settings, m_state);
    // The stored sample still says "Batt", so the same status again is no change.
    EXPECT_EQ(Sample(Status(0, 1, 85, 5400, 18000)), 0);
    EXPECT_EQ(m_state.PowerText, "Batt");
}

TEST_F(SamplerTest, BlankTextsSurviveTheSettingsFile) {
    // A machine without battery: three blanks for the charge and an unknown AC state.
    const PowerStatus desktop = Status(255, 128, 255, -1, -1);
    EXPECT_EQ(Sample(desktop), 5);
    EXPECT_EQ(Settings().ReadWorkSetting("BattPercent"), "   ");
    EXPECT_EQ(Settings().ReadWorkSetting("ACStatus"), "   ");
    EXPECT_EQ(Sample(desktop), 0);
}

TEST_F(SamplerTest, UnchangedSampleDoesNotRewriteTheFile) {
    const PowerStatus status = Status(1, 128, 255, -1, -1);
    Sample(status);
    const auto stamp = fs::last_write_time(IniPath()) - std::chrono::hours(1);
    fs::last_write_time(IniPath(), stamp);
    EXPECT_EQ(Sample(status), 0);
    EXPECT_EQ(fs::last_write_time(IniPath()), stamp);
}

TEST_F(SamplerTest, UnwritableSettingsFileComparesWithTheSampleInMemory) {
    // Every stored text reads as empty, and no write reaches the file.
    fs::create_directory(IniPath());
    const PowerStatus status = Status(0, 1, 85, 5400, 18000);
    EXPECT_EQ(Sample(status), 5);
    EXPECT_EQ(Sample(status), 0);
    EXPECT_EQ(m_state.PercentText, "85%");
    EXPECT_EQ(Sample(Status(0, 1, 84, 5400, 18000)), 1);
    // Writable again: the file takes the sample, and is the reference once more.
    fs::remove(IniPath());
    EXPECT_EQ(Sample(Status(0, 1, 84, 5400, 18000)), 0);
    EXPECT_EQ(Settings().ReadWorkSetting("BattPercent"), "84%");
    Settings().WriteWorkSetting("BattPercent", "83%");
    EXPECT_EQ(Sample(Status(0, 1, 84, 5400, 18000)), 1);
}

TEST(ScriptedPowerSourceTest, AnswersInOrderThenRepeatsTheLast) {
    const PowerStatus first = Status(0, 1, 90, 600, 6000);
    const PowerStatus last = Status(1, 9, 91, -1, -1);
    ScriptedPowerSource source({first, std::nullopt, last});
    EXPECT_EQ(source.Query(), first);
    EXPECT_EQ(source.Query(), std::nullopt);
    EXPECT_EQ(source.Query(), last);
    EXPECT_EQ(source.Query(), last);
    source.Append(first);
    EXPECT_EQ(source.Query(), first);
    EXPECT_EQ(source.Query(), first);
    EXPECT_EQ(source.QueryCount(), 6U);
}

} // namespace
} // namespace amperlog
