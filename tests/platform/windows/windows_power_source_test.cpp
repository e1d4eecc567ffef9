#include "platform/windows/windows_power_source.h"
#include "power/power_sampler.h"
#include "settings/settings_store.h"
#include "state/monitor_state.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace amperlog {
namespace {

constexpr std::uint32_t kUnknown = 0xFFFFFFFFu;

TEST(WindowsPowerSourceTest, FieldsInTheProgramsTerms) {
    struct Case {
        const char* label;
        SystemPowerFields raw;
        PowerStatus expected;
    } cases[] = {
        {"desktop", {1, 128, 255, kUnknown, kUnknown}, {1, 128, 255, -1, -1}},
        {"on battery", {0, 1, 80, 5400, 18000}, {0, 1, 80, 5400, 18000}},
        {"charging", {1, 9, 50, kUnknown, kUnknown}, {1, 9, 50, -1, -1}},
        {"everything unknown", {255, 255, 255, kUnknown, kUnknown}, {255, 255, 255, -1, -1}},
        {"offline, flag unknown", {0, 255, 40, 600, kUnknown}, {0, 255, 40, 600, -1}},
        {"largest lifetime", {0, 2, 10, 0x7FFFFFFFu, 0}, {0, 2, 10, 0x7FFFFFFF, 0}},
        {"lifetime past 32 bits signed", {0, 2, 10, 0x80000000u, 0xFFFFFFFEu}, {0, 2, 10, -1, -1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PowerStatusFromSystem(c.raw), c.expected) << c.label;
    }
}

// The sampler on the real query of a machine without a battery, which the test machines are:
// Windows documents a desktop as online, flag 128, percent and times unknown, and Wine 8
// reports the same on a host without a power supply.
TEST(WindowsPowerSourceTest, SamplerOnADesktop) {
    SYSTEM_POWER_STATUS raw{};
    ASSERT_TRUE(::GetSystemPowerStatus(&raw));
    if (raw.BatteryFlag == 255 || (raw.BatteryFlag & 128) == 0) {
        GTEST_SKIP() << "this machine has a battery (flag " << int{raw.BatteryFlag} << ")";
    }
    test::TempFolder folder;
    SettingsStore settings(folder / "Amperlog.ini", nullptr);
    WindowsPowerSource source;
    MonitorState state;

    EXPECT_EQ(SamplePowerStatus(source, settings, state), 5);
    EXPECT_EQ(state.PowerText, "Power");
    EXPECT_EQ(state.BatteryStatusText, "No batt");
    EXPECT_EQ(state.PercentText, "   ");
    EXPECT_EQ(state.RemainText, "Charge");
    EXPECT_EQ(state.FullLifeText, "Unknown");
    // The three blanks survive the settings file, so an unchanged status is no change.
    EXPECT_EQ(SamplePowerStatus(source, settings, state), 0);
    EXPECT_EQ(settings.ReadWorkSetting("BattPercent"), "   ");
}

} // namespace
} // namespace amperlog
